#include "workspace/CalculationService.h"

#include <algorithm>
#include <new>
#include <utility>

#include "engine/EngineError.h"
#include "engine/Text.h"
#include "workspace/CopiedPassages.h"
#include "workspace/HeldBackLines.h"
#include "workspace/LanguageHint.h"

namespace quillprint {

namespace {

// Collects the progress of one run, told from any of its threads, and hands
// a copy to `progress` on every change, never two at once.
class TProgressReport {
public:
    explicit TProgressReport(const TProgressHandler& progress) : FSink(progress) {}

    TReadProgress Reading() {
        return [this](int32_t done, int32_t total) {
            FSink.Update([&](TRunProgress& state) {
                state.Phase = TRunPhase::Reading;
                state.Done = done;
                state.Total = total;
            });
        };
    }
    TRunHooks Hooks(std::stop_token stop, const TRunRequest& request) {
        TRunHooks hooks;
        hooks.Stop = std::move(stop);
        hooks.Jobs = request.Jobs;
        hooks.Splitting = request.Splitting;
        hooks.EnginePhase = [this](TEnginePhase phase) {
            FSink.Update([&](TRunProgress& state) {
                state.Phase = phase == TEnginePhase::Scoring ? TRunPhase::Scoring : TRunPhase::FindingPhrases;
            });
        };
        hooks.Draw = [this](int32_t draw, int32_t draws) {
            FSink.Update([&](TRunProgress& state) {
                state.Draw = draw;
                state.Draws = draws;
            });
        };
        return hooks;
    }
    // Runs of the validation report end in any order: the count only grows.
    void Candidate(int32_t candidate, int32_t candidates) {
        FSink.Update([&](TRunProgress& state) {
            state.Candidate = std::max(state.Candidate, candidate);
            state.Candidates = candidates;
        });
    }
    // A phase counted in whole items: the texts of "Each text", the checks.
    void Counted(TRunPhase phase, int32_t done, int32_t total) {
        FSink.Update([&](TRunProgress& state) {
            state = {};
            state.Phase = phase;
            state.Done = done;
            state.Total = total;
        });
    }

    // What the run is doing, in the words of the out-of-memory message.
    std::string Step(const TRunRequest& request) const {
        const TRunPhase phase = FSink.Snapshot().Phase;
        if (phase == TRunPhase::Reading) return "reading the texts";
        if (phase == TRunPhase::Texts) return "calculating each text";
        if (phase == TRunPhase::Checks) return "running the checks";
        if (request.Kind == TRunKind::ValidationReport) return "running the validation report";
        if (request.Kind == TRunKind::CopiedPassages) return "finding the copied passages";
        return request.Balance ? "calculating the balanced draws" : "finding the repeated phrases";
    }

private:
    TJobProgress FSink;
};

}  // namespace

std::string OutOfMemoryMessage(std::string_view step) {
    return "Not enough memory to calculate this project: it ran out while " + std::string(step) + ".";
}

namespace {

bool SplittingHint(const TRunRequest& request, const std::vector<TCandidateLines>& candidates,
                   const std::vector<std::u16string_view>& tests) {
    return request.Splitting == TWordSplitting::Spaces && MostlyWithoutSpaces(candidates, tests);
}

TRunOutcome ExecuteReported(const TRunRequest& request, TProgressReport& report, std::stop_token stop,
                            const TEachTextEvents& events) {
    TRunOutcome outcome;
    outcome.Kind = request.Kind;
    switch (request.Kind) {
        case TRunKind::Calculation: {
            std::u16string test;
            TCandidateLines unknown;
            auto candidates = ReadCandidates(request, &test, report.Reading(), stop, &unknown);
            outcome.SplittingHint = SplittingHint(request, candidates, {test});
            try {
                outcome.Result = RunCalculation(candidates, test, request.LocaleName, request.Balance,
                                                request.LeaveOutCopies, report.Hooks(stop, request));
            } catch (const TPassageTooLongError& error) {
                // Reworded with the text entries and lines of the passages.
                if (!error.Details()) throw;
                candidates.push_back(std::move(unknown));
                throw TPassageTooLongError(DescribeRefusalWithPlaces(*error.Details(), candidates, request.Splitting,
                                                                     request.LeaveOutSwitchName),
                                           error.Details());
            }
            break;
        }
        case TRunKind::ValidationRun: {
            std::u16string test;
            auto candidates = ReadCandidates(request, &test, report.Reading(), stop);
            outcome.SplittingHint = SplittingHint(request, candidates, {test});
            test.clear();
            // Only a first entry that is a candidate holds lines back.
            if (!request.Authors.empty() && request.Authors.front().Label != kUnknownLabel)
                test = HoldBackLines(candidates.front().Lines);
            outcome.Result = RunCalculation(candidates, test, request.LocaleName, request.Balance,
                                            request.LeaveOutCopies, report.Hooks(stop, request));
            break;
        }
        case TRunKind::ValidationReport: {
            std::u16string test;
            const auto candidates = ReadCandidates(request, &test, report.Reading(), stop);
            outcome.SplittingHint = SplittingHint(request, candidates, {test});
            outcome.Result = RunValidationReport(
                candidates, request.LocaleName, request.Balance, report.Hooks(stop, request),
                [&](int32_t done, int32_t total) {
                    if (done < total) report.Candidate(done + 1, total);
                },
                request.ValidationReportSample);
            break;
        }
        case TRunKind::CrossValidation: {
            std::u16string test;
            const auto candidates = ReadCandidates(request, &test, report.Reading(), stop);
            TCrossValidationSettings settings;
            settings.LocaleName = request.LocaleName;
            settings.Balance = request.Balance;
            settings.LeaveOutCopies = request.LeaveOutCopies;
            settings.Splitting = request.Splitting;
            settings.ExcerptWords = request.ExcerptWords.value_or(ExcerptWordsFor(test));
            settings.Seed = request.Seed;
            settings.Jobs = request.Jobs;
            outcome.Result = RunCrossValidation(
                candidates, settings,
                [&](int32_t done, int32_t total) { report.Counted(TRunPhase::Checks, done, total); }, stop);
            break;
        }
        case TRunKind::CopiedPassages: {
            std::u16string test;
            TCandidateLines unknown;
            const auto candidates = ReadCandidates(request, &test, report.Reading(), stop, &unknown);
            outcome.SplittingHint = SplittingHint(request, candidates, {test});
            outcome.Result = TCopiedPassagesResult{
                FindCopyRows(candidates, unknown, request.LocaleName, request.CopyWords, request.Splitting, stop)};
            break;
        }
        case TRunKind::EachText: {
            const auto candidates = ReadCandidates(request, nullptr, report.Reading(), stop);
            const auto shardCount = static_cast<size_t>(std::max(request.ShardCount, 1));
            const auto shardIndex = static_cast<size_t>(std::max(request.ShardIndex, 0));
            const auto texts = ReadDisputedTexts(
                request, [&](size_t position) { return position % shardCount == shardIndex; }, report.Reading(), stop);
            std::vector<std::u16string_view> tests;
            for (const TDisputedText& text : texts) tests.push_back(text.Test);
            outcome.SplittingHint = SplittingHint(request, candidates, tests);
            if (events.Started) events.Started(texts.size(), outcome.SplittingHint);
            TEachTextOptions options;
            options.LocaleName = request.LocaleName;
            options.Balance = request.Balance;
            options.LeaveOutCopies = request.LeaveOutCopies;
            options.Jobs = request.Jobs;
            options.Splitting = request.Splitting;
            options.KeepFirstEngine = request.KeepFirstEngine;
            const auto total = static_cast<int32_t>(texts.size());
            int32_t done = 0;
            report.Counted(TRunPhase::Texts, 0, total);
            outcome.Result = TEachTextResult{RunEachText(
                candidates, texts, options,
                [&](size_t index, const TTextOutcome& text) {
                    if (events.Finished) events.Finished(index, text);
                    report.Counted(TRunPhase::Texts, ++done, total);
                },
                stop)};
            // A stop request between two texts starts no more of them.
            if (stop.stop_requested()) throw TCalculationCancelled();
            break;
        }
    }
    return outcome;
}

}  // namespace

TRunOutcome ExecuteRun(const TRunRequest& request, const TProgressHandler& progress, std::stop_token stop,
                       const TEachTextEvents& events) {
    TProgressReport report(progress);
    try {
        return ExecuteReported(request, report, stop, events);
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

TCalculationService::TRunState::TRunState(std::function<void()> wake) : Wake(std::move(wake)) {}

void TCalculationService::TRunState::CallWake() {
    std::function<void()> wake;
    {
        const std::lock_guard lock(Mutex);
        if (!Wake) return;
        wake = Wake;
        ++Waking;
    }
    wake();
    {
        const std::lock_guard lock(Mutex);
        --Waking;
    }
    WakeReturned.notify_all();
}

TCalculationService::TCalculationService(std::function<void()> wake) : FWake(std::move(wake)) {}

TCalculationService::~TCalculationService() {
    if (!FRun) return;
    FJob->RequestStop();
    // No call may reach the owner once it is gone.
    std::unique_lock lock(FRun->Mutex);
    FRun->Wake = nullptr;
    FRun->WakeReturned.wait(lock, [this] { return FRun->Waking == 0; });
}

void TCalculationService::Start(TRunRequest request, std::function<void(std::stop_token)> hold) {
    FRun = std::make_shared<TRunState>(FWake);
    FRunning = true;
    FJob = TJobPool::Shared().Start([run = FRun, request = std::move(request),
                                     hold = std::move(hold)](std::stop_token stop) {
        if (hold) hold(stop);
        TRunEnd end = ExecuteRunCaught(
            request,
            [&run](const TRunProgress& progress) {
                run->Progress.Update([&](TRunProgress& state) { state = progress; });
                // Outside the progress's lock, so the owner can read it meanwhile.
                run->CallWake();
            },
            stop);
        {
            const std::lock_guard lock(run->Mutex);
            run->End = std::move(end);
        }
        run->CallWake();
    });
}

void TCalculationService::Cancel() {
    if (FJob) FJob->RequestStop();
}

TRunProgress TCalculationService::Progress() const { return FRun ? FRun->Progress.Snapshot() : TRunProgress{}; }

std::optional<TRunEnd> TCalculationService::TakeEnd() {
    if (!FRun) return std::nullopt;
    std::optional<TRunEnd> end;
    {
        const std::lock_guard lock(FRun->Mutex);
        end = std::exchange(FRun->End, std::nullopt);
    }
    if (end) FRunning = false;
    return end;
}

}  // namespace quillprint
