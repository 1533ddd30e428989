#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

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

// The rule step by step, each step over the whole text: the marks removed,
// then every " - " (left to right), then every pair of blanks, then the trim
// and the lower-casing.
std::u16string NormalizedStepByStep(std::u16string text) {
    std::erase_if(text,
                  [](char16_t c) { return std::u16string_view(u",.;!?()").find(c) != std::u16string_view::npos; });
    const auto replaceAll = [](const std::u16string& from, std::u16string_view pattern, std::u16string_view by) {
        std::u16string to;
        size_t pos = 0;
        for (size_t hit; (hit = from.find(pattern, pos)) != std::u16string::npos; pos = hit + pattern.size())
            to.append(from, pos, hit - pos).append(by);
        return to.append(from, pos);
    };
    text = replaceAll(replaceAll(text, u" - ", u""), u"  ", u" ");
    const size_t first = text.find_first_not_of(std::u16string_view(u"\0\x01\t\n\r\x1F ", 7));
    if (first == std::u16string::npos) return {};
    text = text.substr(first, text.find_last_not_of(std::u16string_view(u"\0\x01\t\n\r\x1F ", 7)) + 1 - first);
    for (char16_t& c : text)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return text;
}

// Texts drawn from the code units every step looks at, with letters between:
// the one pass gives what the steps one after another give.
TEST(Normalization, OnePassGivesWhatTheStepsGiveOneAfterAnother) {
    const std::u16string units(u"  --,.;!?()\t\n\r\x01\x1F\0AbZz\u00C9-", 23);
    uint64_t state = 20261211;
    for (int round = 0; round < 20'000; ++round) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        std::u16string text(static_cast<size_t>(state >> 59), u' ');
        for (char16_t& c : text) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            c = units[static_cast<size_t>(state >> 33) % units.size()];
        }
        ASSERT_EQ(NormalizeText(text), NormalizedStepByStep(text)) << round;
    }
}

}  // namespace
}  // namespace quillprint::testing
