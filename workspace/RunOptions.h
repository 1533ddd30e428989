// The settings the next runs are made with: the window's toggles and the
// number of threads. Each setter says whether the value changed, so the
// owner can mark the shown results out of date.
#pragma once

#include <cstdint>
#include <optional>

#include "engine/CopyFinder.h"
#include "engine/WordSplitter.h"
#include "workspace/JobPool.h"
#include "workspace/RunRequest.h"

namespace quillprint {

class TRunOptions {
public:
    // Every candidate sampled to an equal size over several draws.
    bool Balance() const { return FBalance; }
    bool SetBalance(bool balance) { return Change(FBalance, balance); }
    // "Calculate" attributes every text of "Unknown" on its own.
    bool EachText() const { return FEachText; }
    bool SetEachText(bool eachText) { return Change(FEachText, eachText); }
    // Runs of scripts written without spaces split into dictionary words.
    TWordSplitting Splitting() const { return FSplitting; }
    bool SplitWordsByLanguage() const { return FSplitting == TWordSplitting::Language; }
    bool SetSplitWordsByLanguage(bool byLanguage) {
        return Change(FSplitting, byLanguage ? TWordSplitting::Language : TWordSplitting::Spaces);
    }
    // Passages of at least CopyWords() words shared with a candidate are
    // left out of the disputed text.
    bool LeaveOutCopies() const { return FLeaveOutCopies; }
    bool SetLeaveOutCopies(bool leaveOut) { return Change(FLeaveOutCopies, leaveOut); }
    int32_t CopyWords() const { return FCopyWords; }
    // At least one word; says whether the words asked for differ.
    bool SetCopyWords(int32_t words) {
        const bool changed = words != FCopyWords;
        FCopyWords = words < 1 ? 1 : words;
        return changed;
    }
    // Projects loaded from now on read what links out of their folder point to.
    bool FollowLinks() const { return FFollowLinks; }
    void SetFollowLinks(bool follow) { FFollowLinks = follow; }
    // Threads of a run (at least one); results never depend on it.
    unsigned Jobs() const { return FJobs; }
    void SetJobs(unsigned jobs) { FJobs = jobs < 1 ? 1 : jobs; }
    // The validation report tests every candidate, however many: by default
    // past kValidationReportSample only every m-th.
    bool ValidateEveryCandidate() const { return FValidateEveryCandidate; }
    void SetValidateEveryCandidate(bool every) { FValidateEveryCandidate = every; }
    // Cross-validation's excerpts: nothing, the disputed text's length; 0,
    // whole texts.
    const std::optional<int64_t>& ExcerptWords() const { return FExcerptWords; }
    void SetExcerptWords(std::optional<int64_t> words) { FExcerptWords = words; }

    // The request's settings as these options say, for a run of `kind`.
    void ApplyTo(TRunRequest& request) const {
        request.Balance = FBalance;
        request.LeaveOutCopies = FLeaveOutCopies ? FCopyWords : 0;
        request.Splitting = FSplitting;
        request.CopyWords = FCopyWords;
        request.Jobs = FJobs;
        if (FValidateEveryCandidate) request.ValidationReportSample = 0;
        request.ExcerptWords = FExcerptWords;
    }

private:
    template <typename T>
    static bool Change(T& field, T value) {
        const bool changed = field != value;
        field = value;
        return changed;
    }

    bool FBalance = false;
    bool FEachText = false;
    TWordSplitting FSplitting = TWordSplitting::Spaces;
    bool FLeaveOutCopies = false;
    int32_t FCopyWords = kDefaultCopyWords;
    bool FFollowLinks = false;
    unsigned FJobs = DefaultJobs();
    bool FValidateEveryCandidate = false;
    std::optional<int64_t> FExcerptWords;
};

}  // namespace quillprint
