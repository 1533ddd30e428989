#include <gtest/gtest.h>

#include <cmath>

#include "SampleText.h"
#include "engine/EngineError.h"
#include "engine/Normalization.h"
#include "engine/Text.h"
#include "engine/WordSplitter.h"
#include "workspace/Confidence.h"
#include "workspace/CosineDelta.h"
#include "workspace/CrossValidation.h"
#include "workspace/HeldOutTexts.h"
#include "workspace/TextReader.h"

namespace quillprint {
namespace {

TWordList WordsOf(const TLines& lines) { return SplitWords(JoinLines(lines)); }
TWordList WordsOf(std::u16string_view text) { return SplitWords(text); }

TEST(WordRanges, TakeAndLeaveWholeWordsAcrossLines) {
    const TLines lines{u"a b c", u"", u"d  e"};
    struct TCase {
        int64_t First, Words;
        const char16_t* Taken;
        const char16_t* Left;
    } cases[] = {
        {0, 1, u"a", u"b c d e"},  {1, 3, u"b c d", u"a e"},  {4, 1, u"e", u"a b c d"},
        {3, 10, u"d e", u"a b c"}, {0, 5, u"a b c d e", u""}, {5, 2, u"", u"a b c d e"},
    };
    EXPECT_EQ(CountWords(lines), 5);
    for (const TCase& c : cases) {
        EXPECT_EQ(WordsOf(WordRange(lines, c.First, c.Words)), WordsOf(c.Taken)) << c.First << "+" << c.Words;
        EXPECT_EQ(WordsOf(WithoutWordRange(lines, c.First, c.Words)), WordsOf(c.Left)) << c.First << "+" << c.Words;
    }
    // Line breaks stay where they were.
    EXPECT_EQ(WordRange(lines, 1, 3), (TLines{u"b c", u"d"}));
}

TEST(HeldOutTexts, HoldOutEachFileWholeAndLeaveTheRestAsTheSample) {
    // Texts 0 and 2 come from one file: they are held out together.
    const TCandidateLines two{u"Two", {u"one x", u"two y", u"three z"}, {0, 1, 2}, {u"x.txt", u"y.txt", u"x.txt"}};
    const TCandidateLines empty{u"Empty", {u"  "}, {0}, {u"e.txt"}};
    const auto checks = HeldOutTexts({two, empty});
    ASSERT_EQ(checks.size(), 2u);
    EXPECT_EQ(checks[0].Label, u"x.txt");
    EXPECT_EQ(checks[0].Lines, (TLines{u"one x", u"three z"}));
    EXPECT_EQ(checks[0].Sample.Lines, (TLines{u"two y"}));
    EXPECT_EQ(checks[1].Label, u"y.txt");
    EXPECT_EQ(checks[1].Sample.Lines, (TLines{u"one x", u"three z"}));
    EXPECT_EQ(checks[1].Sample.TextStarts, (std::vector<size_t>{0, 1}));
    for (const auto& check : checks) EXPECT_EQ(check.Candidate, 0u);
}

TEST(HeldOutTexts, CutASingleTextIntoFivePartsEachHeldOutOnce) {
    const TCandidateLines one{u"One", {u"w1 w2 w3 w4", u"w5 w6 w7", u"w8 w9 w10"}, {0}, {u"only.txt"}};
    const auto checks = HeldOutTexts({one});
    ASSERT_EQ(checks.size(), 5u);
    TWordList seen;
    for (size_t k = 0; k < checks.size(); ++k) {
        EXPECT_EQ(checks[k].Label, u"only.txt (part " + FromUtf8(std::to_string(k + 1)) + u" of 5)");
        const TWordList held = WordsOf(checks[k].Lines);
        const TWordList rest = WordsOf(checks[k].Sample.Lines);
        EXPECT_EQ(held.size(), 2u);
        EXPECT_EQ(rest.size(), 8u);
        for (const auto& word : held) EXPECT_EQ(std::count(rest.begin(), rest.end(), word), 0);
        seen.insert(seen.end(), held.begin(), held.end());
    }
    EXPECT_EQ(seen, WordsOf(one.Lines));
}

TEST(CosineDelta, AgreesWithTheWorkedExample) {
    // Relative frequencies: A a .5, b .25, x .25; B a .25, b .5, x .25. "x"
    // is the same in both and says nothing. Over the two candidates a and b
    // have mean .375 and spread .125: z(A) = (1, -1), z(B) = (-1, 1). The
    // test "a b b b" has z = (-1, 3): cosine with A is -4 / sqrt(2 * 10).
    const TWordList a = WordsOf(u"a a b x"), b = WordsOf(u"a b b x"), test = WordsOf(u"a b b b");
    const TDeltaRanking ranking = CosineDelta({a, b}, test);
    ASSERT_EQ(ranking.Similarity.size(), 2u);
    EXPECT_NEAR(ranking.Similarity[0], -4 / std::sqrt(20.0), 1e-12);
    EXPECT_NEAR(ranking.Similarity[1], 4 / std::sqrt(20.0), 1e-12);
    EXPECT_EQ(ranking.First, 1);
    // With a profile of one word, the most frequent ("a", before "b" of the
    // same count) alone decides.
    const TDeltaRanking one = CosineDelta({a, b}, test, 1);
    EXPECT_NEAR(one.Similarity[0], -1, 1e-12);
    EXPECT_NEAR(one.Similarity[1], 1, 1e-12);
    EXPECT_EQ(CosineDelta({}, test).First, -1);
    const std::vector<std::u16string> names{u"A", u"B"};
    EXPECT_EQ(SecondOpinionText(ranking, names, 1), u"Cosine Delta: B, A (agrees)");
    EXPECT_EQ(SecondOpinionText(ranking, names, 0), u"Cosine Delta: B, A (disagrees: the phrases rank A first)");
}

TEST(ConfidenceFit, PoolsChecksUntilTheChanceNeverFallsWithTheMargin) {
    const TConfidenceFit fit({{0.3, false}, {0.1, false}, {0.5, true}, {0.2, true}, {0.4, true}});
    const auto& steps = fit.Steps();
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].Checks, 1);
    EXPECT_EQ(steps[0].Right, 0);
    EXPECT_EQ(steps[1].From, 0.2);
    EXPECT_EQ(steps[1].To, 0.3);
    EXPECT_EQ(steps[1].Right * 2, steps[1].Checks);
    // Rising strictly: equal shares are one step.
    for (size_t s = 1; s < steps.size(); ++s)
        EXPECT_LT(steps[s - 1].Right * steps[s].Checks, steps[s].Right * steps[s - 1].Checks);
    EXPECT_EQ(steps[2].Checks, 2);
    EXPECT_EQ(fit.StepFor(0.0), &steps[0]);
    EXPECT_EQ(fit.StepFor(0.25), &steps[1]);
    EXPECT_EQ(fit.StepFor(9.0), &steps[2]);
    EXPECT_EQ(TConfidenceFit().StepFor(0.5), nullptr);
}

TEST(ConfidenceFit, WilsonIntervalAtNinetyPercent) {
    const TInterval eightOfTen = WilsonInterval90(8, 10);
    EXPECT_NEAR(eightOfTen.Low, 0.5408, 1e-3);
    EXPECT_NEAR(eightOfTen.High, 0.9315, 1e-3);
    const TInterval none = WilsonInterval90(0, 0);
    EXPECT_EQ(none.Low, 0);
    EXPECT_EQ(none.High, 1);
}

TEST(ConfidenceFit, SaysCannotTellBelowTheThresholdAndNamesWhoIsStillInPlay) {
    std::vector<TCheckOutcome> checks;
    for (int i = 1; i <= 5; ++i) checks.push_back({i / 100.0, false});
    for (int i = 0; i < 20; ++i) checks.push_back({0.2 + i / 50.0, true});
    const TConfidenceFit fit(checks);
    const std::vector<std::u16string> names{u"Ann", u"Bob", u"Cy"};

    const TConfidence clear = JudgeScores({0.9, 0.3, 0.2}, fit);
    EXPECT_FALSE(clear.CannotTell);
    EXPECT_NEAR(clear.Chance, 21.0 / 22.0, 1e-12);
    EXPECT_EQ(VerdictText(clear, names), u"Ann");
    EXPECT_EQ(ChanceText(clear, names).substr(0, 31), u"Chance that Ann is right: 95% (");

    const TConfidence close = JudgeScores({0.48, 0.5, 0.1}, fit);
    EXPECT_TRUE(close.CannotTell);
    EXPECT_EQ(close.Top, 1);
    EXPECT_EQ(close.InPlay, (std::vector<int32_t>{1, 0}));
    EXPECT_EQ(VerdictText(close, names), u"Cannot tell: Bob or Ann");

    // Without checks nothing can be told; every candidate stays in play.
    const TConfidence blind = JudgeScores({0.9, 0.1}, TConfidenceFit());
    EXPECT_TRUE(blind.CannotTell);
    EXPECT_EQ(blind.InPlay.size(), 2u);
}

std::vector<TCandidateLines> SampleCandidates() {
    std::vector<TCandidateLines> candidates;
    for (uint32_t c = 0; c < 3; ++c) {
        TCandidateLines candidate;
        candidate.Name = u"Author" + FromUtf8(std::to_string(c));
        for (int t = 0; t < 3; ++t) {
            candidate.TextStarts.push_back(candidate.Lines.size());
            candidate.TextLabels.push_back(FromUtf8("t" + std::to_string(t) + ".txt"));
            const std::string text = testing::Sample(c * 7 + 3 + static_cast<uint32_t>(t), 12);
            for (const auto& line : DecodeText(text, "windows-1252")) candidate.Lines.push_back(line);
        }
        candidates.push_back(std::move(candidate));
    }
    return candidates;
}

TEST(CrossValidation, TheSameForAnyNumberOfThreadsAndFixedByTheSeed) {
    const auto candidates = SampleCandidates();
    TCrossValidationSettings settings;
    settings.LocaleName = "en_US";
    settings.ExcerptWords = 40;
    settings.Seed = 7;
    settings.Jobs = 1;
    int32_t lastDone = -1, lastTotal = -1;
    const TCrossValidation one = RunCrossValidation(candidates, settings, [&](int32_t done, int32_t total) {
        EXPECT_GT(done, lastDone);
        lastDone = done;
        lastTotal = total;
    });
    ASSERT_EQ(one.Checks.size(), 9u);
    EXPECT_EQ(lastDone, 9);
    EXPECT_EQ(lastTotal, 9);
    settings.Jobs = 3;
    const TCrossValidation three = RunCrossValidation(candidates, settings);
    for (size_t k = 0; k < one.Checks.size(); ++k) {
        EXPECT_EQ(one.Checks[k].Top, three.Checks[k].Top);
        EXPECT_EQ(one.Checks[k].Margin, three.Checks[k].Margin);
        EXPECT_EQ(one.Checks[k].Words, 40);
        EXPECT_EQ(one.Checks[k].Truth, static_cast<int32_t>(k / 3));
    }
    // Another seed draws other excerpts.
    settings.Seed = 8;
    const TCrossValidation other = RunCrossValidation(candidates, settings);
    bool differs = false;
    for (size_t k = 0; k < one.Checks.size(); ++k) differs |= one.Checks[k].Margin != other.Checks[k].Margin;
    EXPECT_TRUE(differs);

    const auto figures = one.Figures();
    int32_t found = 0;
    for (const auto& f : figures) {
        EXPECT_EQ(f.Checks, 3);
        found += f.Found;
    }
    EXPECT_EQ(found, one.Right());
    int32_t confused = 0;
    for (const auto& row : one.Confusion())
        for (const int32_t n : row) confused += n;
    EXPECT_EQ(confused, 9);
}

TEST(CrossValidation, StopsWhenAskedAndCountsNoCandidateWithoutWords) {
    auto candidates = SampleCandidates();
    TCrossValidationSettings settings;
    settings.LocaleName = "en_US";
    std::stop_source stop;
    stop.request_stop();
    EXPECT_THROW(RunCrossValidation(candidates, settings, {}, stop.get_token()), TCalculationCancelled);

    // A candidate with nothing to hold out gives no check but stays a candidate.
    candidates.push_back({u"Silent", {u" "}, {0}, {u"s.txt"}});
    const TCrossValidation validation = RunCrossValidation(candidates, settings);
    EXPECT_EQ(validation.Checks.size(), 9u);
    EXPECT_EQ(validation.Names.size(), 4u);
}

}  // namespace
}  // namespace quillprint
