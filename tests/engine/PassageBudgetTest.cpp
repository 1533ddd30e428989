// A verbatim passage too long to compare: past the phrase budget the engine
// stops and names the texts that hold it and how long it runs.
#include <gtest/gtest.h>

#include <string>

#include "EngineTestHelpers.h"
#include "engine/EngineError.h"
#include "engine/Quillprint.h"

namespace quillprint::testing {
namespace {

// `count` different words, "w0 w1 ...", so the passage repeats nowhere else.
std::u16string Passage(int count) {
    std::u16string text;
    for (int i = 0; i < count; ++i) text += u"w" + FromUtf8(std::to_string(i)) + u" ";
    return text;
}

// A passage of n words held twice yields about n² / 2 phrases, far past a
// budget of 1,000.
constexpr TPhraseBudget kSmallBudget{1'000, 1'000'000};

struct TRefusalCase {
    const char* Name;
    std::string Locale;  // writes the length as its users write numbers
    std::u16string First;   // the first candidate's text
    std::u16string Second;  // the second candidate's text
    std::u16string Test;
    std::string Message;
};

void PrintTo(const TRefusalCase& refusal, std::ostream* out) { *out << refusal.Name; }

class PassageBudget : public ::testing::TestWithParam<TRefusalCase> {};

TEST_P(PassageBudget, RefusesWithTheTextsAndTheLengthOfThePassage) {
    TQuillprint engine(GetParam().Locale);
    engine.SetBudget(kSmallBudget);
    engine.AddAuthor(u"Anna", GetParam().First);
    engine.AddAuthor(u"Boris", GetParam().Second);
    try {
        engine.Detect(GetParam().Test);
        FAIL() << "no refusal";
    } catch (const TPassageTooLongError& error) {
        EXPECT_EQ(std::string(error.what()),
                  GetParam().Message +
                      " Such a long copy cannot be compared phrase by phrase; remove it and calculate again.");
    }
}

const std::u16string kCopy = Passage(1'200);

INSTANTIATE_TEST_SUITE_P(
    WhereTheCopyLies, PassageBudget,
    ::testing::Values(
        TRefusalCase{"TestTextAndOneCandidate", kTestLocale, u"anna writes " + kCopy, u"boris", u"unknown says " + kCopy,
                     "The text \"Unknown\" and the texts of \"Anna\" share a passage of 1,200 words."},
        TRefusalCase{"TwoCandidates", kTestLocale, u"anna writes " + kCopy, u"boris " + kCopy + u"ends", u"short test",
                     "The texts of \"Anna\" and \"Boris\" share a passage of 1,200 words."},
        TRefusalCase{"OneCandidateTwice", kTestLocale, u"x", kCopy + u"between " + kCopy, u"short test",
                     "The texts of \"Boris\" repeat a passage of 1,200 words."},
        TRefusalCase{"GermanDigitGrouping", "de_DE", u"x", kCopy + u"between " + kCopy, u"short test",
                     "The texts of \"Boris\" repeat a passage of 1.200 words."},
        TRefusalCase{"RootLocaleOfC", "", u"x", kCopy + u"between " + kCopy, u"short test",
                     "The texts of \"Boris\" repeat a passage of 1,200 words."}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PassageBudget, AtTheBudgetItStillCalculates) {
    // "a b c" twice: the pass records six phrases ("a", "b", "c", "a b",
    // "b c", "a b c") before the containment filter drops the shorter ones.
    TQuillprint unlimited(kTestLocale);
    unlimited.AddAuthor(u"Anna", u"a b c");
    const std::u16string summary = unlimited.Detect(u"a b c");

    TQuillprint limited(kTestLocale);
    limited.SetBudget({6, 1'000});
    limited.AddAuthor(u"Anna", u"a b c");
    EXPECT_EQ(limited.Detect(u"a b c"), summary);

    TQuillprint tooSmall(kTestLocale);
    tooSmall.SetBudget({5, 1'000});
    tooSmall.AddAuthor(u"Anna", u"a b c");
    EXPECT_THROW(tooSmall.Detect(u"a b c"), TPassageTooLongError);
}

}  // namespace
}  // namespace quillprint::testing
