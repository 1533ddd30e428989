// The collation locale through the whole run, from the files to the output.
// It decides the order in which a candidate's phrases are found, and words
// that compare equal without being identical stand between identical ones
// in the sorted word list and split their run, so no phrase is found.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "CliRun.h"
#include "TempProject.h"

namespace quillprint {
namespace {

using testing::Quoted;
using testing::RunCli;
using testing::TRun;
using testing::TTempFolder;

// The candidate's phrase list in the engine state: every word or phrase of
// its text that occurs twice, in the order the search found them, as the
// quoted texts that its indices into "records" point to.
std::string CandidatePhrases(const std::string& json) {
    const std::string key = "\"phrases\":[";
    const size_t start = json.find(key);
    if (start == std::string::npos) return "(no phrases in " + json.substr(0, 80) + ")";
    const size_t end = json.find(']', start);
    std::vector<size_t> indices;
    std::istringstream list(json.substr(start + key.size(), end - start - key.size()));
    for (std::string index; std::getline(list, index, ',');) indices.push_back(std::stoul(index));

    // The records: quoted texts without escapes in these cases.
    std::vector<std::string> records;
    size_t at = json.find("\"records\":[");
    if (at == std::string::npos) return "(no records)";
    at += 11;
    while (json[at] == '"') {
        const size_t close = json.find('"', at + 1);
        records.push_back(json.substr(at, close + 1 - at));
        at = close + 1;
        if (json[at] == ',') ++at;
    }
    std::string phrases;
    for (const size_t index : indices) phrases += (phrases.empty() ? "" : ",") + records.at(index);
    return phrases;
}

struct TCollationCase {
    const char* Name;
    const char* Locale;
    const char* Candidate;  // the only candidate's text; "Unknown" is empty
    const char* Phrases;    // its phrase list as the JSON writes it
};

void PrintTo(const TCollationCase& c, std::ostream* out) { *out << c.Name; }

class CliCollation : public ::testing::TestWithParam<TCollationCase> {};

TEST_P(CliCollation, DecidesEqualWordsAndTheirOrder) {
    TTempFolder project;
    project.Write("Unknown/u.txt", "");
    project.Write("Writer/w.txt", GetParam().Candidate);
    const TRun run =
        RunCli("--locale " + std::string(GetParam().Locale) + " --json-full " + Quoted(project.Path().string()));
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(CandidatePhrases(run.Out), GetParam().Phrases);
}

constexpr const char* kCzech = "hotel chata ihned cesta\nihned hotel cesta chata";
constexpr const char* kLithuanian = "yra jis ir\nir jis yra";
// "ip" twice with "İp" between them, and dotless "ıp" twice.
constexpr const char* kTurkish = "ip İp ip\nıp ıp";
// "haab" twice with "håb" between them.
constexpr const char* kDanish = "haab håb haab\nzebra zebra";
constexpr const char* kSwedish = "äpple zebra ål\nål zebra äpple";

INSTANTIATE_TEST_SUITE_P(
    Locales, CliCollation,
    ::testing::Values(
        // "ch" is one letter, after "h".
        TCollationCase{"CzechCh", "cs_CZ", kCzech, R"("cesta","hotel","chata","ihned")"},
        TCollationCase{"EnglishCh", "en_US", kCzech, R"("cesta","chata","hotel","ihned")"},
        // "y" sorts with "i", before "j".
        TCollationCase{"LithuanianY", "lt_LT", kLithuanian, R"("ir","yra","jis")"},
        TCollationCase{"EnglishY", "en_US", kLithuanian, R"("ir","jis","yra")"},
        // "İ" is the capital of "i", so "İp" compares equal to "ip" and
        // splits its run; dotless "ı" is a letter before "i".
        TCollationCase{"TurkishDottedI", "tr_TR", kTurkish, R"("ıp")"},
        TCollationCase{"EnglishDottedI", "en_US", kTurkish, R"("ip","ıp")"},
        // "aa" is another way of writing "å": "håb" splits the run of "haab".
        TCollationCase{"DanishAa", "da_DK", kDanish, R"("zebra")"},
        TCollationCase{"EnglishAa", "en_US", kDanish, R"("haab","zebra")"},
        // "å" and "ä" are letters of their own after "z".
        TCollationCase{"SwedishA", "sv_SE", kSwedish, R"("zebra","ål","äpple")"},
        TCollationCase{"EnglishA", "en_US", kSwedish, R"("ål","äpple","zebra")"}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace quillprint
