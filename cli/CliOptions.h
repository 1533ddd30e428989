// The command line of quillprint-cli.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quillprint::cli {

enum class TTable { Result, Analysis, Stylometry };

struct TCliOptions {
    std::string LocaleName;  // empty: the user's locale
    bool Validation = false;
    bool ValidationReport = false;
    bool AllCandidates = false;  // the validation report tests every candidate
    bool Balance = false;
    bool SplitByLanguage = false;  // --split-words language
    bool Copies = false;         // list the copied passages instead of calculating
    bool WithoutCopies = false;  // leave them out of the unknown text
    int32_t CopyWords = 50;      // shortest copied passage, in words
    TTable Table = TTable::Result;
    int32_t Author = 0;
    bool Summary = false;
    bool Json = false;
    bool JsonFull = false;  // --json-full: each phrase record with its own text
    bool Quiet = false;     // no progress line on a terminal
    bool ReadOnly = false;  // benchmark aid: read and decode every text, nothing else
    bool EachText = false;  // every text of "Unknown" on its own
    unsigned Jobs = 0;      // calculations at once; 0: one per core
    int32_t ShardIndex = 1;  // this run takes the texts at positions ShardIndex - 1 modulo ShardCount
    int32_t ShardCount = 1;
    bool NoHeader = false;
    bool FollowLinks = false;  // links leading out of the project folder are read too
    bool Help = false;
    std::string ProjectDir;
    // --report FILE: the report of the calculation as a PDF (or HTML, by the
    // file's extension) instead of a table.
    std::string ReportFile;
    // --extract CHAT_FILE with --participants or --into DIR (see CliExtract.h).
    std::string ExtractFile;
    bool Participants = false;
    std::string IntoDir;
    std::string UnknownParticipant;  // --unknown: entry or name
    // --cross-validate: each known text held out in turn; --confidence: the
    // calculation with how far its answer can be trusted.
    bool CrossValidate = false;
    bool Confidence = false;
    std::optional<int64_t> ExcerptWords;  // words held out per check; 0: whole texts
    bool ExcerptGiven = false;
    uint64_t Seed = 1;
    bool SeedGiven = false;
    int32_t ThresholdPercent = 80;  // below this chance the verdict reads "Cannot tell"
    bool ThresholdGiven = false;
};

// Parses the arguments after the program name. Returns the options, or sets
// `error` to a message for the user.
std::optional<TCliOptions> ParseOptions(const std::vector<std::string>& args, std::string& error);

// The text --help prints.
std::string UsageText();

}  // namespace quillprint::cli
