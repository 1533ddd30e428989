#include "workspace/LanguageHint.h"

#include <unicode/utf16.h>

#include <algorithm>
#include <cstdint>

#include "engine/LanguageWords.h"

namespace quillprint {

void TScriptShare::Add(std::u16string_view text) {
    // Below U+0E00 (Thai) no character is in those scripts and none is a
    // surrogate: a block of such code units is counted without decoding, in
    // a loop without branches that the compiler turns into vector
    // instructions. A block that holds others is read code point by code
    // point.
    constexpr size_t kBlock = 64;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = std::min(text.size(), pos + kBlock);
        const char16_t* const units = text.data();
        uint32_t high = 0;
        uint32_t counted = 0;
        for (size_t i = pos; i < end; ++i) {
            const uint16_t c = units[i];
            high |= static_cast<uint32_t>(c >= 0x0E00);
            // Neither a separator (1 to 32) nor, wrapping round, 0.
            counted += static_cast<uint32_t>(static_cast<uint16_t>(c - 1) >= 32);
        }
        if (high == 0) {
            FAll += counted;
            pos = end;
            continue;
        }
        while (pos < end) {
            if (text[pos] < 0x0E00) {
                FAll += text[pos] == 0 || text[pos] > 32;
                ++pos;
                continue;
            }
            UChar32 c;
            U16_NEXT(text.data(), pos, text.size(), c);
            ++FAll;
            if (IsScriptWithoutSpaces(static_cast<char32_t>(c))) ++FWithoutSpaces;
        }
    }
}

void TScriptShare::Add(const TLines& lines) {
    for (const auto& line : lines) Add(line);
}

bool MostlyWithoutSpaces(const std::vector<TCandidateLines>& candidates,
                         const std::vector<std::u16string_view>& tests) {
    TScriptShare share;
    for (const TCandidateLines& candidate : candidates) share.Add(candidate.Lines);
    for (const std::u16string_view test : tests) share.Add(test);
    return share.MostlyWithoutSpaces();
}

}  // namespace quillprint
