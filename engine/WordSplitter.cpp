#include "engine/WordSplitter.h"

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

}  // namespace

void AppendWords(std::u16string_view text, TWordList& words, std::vector<size_t>* starts)
{
    // Code 0 ends the text.
    const size_t end = text.find(u'\0');
    if (end != std::u16string_view::npos)
        text = text.substr(0, end);

    size_t pos = 0;
    auto skipSeparators = [&] {
        while (pos < text.size() && IsSeparator(text[pos]))
            ++pos;
    };
    skipSeparators();
    while (pos < text.size()) {
        std::u16string word;
        if (starts)
            starts->push_back(pos);
        if (text[pos] == u'"') {
            pos = ReadQuotedItem(text, pos, word);
        } else {
            const size_t start = pos;
            while (pos < text.size() && !IsSeparator(text[pos]))
                ++pos;
            word.assign(text.substr(start, pos - start));
        }
        words.push_back(std::move(word));
        skipSeparators();
    }
}

TWordList SplitWords(std::u16string_view text)
{
    TWordList words;
    AppendWords(text, words);
    return words;
}

}  // namespace quillprint
