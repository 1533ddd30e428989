#include "workspace/CalculationService.h"

#include <new>
#include <utility>

#include "engine/EngineError.h"
#include "engine/Text.h"
#include "workspace/CopiedPassages.h"
#include "workspace/HeldBackLines.h"

namespace quillprint {

namespace {

// Collects the progress of one run and hands a copy to `progress` on every change.
class TProgressReport {
public:
    explicit TProgressReport(const TProgressHandler& progress) : FProgress(progress) {}

    TReadProgress Reading() {
        return [this](int32_t done, int32_t total) {
            FState.Phase = TRunPhase::Reading;
            FState.Done = done;
            FState.Total = total;
            Tell();
        };
    }
    TRunHooks Hooks(std::stop_token stop, unsigned jobs) {
        TRunHooks hooks;
        hooks.Stop = std::move(stop);
        hooks.Jobs = jobs;
        hooks.EnginePhase = [this](TEnginePhase phase) {
            FState.Phase = phase == TEnginePhase::Scoring ? TRunPhase::Scoring : TRunPhase::FindingPhrases;
            Tell();
        };
        hooks.Draw = [this](int32_t draw, int32_t draws) {
            FState.Draw = draw;
            FState.Draws = draws;
            Tell();
        };
        return hooks;
    }
    void Candidate(int32_t candidate, int32_t candidates) {
        FState.Candidate = candidate;
        FState.Candidates = candidates;
        Tell();
    }
    void Texts(int32_t done, int32_t total) {
        FState = {};
        FState.Phase = TRunPhase::Texts;
        FState.Done = done;
        FState.Total = total;
        Tell();
    }

    // What the run is doing, in the words of the out-of-memory message.
    std::string Step(const TRunRequest& request) const {
        if (FState.Phase == TRunPhase::Reading) return "reading the texts";
        if (FState.Phase == TRunPhase::Texts) return "calculating each text";
        if (request.Kind == TRunKind::ValidationReport) return "running the validation report";
        return request.Balance ? "calculating the balanced draws" : "finding the repeated phrases";
    }

private:
    void Tell() {
        if (FProgress) FProgress(FState);
    }
    const TProgressHandler& FProgress;
    TRunProgress FState;
};

}  // namespace

std::string OutOfMemoryMessage(std::string_view step) {
    return "Not enough memory to calculate this project: it ran out while " + std::string(step) + ".";
}

namespace {

TRunOutcome ExecuteReported(const TRunRequest& request, TProgressReport& report, std::stop_token stop) {
    TRunOutcome outcome;
    outcome.Kind = request.Kind;
    switch (request.Kind) {
        case TRunKind::Calculation: {
            std::u16string test;
            TCandidateLines unknown;
            auto candidates = ReadCandidates(request, &test, report.Reading(), stop, &unknown);
            try {
                outcome.Calculation = RunCalculation(candidates, test, request.LocaleName, request.Balance,
                                                     request.LeaveOutCopies, report.Hooks(stop, request.Jobs));
            } catch (const TPassageTooLongError& error) {
                // Reworded with the text entries and lines of the passages.
                if (!error.Details()) throw;
                candidates.push_back(std::move(unknown));
                throw TPassageTooLongError(DescribeRefusalWithPlaces(*error.Details(), candidates), error.Details());
            }
            break;
        }
        case TRunKind::ValidationRun: {
            std::u16string test;
            auto candidates = ReadCandidates(request, &test, report.Reading(), stop);
            test.clear();
            // Only a first entry that is a candidate holds lines back.
            if (!request.Authors.empty() && request.Authors.front().Label != kUnknownLabel)
                test = HoldBackLines(candidates.front().Lines);
            outcome.Calculation = RunCalculation(candidates, test, request.LocaleName, request.Balance,
                                                 request.LeaveOutCopies, report.Hooks(stop, request.Jobs));
            break;
        }
        case TRunKind::ValidationReport: {
            std::u16string test;
            const auto candidates = ReadCandidates(request, &test, report.Reading(), stop);
            outcome.Report = RunValidationReport(candidates, request.LocaleName, request.Balance, report.Hooks(stop, request.Jobs),
                                                 [&](int32_t done, int32_t total) {
                                                     if (done < total) report.Candidate(done + 1, total);
                                                 });
            break;
        }
        case TRunKind::EachText: {
            const auto candidates = ReadCandidates(request, nullptr, report.Reading(), stop);
            const auto texts = ReadDisputedTexts(request, {}, report.Reading(), stop);
            TEachTextOptions options;
            options.LocaleName = request.LocaleName;
            options.Balance = request.Balance;
            options.LeaveOutCopies = request.LeaveOutCopies;
            options.Jobs = request.Jobs;
            options.KeepEngines = true;
            const auto total = static_cast<int32_t>(texts.size());
            int32_t done = 0;
            report.Texts(0, total);
            outcome.Texts = RunEachText(
                candidates, texts, options, [&](size_t, const TTextOutcome&) { report.Texts(++done, total); }, stop);
            // A stop request between two texts starts no more of them.
            if (stop.stop_requested()) throw TCalculationCancelled();
            break;
        }
    }
    return outcome;
}

}  // namespace

TRunOutcome ExecuteRun(const TRunRequest& request, const TProgressHandler& progress, std::stop_token stop) {
    TProgressReport report(progress);
    try {
        return ExecuteReported(request, report, stop);
    } catch (const std::bad_alloc&) {
        throw TOutOfMemoryError(OutOfMemoryMessage(report.Step(request)));
    }
}

TRunEnd ExecuteRunCaught(const TRunRequest& request, const TProgressHandler& progress, std::stop_token stop) {
    TRunEnd end;
    try {
        end.Outcome = ExecuteRun(request, progress, stop);
    } catch (const TCalculationCancelled&) {
        end.Cancelled = true;
    } catch (const std::exception& error) {
        end.Error = FromUtf8(error.what());
    } catch (...) {
        end.Error = u"An unexpected error ended the calculation.";
    }
    return end;
}

TCalculationService::TCalculationService(std::function<void()> wake) : FWake(std::move(wake)) {}

TCalculationService::~TCalculationService() {
    FWorker.request_stop();
    if (FWorker.joinable()) FWorker.join();
}

void TCalculationService::Start(TRunRequest request) {
    if (FWorker.joinable()) FWorker.join();  // the previous run has ended: its end was taken
    {
        const std::lock_guard lock(FMutex);
        FProgress = {};
        FEnd.reset();
    }
    FRunning = true;
    FWorker = std::jthread([this, request = std::move(request)](std::stop_token stop) {
        TRunEnd end = ExecuteRunCaught(
            request,
            [this](const TRunProgress& progress) {
                {
                    const std::lock_guard lock(FMutex);
                    FProgress = progress;
                }
                FWake();
            },
            stop);
        {
            const std::lock_guard lock(FMutex);
            FEnd = std::move(end);
        }
        FWake();
    });
}

void TCalculationService::Cancel() { FWorker.request_stop(); }

TRunProgress TCalculationService::Progress() const {
    const std::lock_guard lock(FMutex);
    return FProgress;
}

std::optional<TRunEnd> TCalculationService::TakeEnd() {
    std::optional<TRunEnd> end;
    {
        const std::lock_guard lock(FMutex);
        end = std::exchange(FEnd, std::nullopt);
    }
    if (end) {
        if (FWorker.joinable()) FWorker.join();
        FRunning = false;
    }
    return end;
}

}  // namespace quillprint
