// quillprint-cli --json, whose phrase records point into the texts, against
// --json-full, which writes each record's own text as earlier versions did:
// decoded by tools/json_full.py, the first gives back the second byte for
// byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CliRun.h"
#include "TempProject.h"

namespace quillprint {
namespace {

namespace fs = std::filesystem;
using testing::Quoted;
using testing::RunCli;
using testing::Slurp;
using testing::TRun;
using testing::TTempFolder;

// --json of `project` (with `options`) through the decoder.
TRun DecodedJson(const std::string& options, const fs::path& project) {
    return RunCli("--locale en_US --json " + options + " " + Quoted(project.string()) + " | " +
                  Quoted(QUILLPRINT_PYTHON) + " " + Quoted(QUILLPRINT_JSON_FULL));
}

TEST(JsonReferences, DecodeToTheGoldenFullText) {
    const TRun decoded = DecodedJson("", QUILLPRINT_TUTORIAL_DIR);
    EXPECT_EQ(decoded.Exit, 0) << decoded.Err;
    EXPECT_EQ(decoded.Out, Slurp(fs::path(QUILLPRINT_GOLDEN_DIR) / "tutorial-engine.json"));
    const TRun full = RunCli("--locale en_US --json-full " + Quoted(QUILLPRINT_TUTORIAL_DIR));
    EXPECT_EQ(full.Out, Slurp(fs::path(QUILLPRINT_GOLDEN_DIR) / "tutorial-engine.json"));
}

// A repeated passage (records in runs), control characters and quotes in
// words and names, a copied passage left out (records that stop at a cut),
// and a balanced run.
TEST(JsonReferences, DecodeToTheFullTextOnHardProjects) {
    TTempFolder project;
    std::string passage;
    for (int w = 0; w < 200; ++w) passage += "word" + std::to_string(w % 37) + (w % 11 == 0 ? "\n" : " ");
    project.Write("Cand\x1b\"one/a.txt", "she said \"so \x07 be it\" \\ and \x7f left " + passage);
    project.Write("Two/b.txt", "and so be it the end " + passage.substr(0, 300));
    project.Write("Unknown/u.txt", passage + " so be it and \x01 then");
    for (const std::string options : {"", "--without-copies --copy-words 20", "--balance"}) {
        const TRun full = RunCli("--locale en_US --json-full " + options + " " + Quoted(project.Path().string()));
        const TRun decoded = DecodedJson(options, project.Path());
        ASSERT_EQ(full.Exit, 0) << options << full.Err;
        EXPECT_EQ(decoded.Exit, 0) << options << decoded.Err;
        EXPECT_EQ(decoded.Out, full.Out) << options;
    }
}

// A passage of 700 words shared by a candidate and "Unknown": its records
// would hold about n^3/6 words, so --json-full is refused; --json prints
// the 67,972 phrases kept, all with the same counts, as one number each
// (with their counts, some 60 bytes each, they would take 4 MB).
TEST(JsonReferences, FullTextRefusedPastItsLimit) {
    TTempFolder project;
    std::string passage;
    for (int w = 0; w < 700; ++w) passage += "w" + std::to_string(w) + ' ';
    project.Write("Author/a.txt", passage);
    project.Write("Unknown/u.txt", passage);
    const TRun full = RunCli("--locale en_US --json-full " + Quoted(project.Path().string()));
    EXPECT_EQ(full.Exit, 2);
    EXPECT_TRUE(full.Out.empty());
    EXPECT_NE(full.Err.find("--json-full refused"), std::string::npos) << full.Err;
    const TRun references = RunCli("--locale en_US --json " + Quoted(project.Path().string()));
    EXPECT_EQ(references.Exit, 0) << references.Err;
    EXPECT_LT(references.Out.size(), 600'000U);
}

}  // namespace
}  // namespace quillprint
