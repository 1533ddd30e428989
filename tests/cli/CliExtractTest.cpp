#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CliRun.h"
#include "TempProject.h"

namespace quillprint {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing::Quoted;
using testing::RunCli;
using testing::Slurp;
using testing::SnapshotFolder;
using testing::TRun;
using testing::TTempFolder;

const char* const kChat =
    "Date,Time,Sender Name,Sender Phone,Message\r\n"
    "01/02/2026,09:00,Ann,+100,Morning all\r\n"
    "01/02/2026,09:01,\"Smith, Bob\",+200,Hi Ann\r\n"
    "and a second line\r\n"
    "01/02/2026,09:02,Ann,+100,Coffee?\r\n"
    "01/02/2026,09:03,.cara,+300,tea please\r\n";

class CliExtract : public ::testing::Test {
protected:
    void SetUp() override { Chat = Folder.Write("group chat.txt", kChat); }
    std::string ChatArg() const { return "--extract " + Quoted(Chat.string()); }
    TTempFolder Folder;
    fs::path Chat;
};

TEST_F(CliExtract, ListsTheParticipantEntriesWithTheirLines) {
    const TRun run = RunCli(ChatArg() + " --participants");
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out, "Entry\tLines\nAnn,+100,\t2\n\"Smith, Bob\",+200,\t1\n.cara,+300,\t1\n");
    EXPECT_EQ(run.Err, "");
}

TEST_F(CliExtract, WritesAProjectThatLoads) {
    const fs::path into = Folder.Path() / "new project";
    const TRun run = RunCli(ChatArg() + " --into " + Quoted(into.string()));
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out, "Folder\tLines\nAnn\t2\nSmith, Bob\t1\n_cara\t1\nUnknown\t0\n");
    EXPECT_EQ(Slurp(into / "Ann" / "group chat.txt"), "\xEF\xBB\xBFMorning all\r\nCoffee?\r\n");
    EXPECT_EQ(Slurp(into / "Smith, Bob" / "group chat.txt"), "\xEF\xBB\xBFHi Ann and a second line\r\n");
    EXPECT_TRUE(fs::is_directory(into / "Unknown"));
    EXPECT_TRUE(fs::is_empty(into / "Unknown"));
    // The folder loads as a project: the candidates are the participants.
    const TRun calculated = RunCli("--locale en_US " + Quoted(into.string()));
    EXPECT_EQ(calculated.Exit, 0) << calculated.Err;
    EXPECT_NE(calculated.Out.find("\nSmith, Bob\t"), std::string::npos) << calculated.Out;
}

TEST_F(CliExtract, OneParticipantCanBeTheUnknownText) {
    const fs::path into = Folder.Path() / "empty";
    fs::create_directory(into);
    const TRun run = RunCli(ChatArg() + " --into " + Quoted(into.string()) + " --unknown 'Smith, Bob'");
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out, "Folder\tLines\nAnn\t2\n_cara\t1\nUnknown\t1\n");
    EXPECT_EQ(Slurp(into / "Unknown" / "group chat.txt"), "\xEF\xBB\xBFHi Ann and a second line\r\n");
    EXPECT_FALSE(fs::exists(into / "Smith, Bob"));

    const TRun byEntry = RunCli(ChatArg() + " --into " + Quoted((Folder.Path() / "other").string()) +
                                " --unknown 'Ann,+100,'");
    EXPECT_EQ(byEntry.Exit, 0) << byEntry.Err;
    EXPECT_EQ(Slurp(Folder.Path() / "other" / "Unknown" / "group chat.txt"), "\xEF\xBB\xBFMorning all\r\nCoffee?\r\n");
}

TEST_F(CliExtract, AnUnknownNameThatSeveralEntriesShareIsAmbiguous) {
    const fs::path chat = Folder.Write("two anns.txt",
                                       "01/02/2026,09:00,Ann,+100,Morning all\r\n"
                                       "01/02/2026,09:01,Ann,+101,Hi Ann\r\n"
                                       "01/02/2026,09:02,Bob,+200,Coffee?\r\n");
    const std::string extract = "--extract " + Quoted(chat.string()) + " --into ";
    const TRun ambiguous = RunCli(extract + Quoted((Folder.Path() / "a").string()) + " --unknown Ann");
    EXPECT_EQ(ambiguous.Exit, 2);
    EXPECT_EQ(ambiguous.Err,
              "quillprint-cli: --unknown \"Ann\" is ambiguous: it names \"Ann,+100,\", \"Ann,+101,\"; give one of "
              "these entries.\n");
    EXPECT_FALSE(fs::exists(Folder.Path() / "a"));
    // The name the participant is shown with, or its entry, is one.
    for (const char* wanted : {"'Ann +101'", "'Ann,+101,'"}) {
        const fs::path into = Folder.Path() / wanted;
        const TRun run = RunCli(extract + Quoted(into.string()) + " --unknown " + wanted);
        EXPECT_EQ(run.Exit, 0) << run.Err;
        EXPECT_EQ(Slurp(into / "Unknown" / "two anns.txt"), "\xEF\xBB\xBFHi Ann\r\n") << wanted;
    }
    const TRun none = RunCli(extract + Quoted((Folder.Path() / "b").string()) + " --unknown Zed");
    EXPECT_EQ(none.Exit, 2);
    EXPECT_NE(none.Err.find("is neither the entry nor the name"), std::string::npos) << none.Err;
}

TEST_F(CliExtract, RefusesWhatItCannotDoAndWritesNothing) {
    Folder.Write("full/keep.txt", "the user's file");
    Folder.Write("plain.txt", "no chat here\r\njust text, with commas,+1, and so on\r\n");
    Folder.Write("nul.txt", "01/02/2026,09:00,Ann,+100,hi\0\r\n01/02/2026,09:01,Bob,+200,cut"s);
    const auto before = SnapshotFolder(Folder.Path());
    struct TCase {
        std::string Arguments;
        int Exit;
        std::string ErrorPart;
    };
    const std::string plain = Quoted((Folder.Path() / "plain.txt").string());
    const std::string missing = Quoted((Folder.Path() / "missing.txt").string());
    const std::string full = Quoted((Folder.Path() / "full").string());
    const std::string fresh = Quoted((Folder.Path() / "fresh").string());
    for (const TCase& c : {
             TCase{ChatArg() + " --into " + full, 2, "is not an empty folder"},
             TCase{ChatArg() + " --into " + Quoted(Chat.string()), 2, "is not an empty folder"},
             TCase{"--extract " + plain + " --into " + fresh, 1, "nothing was extracted"},
             TCase{"--extract " + plain + " --participants", 1, "nothing was extracted"},
             TCase{"--extract " + missing + " --participants", 1, "No such file or directory"},
             TCase{"--extract " + Quoted(Folder.Path().string()) + " --participants", 1, "Cannot open file"},
             TCase{ChatArg() + " --into " + fresh + " --unknown Zed", 2, "--unknown \"Zed\""},
             TCase{ChatArg(), 2, "either --participants or --into"},
             TCase{ChatArg() + " --participants --into " + fresh, 2, "either --participants or --into"},
             TCase{ChatArg() + " --participants --unknown Ann", 2, "--unknown needs --into"},
             TCase{"--participants", 2, "--participants needs --extract"},
             TCase{ChatArg() + " --into " + fresh + " --unknown ''", 2, "--unknown needs a value, not \"\""},
             TCase{ChatArg() + " --participants " + full, 2, "takes no PROJECT_DIR"},
             TCase{ChatArg() + " --participants --each", 2, "--extract and --each cannot be combined"},
             TCase{ChatArg() + " --into " + fresh + " --balance", 2, "--extract and --balance cannot be combined"},
         }) {
        const TRun run = RunCli(c.Arguments);
        EXPECT_EQ(run.Exit, c.Exit) << c.Arguments << "\n" << run.Err;
        EXPECT_NE(run.Err.find(c.ErrorPart), std::string::npos) << c.Arguments << "\n" << run.Err;
        EXPECT_EQ(run.Out, "") << c.Arguments;
    }
    EXPECT_EQ(SnapshotFolder(Folder.Path()), before);

    // The text ends at its first NUL: Bob's line is never read.
    EXPECT_EQ(RunCli("--extract " + Quoted((Folder.Path() / "nul.txt").string()) + " --participants").Out,
              "Entry\tLines\nAnn,+100,\t1\n");
}

}  // namespace
}  // namespace quillprint
