// The refusal past the phrase budget, what its message says, and leaving
// copied passages out of the test text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineTestHelpers.h"
#include "engine/EngineError.h"
#include "engine/PhraseBudgetReport.h"
#include "engine/Quillprint.h"

namespace quillprint::testing {
namespace {

// `count` words that occur nowhere else, joined by blanks.
std::u16string WordsText(const std::u16string& prefix, int32_t count) {
    std::u16string text;
    for (int32_t i = 0; i < count; ++i) text += prefix + FromUtf8(std::to_string(i)) + u" ";
    return text;
}

struct TRun {
    std::u16string Candidate;
    std::u16string Test;
    TPhraseBudget Budget;
    int32_t LeaveOutCopies = 0;
    bool Threaded = false;   // the independent parts on three threads
};

// The refusal of a run, or nullptr when it calculates.
std::shared_ptr<const TRefusedRun> Refusal(const TRun& run, std::string* message = nullptr) {
    TQuillprint engine(kTestLocale);
    engine.SetBudget(run.Budget);
    engine.SetLeaveOutCopies(run.LeaveOutCopies);
    if (run.Threaded) engine.SetParallelFor(ThreadedParts(3));
    engine.AddAuthor(u"Hamilton", run.Candidate);
    try {
        engine.Detect(run.Test);
    } catch (const TPassageTooLongError& error) {
        if (message) *message = error.what();
        EXPECT_NE(error.Details(), nullptr);
        return error.Details();
    }
    return nullptr;
}

// Ten copies of 60 words, each well within the budget on its own.
TRun TenCopies() {
    TRun run;
    for (int32_t k = 0; k < 10; ++k) {
        const std::u16string passage = WordsText(u"p" + FromUtf8(std::to_string(k)) + u"w", 60);
        run.Candidate += WordsText(u"c" + FromUtf8(std::to_string(k)) + u"w", 7) + passage;
        run.Test += WordsText(u"t" + FromUtf8(std::to_string(k)) + u"w", 5) + passage;
    }
    run.Budget = {5000, 400'000'000};
    return run;
}

TEST(PhraseBudget, OneLongCopyIsRefusedWithItsLengthAndTheRemedy) {
    const std::u16string passage = WordsText(u"p", 120);
    std::string message;
    const auto refused =
        Refusal({WordsText(u"c", 10) + passage, WordsText(u"t", 3) + passage, {5000, 400'000'000}}, &message);
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(message,
              "The text \"Unknown\" and the texts of \"Hamilton\" share a passage of 120 words. Such a long copy "
              "cannot be compared phrase by phrase; remove it and calculate again.");
    ASSERT_EQ(refused->Report.Passages.size(), 1u);
    const TRepeatedPassage& copy = refused->Report.Passages[0];
    EXPECT_EQ(copy.Author, 1);
    EXPECT_EQ(copy.Start, 3);
    EXPECT_EQ(copy.SourceAuthor, 0);
    EXPECT_EQ(copy.SourceStart, 10);
    EXPECT_EQ(copy.Words, 120);
    EXPECT_EQ(refused->Names, (std::vector<std::u16string>{u"Hamilton", u"Unknown"}));

    // A caller that knows places and the switch names them.
    TRefusalWording wording{refused->Names,
                            [](int32_t author, int32_t start) {
                                return "author " + std::to_string(author) + " word " + std::to_string(start);
                            },
                            "\"Leave out copied passages\"", refused->LocaleName};
    EXPECT_EQ(DescribeRefusal(refused->Report, refused->Budget, wording),
              "The text \"Unknown\" and the texts of \"Hamilton\" share a passage of 120 words (author 1 word 3; "
              "author 0 word 10). Such a long copy cannot be compared phrase by phrase; remove it and calculate "
              "again. Or turn on \"Leave out copied passages\", which leaves it out of the unknown text.");
}

// Ten separate copies: removing the longest alone would change nothing, so
// the message names them all, and removing them all lets the run calculate.
TEST(PhraseBudget, ManyCopiesAreNamedTogetherAndRemovingThemWorks) {
    TRun run = TenCopies();
    std::string message;
    const auto refused = Refusal(run, &message);
    ASSERT_NE(refused, nullptr);
    EXPECT_TRUE(message.starts_with("The texts repeat 10 passages of 50 words or more, 600 words in all; together "
                                    "they make "))
        << message;
    EXPECT_NE(message.find("The longest: The text \"Unknown\" and the texts of \"Hamilton\" share a passage of 60 "
                           "words. Remove all these passages and calculate again."),
              std::string::npos)
        << message;

    std::u16string withoutOne = run.Test;
    withoutOne.erase(withoutOne.find(u"p0w0 "), WordsText(u"p0w", 60).size());
    EXPECT_NE(Refusal({run.Candidate, withoutOne, run.Budget}), nullptr);
    std::u16string withoutAll;
    for (int32_t k = 0; k < 10; ++k) withoutAll += WordsText(u"t" + FromUtf8(std::to_string(k)) + u"w", 5);
    EXPECT_EQ(Refusal({run.Candidate, withoutAll, run.Budget}), nullptr);
}

// The report counts exactly what the phrase search records: a budget of its
// count passes, one less is refused.
// Three copies past the budget together, none alone: the longest is named
// as the one whose removal is enough, never as a copy too long by itself.
TEST(PhraseBudget, ALongestCopyWithinTheBudgetAloneIsNotBlamedAlone) {
    TRun run;
    for (const int32_t words : {60, 70, 60}) {
        const std::u16string passage = WordsText(
            u"p" + FromUtf8(std::to_string(words)) + u"w" + FromUtf8(std::to_string(run.Test.size())) + u"x", words);
        run.Candidate += WordsText(u"c" + FromUtf8(std::to_string(run.Candidate.size())) + u"w", 7) + passage;
        run.Test += WordsText(u"t" + FromUtf8(std::to_string(run.Test.size())) + u"w", 5) + passage;
    }
    run.Budget = {5000, 400'000'000};
    std::string message;
    const auto refused = Refusal(run, &message);
    ASSERT_NE(refused, nullptr);
    EXPECT_TRUE(
        message.starts_with("The texts repeat 3 passages of 50 words or more, 190 words in all; together "
                            "they make "))
        << message;
    EXPECT_TRUE(
        message.ends_with(" Without the longest they would not: The text \"Unknown\" and the texts of "
                          "\"Hamilton\" share a passage of 70 words. Remove it and calculate again."))
        << message;
    EXPECT_EQ(message.find("Such a long copy"), std::string::npos) << message;

    // That passage on its own calculates.
    const std::u16string longest = WordsText(u"q", 70);
    EXPECT_EQ(Refusal({WordsText(u"c", 7) + longest, WordsText(u"t", 5) + longest, run.Budget}), nullptr);
}

TEST(PhraseBudget, ReportCountsWhatThePhraseSearchRecords) {
    TRun run = TenCopies();
    run.Test += u"c0w1 c0w2 c0w3 t0w1 t0w2 \"a quoted item\" \"a quoted item\"";
    const auto refused = Refusal(run);
    ASSERT_NE(refused, nullptr);
    const int64_t phrases = refused->Report.Phrases;
    const int64_t instances = refused->Report.Instances;
    EXPECT_EQ(Refusal({run.Candidate, run.Test, {phrases, instances}}), nullptr);
    EXPECT_NE(Refusal({run.Candidate, run.Test, {phrases - 1, instances}}), nullptr);
    EXPECT_NE(Refusal({run.Candidate, run.Test, {phrases, instances - 1}}), nullptr);
}

// With the count and the search side by side, a run is refused exactly when
// and as it is in order, never by the search's own limit or half done.
TEST(PhraseBudget, ThreadsRefuseAsTheRunInOrderDoes) {
    const std::u16string passage = WordsText(u"p", 120);
    TRun tenCopies = TenCopies();
    const std::vector<TRun> runs = {
        {WordsText(u"c", 10) + passage, WordsText(u"t", 3) + passage, {5000, 400'000'000}},
        tenCopies,
        {u"a b a b c a b c d", u"a b c d a b", {5, 400'000'000}},
        {u"a b a b c a b c d", u"a b c d a b", {400, 12}},
        {tenCopies.Candidate, WordsText(u"t", 50), tenCopies.Budget},
    };
    for (size_t r = 0; r < runs.size(); ++r) {
        SCOPED_TRACE("run " + std::to_string(r));
        TRun threaded = runs[r];
        threaded.Threaded = true;
        std::string inOrder, onThreads;
        const bool refused = Refusal(runs[r], &inOrder) != nullptr;
        EXPECT_EQ(Refusal(threaded, &onThreads) != nullptr, refused);
        EXPECT_EQ(onThreads, inOrder);
        EXPECT_EQ(refused, r + 1 < runs.size());
    }
}

TEST(PhraseBudget, TooMuchTextWithoutLongCopiesSaysSo) {
    std::string message;
    const auto refused = Refusal({u"a b a b c a b c d", u"a b c d a b", {5, 400'000'000}}, &message);
    ASSERT_NE(refused, nullptr);
    EXPECT_TRUE(refused->Report.Passages.empty());
    EXPECT_TRUE(message.ends_with("Calculate with fewer or shorter texts.")) << message;
}

TEST(LeaveOutCopies, ARefusedRunCalculatesWithoutTheCopies) {
    TRun run = TenCopies();
    run.LeaveOutCopies = kDefaultCopyWords;
    // The words around each cut also follow each other in the candidate's
    // text; no phrase may run across a cut.
    run.Candidate += u" t0w4 t1w0";
    TQuillprint engine(kTestLocale);
    engine.SetBudget(run.Budget);
    engine.SetLeaveOutCopies(run.LeaveOutCopies);
    engine.AddAuthor(u"Hamilton", run.Candidate);
    EXPECT_NO_THROW(engine.Detect(run.Test));
    EXPECT_EQ(engine.CopiedPassages().size(), 10u);
    EXPECT_EQ(engine.CopiedPassages()[1], (TCopiedPassage{0, 67 + 7, 65 + 5, 60}));
    EXPECT_EQ(engine.WordsLeftOut(), 600);
    EXPECT_EQ(engine.Test()->WordCount(), 50);
    for (const TPhrase* phrase : engine.Phrases()) EXPECT_NE(phrase->Value(), u"t0w4 t1w0");
    EXPECT_EQ(engine.Phrases().size(), 2u);  // t0w4 and t1w0, one word each
}

TEST(LeaveOutCopies, OffOrWithoutCopiesChangesNothing) {
    const std::u16string candidate = u"The red fox runs home. A grey wolf sleeps there, tonight again!";
    const std::u16string test = u"The red fox and a grey wolf";
    TQuillprint plain(kTestLocale);
    plain.AddAuthor(u"Anna", candidate);
    TQuillprint leaving(kTestLocale);
    leaving.SetLeaveOutCopies(4);
    leaving.AddAuthor(u"Anna", candidate);
    EXPECT_EQ(leaving.Detect(test), plain.Detect(test));
    EXPECT_TRUE(leaving.CopiedPassages().empty());
    EXPECT_EQ(leaving.WordsLeftOut(), 0);
}

}  // namespace
}  // namespace quillprint::testing
