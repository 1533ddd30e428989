// A calculation stopped from another thread ends with TCalculationCancelled
// at the next check, whichever stage it is in.
#include <gtest/gtest.h>

#include <stop_token>
#include <vector>

#include "EngineTestHelpers.h"
#include "engine/EngineError.h"
#include "engine/Quillprint.h"

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

}  // namespace
}  // namespace quillprint::testing
