#include "engine/Normalization.h"

#include <string>

#include "engine/Text.h"

namespace quillprint {
namespace {

// Replaces every occurrence of `from`, found left to right without overlap;
// replaced text is not searched again.
std::u16string ReplaceAll(std::u16string_view text, std::u16string_view from, std::u16string_view to)
{
    std::u16string result;
    result.reserve(text.size());
    size_t pos = 0;
    while (true) {
        const size_t hit = text.find(from, pos);
        if (hit == std::u16string_view::npos)
            break;
        result.append(text.substr(pos, hit - pos));
        result.append(to);
        pos = hit + from.size();
    }
    result.append(text.substr(pos));
    return result;
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
    result = ReplaceAll(result, u" - ", u"");
    // One pass: a run of k blanks becomes ceil(k / 2) blanks.
    result = ReplaceAll(result, u"  ", u" ");

    size_t first = 0;
    while (first < result.size() && IsTrimmed(result[first]))
        ++first;
    size_t last = result.size();
    while (last > first && IsTrimmed(result[last - 1]))
        --last;
    return LowerAsciiLetters(std::u16string_view(result).substr(first, last - first));
}

}  // namespace quillprint
