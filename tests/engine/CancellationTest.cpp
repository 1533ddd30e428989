// A calculation stopped from another thread ends with TCalculationCancelled
// at the next check, whichever stage it is in.
#include <gtest/gtest.h>

#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "EngineTestHelpers.h"
#include "engine/Collation.h"
#include "engine/CopyFinder.h"
#include "engine/EngineError.h"
#include "engine/PhraseBudgetReport.h"
#include "engine/Quillprint.h"
#include "engine/SuffixArray.h"

namespace quillprint::testing {
namespace {

TEST(Cancellation, AStopBeforeTheRunEndsItAtTheFirstCandidate) {
    std::stop_source stop;
    stop.request_stop();
    TQuillprint engine(kTestLocale);
    engine.SetStopToken(stop.get_token());
    EXPECT_THROW(engine.AddAuthor(u"Anna", u"the cat sat"), TCalculationCancelled);
}

TEST(Cancellation, EachStageStopsBeforeTheNextBegins) {
    for (const TEnginePhase stopAt : {TEnginePhase::FindingPhrases, TEnginePhase::Scoring}) {
        std::stop_source stop;
        std::vector<TEnginePhase> reached;
        TQuillprint engine(kTestLocale);
        engine.SetStopToken(stop.get_token());
        engine.SetPhaseHandler([&](TEnginePhase phase) {
            reached.push_back(phase);
            if (phase == stopAt) stop.request_stop();
        });
        engine.AddAuthor(u"Anna", u"the cat sat on the mat and the cat sat on the mat");
        EXPECT_THROW(engine.Detect(u"the cat sat on the mat"), TCalculationCancelled);
        EXPECT_EQ(reached.back(), stopAt);
    }
}

TEST(Cancellation, WithoutAStopTheRunIsUnchanged) {
    const std::u16string candidate = u"the cat sat on the mat and the cat sat on the mat";
    TQuillprint plain(kTestLocale);
    plain.AddAuthor(u"Anna", candidate);
    std::stop_source stop;
    std::vector<TEnginePhase> reached;
    TQuillprint watched(kTestLocale);
    watched.SetStopToken(stop.get_token());
    watched.SetPhaseHandler([&](TEnginePhase phase) { reached.push_back(phase); });
    watched.AddAuthor(u"Anna", candidate);
    EXPECT_EQ(watched.Detect(u"the cat sat on the mat"), plain.Detect(u"the cat sat on the mat"));
    EXPECT_EQ(reached, (std::vector<TEnginePhase>{TEnginePhase::FindingPhrases, TEnginePhase::Scoring}));
}

// The long stages outside the phrase search ask for the stop too (every
// 65,536 steps at most), so a stop requested before them ends them at once.
TEST(Cancellation, EveryLongStageHearsTheStop) {
    std::stop_source source;
    source.request_stop();
    const std::stop_token stop = source.get_token();
    const std::vector<int32_t> sequence(200'000, 1);
    TWordList words;
    for (int i = 0; i < 1000; ++i) words.push_back(u"w" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)));
    const TCollation collation(kTestLocale);
    const std::vector<std::pair<const char*, std::function<void()>>> stages = {
        {"suffix array", [&] { BuildSuffixArray(sequence, 2, stop); }},
        {"LCP array", [&] { BuildLcpArray(sequence, BuildSuffixArray(sequence, 2), stop); }},
        {"collation ranks",
         [&] {
             collation.Ranks({u"a", u"b"}, stop);
         }},
        {"copy search", [&] { FindCopiedPassages({words}, words, collation, 5, stop); }},
        {"budget count", [&] { ReportRepeats(words, {}, 5, stop); }},
    };
    for (const auto& [name, stage] : stages) EXPECT_THROW(stage(), TCalculationCancelled) << name;
}

}  // namespace
}  // namespace quillprint::testing
