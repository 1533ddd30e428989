#include <gtest/gtest.h>

#include <string>

#include "EngineTestHelpers.h"
#include "engine/Normalization.h"
#include "engine/WordSplitter.h"

namespace quillprint::testing {
namespace {

struct TNormalizeCase {
    const char* Name;
    std::u16string Text;
    std::u16string Normalized;
};

class NormalizationTest : public ::testing::TestWithParam<TNormalizeCase> {};

TEST_P(NormalizationTest, GivesTheExpectedText) {
    EXPECT_EQ(NormalizeText(GetParam().Text), GetParam().Normalized);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizationTest,
    ::testing::Values(TNormalizeCase{"Empty", u"", u""},
                      TNormalizeCase{"Punctuation", u"Hello, World!", u"hello world"},
                      TNormalizeCase{"HyphenBetweenBlanksJoins", u"Well - maybe (not)!", u"wellmaybe not"},
                      TNormalizeCase{"BracketsThenHyphen", u"x (y) - z", u"x yz"},
                      TNormalizeCase{"DotsInNumbers", u"e.g. 3.14", u"eg 314"},
                      TNormalizeCase{"AllRemovedMarks", u"a,b.c;d!e?f(g)h", u"abcdefgh"},
                      // Blank runs are halved in one pass: 2 -> 1, 3 -> 2, 4 -> 2, 5 -> 3.
                      TNormalizeCase{"BlankRuns", u"a  b   c    d     e", u"a b  c  d   e"},
                      // Removing " - " can leave two blanks that the halving then meets.
                      TNormalizeCase{"HyphenRemovalFeedsHalving", u"a  -  b", u"a b"},
                      // " - " is found left to right, never overlapping, never in what it left.
                      TNormalizeCase{"HyphensInARow", u"a - - b", u"a- b"},
                      TNormalizeCase{"ThreeHyphensInARow", u"a - - - b", u"a-b"},
                      TNormalizeCase{"HyphensAtBothEnds", u" - A - ", u"a"},
                      TNormalizeCase{"TrimsCodesUpTo32", u"\x01\t Abc \r\n\x1F", u"abc"},
                      TNormalizeCase{"OnlyAsciiCapitalsLowered", u"ÄRGER Été ÉTÉ", u"Ärger Été ÉtÉ"},
                      TNormalizeCase{"OtherMarksStay", u"don't \"x\" a:b a-b a–b", u"don't \"x\" a:b a-b a–b"},
                      TNormalizeCase{"TabsAndNewlinesInsideStay", u"a\tb\r\nc", u"a\tb\r\nc"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Normalization, ThreeBlanksStillSeparateTwoWords) {
    const std::u16string normalized = NormalizeText(u"one   two");
    EXPECT_EQ(normalized, u"one  two");
    EXPECT_EQ(SplitWords(normalized), (TWordList{u"one", u"two"}));
}

TEST(Normalization, HyphenJoinsWordsIntoOne) {
    EXPECT_EQ(SplitWords(NormalizeText(u"word - word")), (TWordList{u"wordword"}));
}

}  // namespace
}  // namespace quillprint::testing
