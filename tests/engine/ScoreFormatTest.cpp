#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "EngineTestHelpers.h"
#include "engine/ScoreFormat.h"

namespace quillprint::testing {
namespace {

struct TFormatCase {
    double Value;
    std::u16string Text;
};

class FormatScoreTest : public ::testing::TestWithParam<TFormatCase> {};

TEST_P(FormatScoreTest, GeneralFormWith15Digits) {
    EXPECT_EQ(FormatScore(GetParam().Value, u'.'), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatScoreTest,
    ::testing::Values(TFormatCase{0.0, u"0"}, TFormatCase{1.0, u"1"}, TFormatCase{2.0, u"2"},
                      TFormatCase{0.82, u"0.82"}, TFormatCase{0.99, u"0.99"}, TFormatCase{-1.96, u"-1.96"},
                      TFormatCase{(31.0 / 35 - 0.8) / 10 + 0.8, u"0.808571428571429"},
                      TFormatCase{1.0 / 3, u"0.333333333333333"}, TFormatCase{2.0 / 3, u"0.666666666666667"},
                      TFormatCase{0.1 + 0.2, u"0.3"}, TFormatCase{123456.789, u"123456.789"},
                      TFormatCase{-0.5, u"-0.5"}, TFormatCase{0.0001, u"0.0001"},
                      TFormatCase{0.00012345, u"0.00012345"},
                      // Below 1E-4 the form is scientific, with the same trimming.
                      TFormatCase{5e-5, u"5E-5"}, TFormatCase{1.25e-7, u"1.25E-7"},
                      TFormatCase{-5e-5, u"-5E-5"}, TFormatCase{9.87654321e-5, u"9.87654321E-5"},
                      TFormatCase{1.0 / 30000, u"3.33333333333333E-5"},
                      // Rounded to 15 digits first, this reaches 1E-4 and stays fixed.
                      TFormatCase{std::nextafter(0.0001, 0.0), u"0.0001"},
                      TFormatCase{0.09999999999999999, u"0.1"}));

TEST(FormatScore, UsesTheGivenDecimalSeparator) {
    EXPECT_EQ(FormatScore(0.82, u','), u"0,82");
    EXPECT_EQ(FormatScore(1.25e-7, u','), u"1,25E-7");
    EXPECT_EQ(FormatScore(1.0, u','), u"1");
}

TEST(DecimalSeparatorOf, FollowsTheLocale) {
    EXPECT_EQ(DecimalSeparatorOf("en_US"), u'.');
    EXPECT_EQ(DecimalSeparatorOf("de_DE"), u',');
    EXPECT_EQ(DecimalSeparatorOf("fr_FR"), u',');
    EXPECT_EQ(DecimalSeparatorOf(""), u'.');
}

TEST(RoundHalfEven, ExactHalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(1.5L), 2);
    EXPECT_EQ(RoundHalfEven(2.5L), 2);
    EXPECT_EQ(RoundHalfEven(3.5L), 4);
    EXPECT_EQ(RoundHalfEven(0.5L), 0);
    EXPECT_EQ(RoundHalfEven(14.0L / 3), 5);
    EXPECT_EQ(RoundHalfEven(2.4999L), 2);
    EXPECT_EQ(RoundHalfEven(-2.5L), -2);
    EXPECT_EQ(RoundHalfEven(-1.5L), -2);
}

}  // namespace
}  // namespace quillprint::testing
