#include "workspace/LengthWarnings.h"

#include "engine/Text.h"

namespace quillprint {

namespace {

std::u16string Thousands(int64_t value) {
    std::string digits = std::to_string(value);
    for (auto i = static_cast<int64_t>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<size_t>(i), 1, ',');
    return FromUtf8(digits);
}

}  // namespace

std::vector<std::u16string> LengthWarnings(int64_t disputedWords, const std::vector<std::u16string>& names,
                                           const std::vector<int64_t>& sampleWords) {
    std::vector<std::u16string> warnings;
    if (disputedWords < kShortDisputedWords)
        warnings.push_back(u"The disputed text has " + Thousands(disputedWords) + u" words: below about " +
                           Thousands(kShortDisputedWords) + u" words an attribution is often unreliable.");
    for (size_t c = 0; c < names.size() && c < sampleWords.size(); ++c)
        if (sampleWords[c] < kShortSampleWords)
            warnings.push_back(names[c] + u"'s samples have " + Thousands(sampleWords[c]) + u" words: below about " +
                               Thousands(kShortSampleWords) +
                               u" words per candidate an attribution is often unreliable.");
    return warnings;
}

}  // namespace quillprint
