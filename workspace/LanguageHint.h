// The hint that words can be split by language, for a project written mostly
// in scripts without spaces, where every line would otherwise be one word.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "workspace/BalancedSample.h"

namespace quillprint {

// Counts the characters of texts (separators, codes 1 to 32, left out) and
// those of them in scripts written without spaces.
class TScriptShare {
public:
    void Add(std::u16string_view text);
    void Add(const TLines& lines);
    // More than half of the characters counted are in those scripts.
    bool MostlyWithoutSpaces() const { return FWithoutSpaces * 2 > FAll; }

private:
    int64_t FAll = 0;
    int64_t FWithoutSpaces = 0;
};

// Whether the candidates and the test texts call for the hint.
bool MostlyWithoutSpaces(const std::vector<TCandidateLines>& candidates, const std::vector<std::u16string_view>& tests);

inline constexpr std::string_view kSplitByLanguageHint =
    "Most characters of this project are in scripts written without spaces (Chinese, Japanese, Thai and the like): "
    "split at spaces only, a whole sentence or line counts as one word. \"Split words by language\" "
    "(--split-words language) splits them into the words of the language's dictionary.";

}  // namespace quillprint
