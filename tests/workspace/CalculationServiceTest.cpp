// Calculations on a worker thread: the same results as on the caller's
// thread, progress in order, and a cancelled run that changes nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <latch>
#include <optional>
#include <semaphore>

#include "FakeViews.h"
#include "SampleText.h"
#include "TempProject.h"
#include "engine/Text.h"
#include "workspace/CalculationService.h"
#include "workspace/Grid.h"
#include "workspace/Workspace.h"

namespace quillprint {
namespace {

using testing::Sample;
using testing::TTempFolder;

class CalculationService : public ::testing::Test, protected testing::TWorkspaceFixture {
protected:
    void SetUp() override {
        Project.Write("Unknown/u.txt", Sample(11, 20));
        Project.Write("Alpha/a1.txt", Sample(11, 60));
        Project.Write("Alpha/a2.txt", Sample(12, 60));
        // Past the smallest sample size, so a balanced run makes nine different draws.
        Project.Write("Beta/b.txt", Sample(7, 700));
        Workspace.LoadProject(Project.Dir());
    }

    // From now on runs go to the pool; each wake runs `onWake` (when given)
    // and then lets WaitForEnd look.
    void InBackground(std::function<void()> onWake = {}) {
        Workspace.RunInBackground([this, onWake = std::move(onWake)] {
            if (onWake) onWake();
            Wakes.release();
        });
    }

    // Collects the run's end on this thread each time the run wakes it, as
    // the window does.
    void WaitForEnd() {
        for (Workspace.CollectRun(); Workspace.Runs().Running(); Workspace.CollectRun())
            ASSERT_TRUE(Wakes.try_acquire_for(std::chrono::minutes(1))) << "the run never woke its owner";
    }

    // Declared first: the workspace's last wake may still be under way while it goes.
    std::counting_semaphore<> Wakes{0};
    TWorkspace Workspace{u"/opt/quillprint/", "en_US", View, Messages, Observer};
    TTempFolder Project;
};

TEST_F(CalculationService, ABackgroundRunShowsWhatARunOnTheCallersThreadShows) {
    Workspace.SetBalance(true);
    Workspace.Calculate();
    const std::u16string atOnce = CopyGrid(Workspace.Results().ResultTable());
    const std::u16string summary = Workspace.Results().Summary();

    InBackground();
    Workspace.ShowPage(TPage::InputData);  // makes nothing out of date
    Workspace.SetBalance(false);
    Workspace.SetBalance(true);
    Workspace.Calculate();
    EXPECT_TRUE(Workspace.Runs().Running());
    WaitForEnd();
    EXPECT_EQ(CopyGrid(Workspace.Results().ResultTable()), atOnce);
    EXPECT_EQ(Workspace.Results().Summary(), summary);
    EXPECT_EQ(Observer.Ends, (std::vector<TRunEndState>{TRunEndState::Finished, TRunEndState::Finished}));
    EXPECT_EQ(Observer.Pages.back(), TPage::Result);
}

TEST_F(CalculationService, ACancelledRunLeavesResultsTablesAndPageAsTheyWere) {
    Workspace.Calculate();
    Workspace.ShowPage(TPage::Stylometry);
    const TQuillprint* engine = Workspace.Results().Engine();
    const std::u16string result = CopyGrid(Workspace.Results().ResultTable());
    const std::u16string analysis = CopyGrid(Workspace.Results().AnalysisTable());
    const std::u16string stylometry = CopyGrid(Workspace.Results().StylometryTable());
    const size_t pages = Observer.Pages.size();

    // The worker waits in its first progress report until the stop is requested.
    std::latch reported(1), stopped(1);
    bool first = true;
    InBackground([&] {
        if (!std::exchange(first, false)) return;
        reported.count_down();
        stopped.wait();
    });
    Workspace.SetBalance(true);
    Workspace.Calculate();
    reported.wait();
    Workspace.CancelRun();
    stopped.count_down();
    WaitForEnd();

    EXPECT_EQ(Observer.Ends.back(), TRunEndState::Cancelled);
    EXPECT_EQ(Workspace.Results().Engine(), engine);
    EXPECT_EQ(CopyGrid(Workspace.Results().ResultTable()), result);
    EXPECT_EQ(CopyGrid(Workspace.Results().AnalysisTable()), analysis);
    EXPECT_EQ(CopyGrid(Workspace.Results().StylometryTable()), stylometry);
    EXPECT_EQ(Workspace.Results().ChosenAuthor(), 0);
    EXPECT_EQ(Observer.Pages.size(), pages);
    EXPECT_FALSE(Workspace.Results().OutOfDate());
    EXPECT_TRUE(Messages.Errors.empty());
}

TEST_F(CalculationService, CrossValidationInTheBackgroundAddsTheTrustBesideTheResultAndChangesNoTable) {
    Workspace.Calculate();
    const std::u16string result = CopyGrid(Workspace.Results().ResultTable());
    const TQuillprint* engine = Workspace.Results().Engine();
    EXPECT_EQ(Workspace.Results().TrustLines().front().rfind(u"Cosine Delta: ", 0), 0u);

    InBackground();
    Workspace.CrossValidate(0);
    EXPECT_TRUE(Workspace.Runs().Running());
    WaitForEnd();
    EXPECT_EQ(Observer.Ends.back(), TRunEndState::Finished);
    ASSERT_TRUE(Workspace.Results().CrossValidation());
    EXPECT_EQ(Workspace.Results().CrossValidation()->Checks.size(),
              2u + 5u);  // Alpha's two files, Beta's one in five parts
    EXPECT_EQ(Workspace.Results().Engine(), engine);
    EXPECT_EQ(CopyGrid(Workspace.Results().ResultTable()), result);
    const std::vector<std::u16string> trust = Workspace.Results().TrustLines();
    ASSERT_GE(trust.size(), 4u);
    EXPECT_EQ(trust[0].rfind(u"Chance that ", 0), 0u);
    EXPECT_EQ(trust[1].rfind(u"Verdict: ", 0), 0u);
    EXPECT_EQ(trust[2].rfind(u"Cosine Delta: ", 0), 0u);
    EXPECT_EQ(trust[3].rfind(u"The disputed text has ", 0), 0u);

    // Checks of one project say nothing about another.
    Workspace.LoadProject(Project.Dir());
    EXPECT_FALSE(Workspace.Results().CrossValidation());
}

TEST_F(CalculationService, ACancelledRunIsStartedAgainOnlyByTheUser) {
    std::latch reported(1), stopped(1);
    bool first = true;
    InBackground([&] {
        if (!std::exchange(first, false)) return;
        reported.count_down();
        stopped.wait();
    });
    Workspace.Calculate();
    reported.wait();
    Workspace.CancelRun();
    stopped.count_down();
    WaitForEnd();
    ASSERT_EQ(Observer.Ends.back(), TRunEndState::Cancelled);

    // The results are out of date, yet another page starts nothing.
    Workspace.ShowPage(TPage::Result);
    Workspace.ShowPage(TPage::Analysis);
    EXPECT_FALSE(Workspace.Runs().Running());
    EXPECT_EQ(Observer.Started, 1);
    Workspace.Calculate();
    WaitForEnd();
    EXPECT_EQ(Observer.Started, 2);
    EXPECT_EQ(Observer.Ends.back(), TRunEndState::Finished);
}

TEST_F(CalculationService, WhileARunIsUnderWayTheProjectCannotChange) {
    std::latch reported(1), release(1);
    bool first = true;
    InBackground([&] {
        if (!std::exchange(first, false)) return;
        reported.count_down();
        release.wait();
    });
    Workspace.Calculate();
    reported.wait();
    const size_t authors = Workspace.Project().Tree().Authors().size();
    Workspace.AddAuthor();
    Workspace.NewProject();
    Workspace.OpenExample(TExample::Tutorial);
    Workspace.SetEachText(true);
    Workspace.Calculate();  // no second run
    release.count_down();
    WaitForEnd();
    EXPECT_EQ(Workspace.Project().Tree().Authors().size(), authors);
    EXPECT_FALSE(Workspace.Options().EachText());
    EXPECT_EQ(Observer.Started, 1);
    EXPECT_EQ(Observer.Ends, std::vector<TRunEndState>{TRunEndState::Finished});
    EXPECT_TRUE(Workspace.Calculated());
}

TEST_F(CalculationService, AFailedRunMarksTheResultsOutOfDateUntilOneSucceeds) {
    Workspace.Calculate();
    std::filesystem::remove(Project.Path() / "Beta" / "b.txt");
    Workspace.Calculate();
    ASSERT_EQ(Messages.Errors.size(), 1u);
    EXPECT_NE(Messages.Errors[0].find(u"b.txt"), std::u16string::npos);
    EXPECT_EQ(Observer.Ends.back(), TRunEndState::Failed);
    EXPECT_TRUE(Workspace.Results().OutOfDate());
    EXPECT_EQ(Workspace.Results().Engine(), nullptr);
    Project.Write("Beta/b.txt", Sample(7, 700));
    Workspace.Calculate();
    EXPECT_FALSE(Workspace.Results().OutOfDate());
}

TEST_F(CalculationService, ProgressReadsEveryTextThenFollowsTheDraws) {
    TRunRequest request = Workspace.PrepareRun(TRunKind::Calculation);
    request.Balance = true;
    // One draw after another: on several threads their steps interleave.
    request.Jobs = 1;
    std::vector<TRunProgress> seen;
    ExecuteRun(request, [&](const TRunProgress& progress) { seen.push_back(progress); });
    ASSERT_GE(seen.size(), 4u);
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(seen[i].Phase, TRunPhase::Reading);
        EXPECT_EQ(seen[i].Done, i + 1);
        EXPECT_EQ(seen[i].Total, 4);
    }
    // Then each draw: its start, finding phrases, scoring.
    ASSERT_EQ(seen.size(), 4u + 3u * 9u);
    for (int32_t draw = 1; draw <= 9; ++draw) {
        const size_t at = 4 + 3 * static_cast<size_t>(draw - 1);
        EXPECT_EQ(seen[at].Draw, draw);
        EXPECT_EQ(seen[at + 1].Phase, TRunPhase::FindingPhrases);
        EXPECT_EQ(seen[at + 2].Phase, TRunPhase::Scoring);
        EXPECT_EQ(seen[at + 2].Draws, 9);
    }
}

// The owner may be slow to answer a wake: meanwhile its own calls must
// not wait for the wake, or the two threads would wait for each other.
TEST_F(CalculationService, TheOwnersCallsDoNotWaitForAWakeUnderWay) {
    std::latch inWake(1);
    std::latch ownerDone(1);
    std::atomic<bool> first{true};
    std::counting_semaphore<> wakes(0);
    TCalculationService service([&] {
        if (first.exchange(false)) {
            inWake.count_down();
            ownerDone.wait();
        }
        wakes.release();
    });
    service.Start(Workspace.PrepareRun(TRunKind::Calculation));
    inWake.wait();
    // The run is held inside its first wake.
    EXPECT_FALSE(service.TakeEnd().has_value());
    EXPECT_EQ(service.Progress().Phase, TRunPhase::Reading);
    EXPECT_TRUE(service.Running());
    ownerDone.count_down();
    std::optional<TRunEnd> end;
    while (!end) {
        wakes.acquire();
        end = service.TakeEnd();
    }
    EXPECT_TRUE(end->Outcome.has_value()) << ToUtf8(end->Error);
    EXPECT_FALSE(service.Running());
}

TEST_F(CalculationService, AStoppedRunOfEveryKindEndsCancelled) {
    for (const TRunKind kind :
         {TRunKind::Calculation, TRunKind::ValidationRun, TRunKind::EachText, TRunKind::ValidationReport}) {
        std::stop_source stop;
        stop.request_stop();
        const TRunEnd end = ExecuteRunCaught(Workspace.PrepareRun(kind), {}, stop.get_token());
        EXPECT_TRUE(end.Cancelled);
        EXPECT_FALSE(end.Outcome.has_value());
        EXPECT_TRUE(end.Error.empty());
    }
}

}  // namespace
}  // namespace quillprint
