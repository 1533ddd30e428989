// Texts no user means to give: the engine must treat them as ordinary input.
#include <gtest/gtest.h>

#include <string>

#include "EngineTestHelpers.h"
#include "engine/Quillprint.h"

namespace quillprint::testing {
namespace {

struct TBadInput {
    const char* Name;
    std::u16string Candidate;
    std::u16string Test;
};

class BadInputTest : public ::testing::TestWithParam<TBadInput> {};

TEST_P(BadInputTest, CalculatesNormally) {
    TQuillprint engine(kTestLocale);
    engine.AddAuthor(u"Candidate", GetParam().Candidate);
    const std::u16string summary = engine.Detect(GetParam().Test);
    EXPECT_TRUE(summary.starts_with(u"Candidate: ")) << ToUtf8(summary);
    EXPECT_TRUE(summary.ends_with(u"\r"));
    EXPECT_EQ(engine.Authors().back()->Koef(), 2.0);
    for (const TPhrase* phrase : engine.Phrases()) EXPECT_GE(phrase->CountInstances(), 2);
}

const std::u16string kNul(1, u'\0');
const std::u16string kLongWord(10'000'000, u'w');

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInputTest,
    ::testing::Values(
        TBadInput{"Empty", u"", u""},
        TBadInput{"SeparatorsOnly", u" \t\r\n", u"\x01\x02 "},
        TBadInput{"LoneQuote", u"\"", u"\""},
        TBadInput{"UnclosedQuotes", u"say \"hello there", u"\"hello there"},
        TBadInput{"OnlyEmptyItems", u"\"\" \"\" \"\"", u"\"\" \"\""},
        TBadInput{"NulInTheMiddle", u"a b" + kNul + u"c d", kNul + u"a b"},
        TBadInput{"LoneSurrogates", u"\xD800 \xDC00 x\xD800", u"\xDC00 \xD800 x\xD800"},
        TBadInput{"NonCharacters", u"\xFFFF \xFFFE \xFFFF", u"\xFFFF \xFFFE"},
        TBadInput{"HugeWordInBoth", kLongWord, kLongWord},
        TBadInput{"HugeUnclosedQuote", u"\"" + kLongWord, u"x \"" + kLongWord}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace quillprint::testing
