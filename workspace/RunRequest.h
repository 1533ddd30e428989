// Everything a calculation needs, copied out of the author tree and the text
// view before it starts, so that it can run on another thread while the user
// goes on looking at the project. Files are read by the run itself.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/WordSplitter.h"
#include "workspace/BalancedSample.h"
#include "workspace/EachText.h"
#include "workspace/ProjectFolder.h"
#include "workspace/TextReader.h"
#include "workspace/ValidationReport.h"

namespace quillprint {

// What a run computes.
enum class TRunKind {
    Calculation,       // "Unknown" against every candidate
    ValidationRun,     // the first candidate's last fifth of lines against every candidate
    EachText,          // every text of "Unknown" on its own
    ValidationReport,  // one validation run per candidate
    CrossValidation,   // each known text held out in turn
    CopiedPassages,    // the passages "Unknown" shares word for word with a candidate
};

// How the switch that leaves copies out is named to the user: the window's
// toggle, and the command line's option.
inline constexpr const char* kLeaveOutCopiesName = "\"Leave out copied passages\"";
inline constexpr const char* kWithoutCopiesOption = "\"Leave out copied passages\" (--without-copies)";

// One text entry: a file to read, or lines held in memory.
struct TTextSource {
    std::u16string Label;
    std::u16string Path;         // read when there are no lines in memory
    std::optional<TLines> Lines;
};

// One author entry of the tree, in tree order.
struct TAuthorSource {
    std::u16string Label;
    std::vector<TTextSource> Texts;
};

struct TRunRequest {
    TRunKind Kind = TRunKind::Calculation;
    std::vector<TAuthorSource> Authors;
    std::string LocaleName;
    std::string CodePage;  // legacy code page of files without a byte-order mark
    bool Balance = false;
    int32_t LeaveOutCopies = 0;  // shortest copied passage left out of the test text; 0: none
    // How the refusal of a copy too long to compare names the switch that
    // leaves copies out: the window's toggle unless the command line says so.
    std::string LeaveOutSwitchName = kLeaveOutCopiesName;
    TWordSplitting Splitting = TWordSplitting::Spaces;
    int32_t CopyWords = 1;       // CopiedPassages: the shortest passage listed
    // EachText: only the texts of "Unknown" whose 0-based position p has
    // p % ShardCount == ShardIndex; the first text's engine kept or not
    // (TEachTextOptions::KeepFirstEngine).
    int32_t ShardIndex = 0;
    int32_t ShardCount = 1;
    bool KeepFirstEngine = false;
    unsigned Jobs = 1;     // threads: "Each text" calculates this many texts at once, the others spread their parts
    // Cross-validation: the words of each held-out excerpt (nothing: as many
    // as the disputed text has; 0: whole texts) and the seed of the excerpts.
    std::optional<int64_t> ExcerptWords;
    uint64_t Seed = 1;
    // ValidationReport: past this many candidates only every m-th is tested
    // (see RunValidationReport); 0: every one.
    int32_t ValidationReportSample = kValidationReportSample;
};

// Where a run is; several fields may be set at once.
enum class TRunPhase { Reading, FindingPhrases, Scoring, Texts, Checks };
struct TRunProgress {
    TRunPhase Phase = TRunPhase::Reading;
    int32_t Done = 0;   // Reading: texts read; Texts: texts attributed; Checks: checks made
    int32_t Total = 0;  // of how many
    int32_t Draw = 0;   // a balanced run's draw under way, 1-based; 0 when not balanced
    int32_t Draws = 0;
    int32_t Candidate = 0;  // the validation report's candidate under test, 1-based; 0 otherwise
    int32_t Candidates = 0;
};

// Called after every texts read.
using TReadProgress = std::function<void(int32_t done, int32_t total)>;

// The label of the test author: the entry whose label is exactly this
// holds the disputed text and is no candidate.
inline constexpr std::u16string_view kUnknownLabel = u"Unknown";

// What the user is told about a project folder without "Unknown", and
// about one with two of them (which would be read depends on the file system).
inline constexpr std::u16string_view kNoUnknownMessage = u"Please add \"Unknown\" folder for analysis";
inline constexpr std::u16string_view kTwoUnknownMessage = u"Two folders are named \"Unknown\" in different letter case";

// An entry of the project folder that is listed but not read: an author
// folder (no `Text`) or a file of an author folder.
struct TSetAsideEntry {
    std::u16string Author;  // the author's label: "Unknown" for that folder in any letter case
    std::u16string Text;    // the file's name; empty for the author folder itself
    TSetAsideKind Kind = TSetAsideKind::OutsideLink;
};

// The project folder `projectDir` (ending with a separator) as the author
// tree shows it: "Unknown" first, then the other author folders, each with
// its files, in listing order. Nothing when it has no folder "Unknown" or
// two of them; `refusal` then says which. A link leading out of the project
// is followed only with `followLinks`; what is set aside (such links, and
// files that are no text) is appended to `setAside`, author folders first,
// then the files of each author in tree order. A folder of the project that
// cannot be listed or entered throws TFolderReadError.
std::optional<std::vector<TAuthorSource>> ProjectAuthors(std::u16string_view projectDir,
                                                         std::u16string* refusal = nullptr, bool followLinks = false,
                                                         std::vector<TSetAsideEntry>* setAside = nullptr);

// The number of texts ReadCandidates reads for `withTest`.
int32_t TextsToRead(const TRunRequest& request, bool withTest);

// Every candidate's lines with its text boundaries, in tree order. With
// `test`, the entry "Unknown" is read too and its lines, joined, become the
// test text (a later entry so labelled replaces an earlier one). Reading
// stops at the first file that cannot be read (TFileReadError). With
// `unknown` too, the lines of "Unknown" with their text boundaries.
std::vector<TCandidateLines> ReadCandidates(const TRunRequest& request, std::u16string* test,
                                            const TReadProgress& progress = {}, std::stop_token stop = {},
                                            TCandidateLines* unknown = nullptr);

// How many text entries "Unknown" has (every entry so labelled counts).
size_t DisputedTextCount(const TRunRequest& request);

// Every text entry of "Unknown", in tree order, read one by one; a text that
// cannot be read carries its error. With `wanted`, only the texts whose
// 0-based position it accepts are read and returned.
std::vector<TDisputedText> ReadDisputedTexts(const TRunRequest& request,
                                             const std::function<bool(size_t)>& wanted = {},
                                             const TReadProgress& progress = {}, std::stop_token stop = {});

}  // namespace quillprint
