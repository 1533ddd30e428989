#include "engine/WordSplitter.h"

#include <stdexcept>

#include "engine/Cancellation.h"
#include "engine/LanguageWords.h"

namespace quillprint {
namespace {

bool IsSeparator(char16_t c) { return c >= 1 && c <= 32; }

// Reads a quoted item whose opening quote is at `pos`; returns the position
// after its closing quote, or of the code 0 or the end that ends the text.
size_t ReadQuotedItem(std::u16string_view text, size_t pos, std::u16string& item)
{
    ++pos;  // the opening quote is dropped
    while (pos < text.size()) {
        const char16_t c = text[pos];
        if (c == u'\0')
            return pos;
        if (c == u'"') {
            if (pos + 1 < text.size() && text[pos + 1] == u'"') {
                item.push_back(u'"');
                pos += 2;
                continue;
            }
            return pos + 1;
        }
        item.push_back(c);
        ++pos;
    }
    return pos;
}

// At most how many words AppendWords makes of `text` at separators: one
// after each separator (or the start), and one after each quote that closes
// a quoted item.
size_t MaxWords(std::u16string_view text)
{
    size_t words = 0;
    bool afterSeparator = true;
    for (const char16_t c : text) {
        const bool separator = IsSeparator(c);
        words += (afterSeparator && !separator) || c == u'"';
        afterSeparator = separator;
    }
    return words;
}

// Hands every word of `text` at separators, in order, to `plain` (a view of
// the text, with where it begins) or, for a quoted item, to `quoted` (the
// item made, with where its opening quote stands).
template <typename TPlain, typename TQuoted>
void ForEachWord(std::u16string_view text, TPlain&& plain, TQuoted&& quoted)
{
    size_t pos = 0;
    while (true) {
        while (pos < text.size() && IsSeparator(text[pos]))
            ++pos;
        // Code 0 ends the text.
        if (pos == text.size() || text[pos] == u'\0')
            return;
        const size_t start = pos;
        if (text[pos] == u'"') {
            std::u16string item;
            pos = ReadQuotedItem(text, pos, item);
            quoted(std::move(item), start);
        } else {
            // Up to a separator or code 0: the code units up to 32.
            while (pos < text.size() && text[pos] > 32)
                ++pos;
            plain(text.substr(start, pos - start), start);
        }
    }
}

}  // namespace

void AppendWords(std::u16string_view text, TWordList& words, std::vector<size_t>* starts, TLanguageWords* language)
{
    // Room for every word at once: a new list never moves its words to grow
    // (a list appended to again keeps growing the usual way).
    if (!language && words.empty())
        words.reserve(MaxWords(text.substr(0, text.find(u'\0'))));

    ForEachWord(
        text,
        [&](std::u16string_view word, size_t start) {
            if (language) {
                language->AppendPieces(word, start, words, starts);
                return;
            }
            // Made in its place in the list, not copied there.
            words.emplace_back(word);
            if (starts)
                starts->push_back(start);
        },
        [&](std::u16string&& item, size_t start) {
            words.push_back(std::move(item));
            if (starts)
                starts->push_back(start);
        });
}

size_t CountSplitWords(std::u16string_view text)
{
    size_t count = 0;
    ForEachWord(
        text, [&](std::u16string_view, size_t) { ++count; }, [&](std::u16string&&, size_t) { ++count; });
    return count;
}

void SplitWordsInto(std::u16string_view text, std::span<std::u16string> slots, const std::stop_token& stop)
{
    size_t next = 0;
    const auto take = [&](std::u16string word) {
        CheckEvery64K(stop, next);
        if (next == slots.size())
            throw std::logic_error("SplitWordsInto: more words than slots");
        slots[next++] = std::move(word);
    };
    ForEachWord(
        text, [&](std::u16string_view word, size_t) { take(std::u16string(word)); },
        [&](std::u16string&& item, size_t) { take(std::move(item)); });
    if (next != slots.size())
        throw std::logic_error("SplitWordsInto: fewer words than slots");
}

TWordList SplitWords(std::u16string_view text)
{
    TWordList words;
    AppendWords(text, words);
    return words;
}

TWordList TWordSplitter::Split(std::u16string_view text) const
{
    TWordList words;
    Append(text, words);
    return words;
}

void TWordSplitter::Append(std::u16string_view text, TWordList& words, std::vector<size_t>* starts) const
{
    if (FSplitting == TWordSplitting::Spaces) {
        AppendWords(text, words, starts);
        return;
    }
    TLanguageWords language(FLocaleName);
    AppendWords(text, words, starts, &language);
}

}  // namespace quillprint
