#include "workspace/LanguageHint.h"

#include <unicode/utf16.h>

#include "engine/LanguageWords.h"

namespace quillprint {

void TScriptShare::Add(std::u16string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        // Below U+0E00 (Thai) no character is in those scripts and none is a
        // surrogate: such a stretch is counted without decoding it.
        int64_t plain = 0;
        for (; pos < text.size() && text[pos] < 0x0E00; ++pos) plain += text[pos] == 0 || text[pos] > 32;
        FAll += plain;
        if (pos == text.size()) break;
        UChar32 c;
        U16_NEXT(text.data(), pos, text.size(), c);
        if (c >= 1 && c <= 32) continue;
        ++FAll;
        if (IsScriptWithoutSpaces(static_cast<char32_t>(c))) ++FWithoutSpaces;
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
