#include "engine/WordSplitter.h"

#include "engine/LanguageWords.h"

namespace quillprint {
namespace {

bool IsSeparator(char16_t c) { return c >= 1 && c <= 32; }

// Reads a quoted item whose opening quote is at `pos`; returns the position
// after its closing quote (or the end of the text).
size_t ReadQuotedItem(std::u16string_view text, size_t pos, std::u16string& item)
{
    ++pos;  // the opening quote is dropped
    while (pos < text.size()) {
        const char16_t c = text[pos];
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

}  // namespace

void AppendWords(std::u16string_view text, TWordList& words, std::vector<size_t>* starts, TLanguageWords* language)
{
    // Code 0 ends the text.
    const size_t end = text.find(u'\0');
    if (end != std::u16string_view::npos)
        text = text.substr(0, end);

    // Room for every word at once: a new list never moves its words to grow
    // (a list appended to again keeps growing the usual way).
    if (!language && words.empty())
        words.reserve(MaxWords(text));

    size_t pos = 0;
    auto skipSeparators = [&] {
        while (pos < text.size() && IsSeparator(text[pos]))
            ++pos;
    };
    skipSeparators();
    while (pos < text.size()) {
        const size_t start = pos;
        if (text[pos] == u'"') {
            std::u16string item;
            pos = ReadQuotedItem(text, pos, item);
            words.push_back(std::move(item));
        } else {
            while (pos < text.size() && !IsSeparator(text[pos]))
                ++pos;
            if (language) {
                language->AppendPieces(text.substr(start, pos - start), start, words, starts);
                skipSeparators();
                continue;
            }
            // Made in its place in the list, not copied there.
            words.emplace_back(text.substr(start, pos - start));
        }
        if (starts)
            starts->push_back(start);
        skipSeparators();
    }
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
