#include "engine/Normalization.h"

#include <algorithm>
#include <string>

#include "engine/Text.h"

namespace quillprint {
namespace {

// Replaces every occurrence of `from` by `to`, no longer than `from`, found
// left to right without overlap; replaced text is not searched again. In
// place: the text only shrinks, so the part still to be searched is never
// overwritten.
void ReplaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to)
{
    size_t read = 0;
    size_t write = 0;
    while (true) {
        const size_t hit = text.find(from, read);
        const size_t end = hit == std::u16string::npos ? text.size() : hit;
        if (write != read)
            std::copy(text.begin() + static_cast<std::ptrdiff_t>(read), text.begin() + static_cast<std::ptrdiff_t>(end),
                      text.begin() + static_cast<std::ptrdiff_t>(write));
        write += end - read;
        if (hit == std::u16string::npos)
            break;
        std::copy(to.begin(), to.end(), text.begin() + static_cast<std::ptrdiff_t>(write));
        write += to.size();
        read = hit + from.size();
    }
    text.resize(write);
}

bool IsTrimmed(char16_t c) { return c <= 32; }

}  // namespace

std::u16string NormalizeText(std::u16string_view text)
{
    // Single punctuation marks vanish. Removing one mark never makes
    // another, so one pass over all of them does what a pass per mark does.
    std::u16string result(text);
    std::erase_if(result, [](char16_t c) {
        switch (c) {
        case u',': case u'.': case u';': case u'!': case u'?': case u'(': case u')':
            return true;
        default:
            return false;
        }
    });

    // " - " joins the words on both sides into one.
    ReplaceAll(result, u" - ", u"");
    // One pass: a run of k blanks becomes ceil(k / 2) blanks.
    ReplaceAll(result, u"  ", u" ");

    size_t first = 0;
    while (first < result.size() && IsTrimmed(result[first]))
        ++first;
    size_t last = result.size();
    while (last > first && IsTrimmed(result[last - 1]))
        --last;
    result.erase(last);
    result.erase(0, first);
    LowerAsciiLetters(result);
    return result;
}

}  // namespace quillprint
