#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

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
    struct TCase {
        std::string Arguments;
        int Exit;
        std::string ErrorPart;
    };
    const std::string plain = Quoted((Folder.Path() / "plain.txt").string());
    const std::string missing = Quoted((Folder.Path() / "missing.txt").string());
    const std::string full = Quoted((Folder.Path() / "full").string());
    const std::string fresh = Quoted((Folder.Path() / "fresh").string());
    // A link to an empty folder elsewhere: the export would land there.
    Folder.MakeFolder("elsewhere");
    fs::create_directory_symlink(Folder.Path() / "elsewhere", Folder.Path() / "linked");
    const std::string linked = Quoted((Folder.Path() / "linked").string());
    const auto before = SnapshotFolder(Folder.Path());
    for (const TCase& c : {
             TCase{ChatArg() + " --into " + full, 2, "is not an empty folder"},
             TCase{ChatArg() + " --into " + Quoted(Chat.string()), 2, "is not a folder;"},
             TCase{ChatArg() + " --into /dev/null", 2, "\"/dev/null\" is not a folder;"},
             TCase{ChatArg() + " --into " + linked, 2, "is a link; --into writes only into a new or empty folder"},
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

// ---- Writing the new project: all of it or nothing ----

// "k" chats of `messages` messages each by "Ann k" and "Bob k".
std::string NumberedChat(int k, int messages) {
    std::string chat;
    for (int i = 0; i < messages; ++i)
        chat += "01/02/2026,09:00," + std::string(i % 2 ? "Bob " : "Ann ") + std::to_string(k) + ",+" +
                std::to_string(100 + i % 2) + ",message " + std::to_string(i) + " of a chat\r\n";
    return chat;
}

// The names below `folder`, one level.
std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CliExtractInto, OfEightRunsIntoOneFolderOneWinsWhole) {
    TTempFolder folder;
    const fs::path into = folder.Path() / "out" / "shared";
    std::string script;
    for (int k = 0; k < 8; ++k) {
        const fs::path chat = folder.Write("chats/chat" + std::to_string(k) + ".txt", NumberedChat(k, 4000));
        const std::string run = "run" + std::to_string(k);
        script += "(" + Quoted(QUILLPRINT_CLI) + " --extract " + Quoted(chat.string()) + " --into " +
                  Quoted(into.string()) + " >" + Quoted((folder.Path() / (run + ".out")).string()) + " 2>" +
                  Quoted((folder.Path() / (run + ".err")).string()) + "; echo $? >" +
                  Quoted((folder.Path() / (run + ".exit")).string()) + ") & ";
    }
    ASSERT_EQ(testing::RunCommand(script + "wait").Exit, 0);

    int winner = -1;
    for (int k = 0; k < 8; ++k) {
        const std::string run = (folder.Path() / ("run" + std::to_string(k))).string();
        const std::string exit = Slurp(run + ".exit");
        if (exit == "0\n") {
            EXPECT_EQ(winner, -1) << "two runs wrote the folder";
            winner = k;
            EXPECT_EQ(Slurp(run + ".err"), "");
        } else {
            EXPECT_EQ(exit, "2\n") << Slurp(run + ".err");
            EXPECT_NE(Slurp(run + ".err").find("is not an empty folder"), std::string::npos) << Slurp(run + ".err");
            EXPECT_EQ(Slurp(run + ".out"), "") << "a refused run prints no table";
        }
    }
    ASSERT_NE(winner, -1);
    // The winner's export alone, and nothing half-built beside it.
    const std::string k = std::to_string(winner);
    EXPECT_EQ(Names(into), (std::vector<std::string>{"Ann " + k, "Bob " + k, "Unknown"}));
    std::string ann = "\xEF\xBB\xBF";
    for (int i = 0; i < 4000; i += 2) ann += "message " + std::to_string(i) + " of a chat\r\n";
    EXPECT_EQ(Slurp(into / ("Ann " + k) / ("chat" + k + ".txt")), ann);
    EXPECT_EQ(Names(into.parent_path()), std::vector<std::string>{"shared"});
}

TEST(CliExtractInto, AFailureNamesItsReasonAndLeavesNothing) {
    TTempFolder folder;
    const fs::path chat = folder.Write("chat.txt", NumberedChat(1, 4000));
    const fs::path longName = folder.Write("long.txt", "01/02/2026,09:00," + std::string(300, 'n') + ",+100,hello\r\n");
    struct TCase {
        std::string Name;
        std::string Before;  // shell commands run first
        fs::path Export;
        std::string Into;
        std::string Reason;
    };
    for (const TCase& c : {
             TCase{"a participant name over 255 bytes", "", longName, "out/new", "File name too long"},
             // A write refused by the file size limit, as a full disk refuses it.
             TCase{"a write that fails", "trap '' XFSZ; ulimit -f 16;", chat, "out/new", "File too large"},
             TCase{"a file where a folder must be", "", chat, "chat.txt/new", "Not a directory"},
         }) {
        SCOPED_TRACE(c.Name);
        const auto before = SnapshotFolder(folder.Path());
        const TRun run =
            RunCli("--extract " + Quoted(c.Export.string()) + " --into " + Quoted((folder.Path() / c.Into).string()),
                   {c.Before, "", ""});
        EXPECT_EQ(run.Exit, 1) << run.Err;
        EXPECT_EQ(run.Out, "");
        EXPECT_NE(run.Err.find(c.Reason), std::string::npos) << run.Err;
        EXPECT_EQ(run.Err.find("filesystem error"), std::string::npos) << run.Err;
        EXPECT_EQ(SnapshotFolder(folder.Path()), before);
    }
}

// ---- Memory: the export is streamed ----

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUILLPRINT_SANITIZED_BUILD 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define QUILLPRINT_SANITIZED_BUILD 1
#endif
#endif

// A sanitizer's shadow memory needs more address space than any cap, and it
// stops at its own out-of-memory report instead of throwing: these hold for
// the plain build only.
#if !defined(QUILLPRINT_SANITIZED_BUILD)
// About 90 MB of the cap go to the program and its libraries.
const testing::TCliSetup kExtractMemoryCap{"ulimit -v 150000;", "", ""};

TEST(CliExtractMemory, AnExportLargerThanTheMemoryLeftIsWrittenWhole) {
    TTempFolder folder;
    // 40 MB; held whole, decoded and split it took about six times that.
    const fs::path chat = folder.Write("chat.txt", NumberedChat(1, 800'000));
    const fs::path into = folder.Path() / "new";
    const TRun run =
        RunCli("--extract " + Quoted(chat.string()) + " --into " + Quoted(into.string()), kExtractMemoryCap);
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out, "Folder\tLines\nAnn 1\t400000\nBob 1\t400000\nUnknown\t0\n");
    std::string bob = "\xEF\xBB\xBF";
    for (int i = 1; i < 800'000; i += 2) bob += "message " + std::to_string(i) + " of a chat\r\n";
    EXPECT_EQ(Slurp(into / "Bob 1" / "chat.txt"), bob);
}

TEST(CliExtractMemory, RunningOutSaysSoAndLeavesNothing) {
    TTempFolder folder;
    // One message of 64 MB: its bytes and its UTF-16 text do not fit.
    const fs::path chat = folder.Write(
        "chat.txt", "01/02/2026,09:00,Ann,+100," + std::string(64 << 20, 'x') + "\r\n01/02/2026,09:01,Bob,+200,hi\r\n");
    const auto before = SnapshotFolder(folder.Path());
    for (const std::string& what :
         {std::string("--participants"), "--into " + Quoted((folder.Path() / "new").string())}) {
        const TRun run = RunCli("--extract " + Quoted(chat.string()) + " " + what, kExtractMemoryCap);
        EXPECT_EQ(run.Exit, 1) << what;
        EXPECT_EQ(run.Out, "") << what;
        EXPECT_EQ(run.Err, "quillprint-cli: not enough memory to extract \"" + chat.string() +
                               "\": it ran out while reading it.\n");
        EXPECT_EQ(SnapshotFolder(folder.Path()), before) << what;
    }
}
#endif

// ---- Control characters ----

TEST(CliExtractInto, ControlCharactersAreEscapedInTablesAndMessagesAndReplacedInFolderNames) {
    TTempFolder folder;
    // ESC [ 2 J clears the screen, BEL rings, DEL, NEL (U+0085) and CSI
    // (U+009B) are C1 controls.
    const fs::path chat = folder.Write("chat.txt",
                                       "01/02/2026,09:00,Ann\x1b[2J\x07,+100,hi\r\n"
                                       "01/02/2026,09:01,Bob\x7f\xc2\x85\xc2\x9b,+200,ho\r\n");
    const TRun listed = RunCli("--extract " + Quoted(chat.string()) + " --participants");
    EXPECT_EQ(listed.Exit, 0) << listed.Err;
    EXPECT_EQ(listed.Out, "Entry\tLines\nAnn\\x1b[2J\\x07,+100,\t1\nBob\\x7f\\x85\\x9b,+200,\t1\n");

    const fs::path into = folder.Path() / "new";
    const TRun written = RunCli("--extract " + Quoted(chat.string()) + " --into " + Quoted(into.string()));
    EXPECT_EQ(written.Exit, 0) << written.Err;
    EXPECT_EQ(written.Out, "Folder\tLines\nAnn_[2J_\t1\nBob___\t1\nUnknown\t0\n");
    EXPECT_EQ(Names(into), (std::vector<std::string>{"Ann_[2J_", "Bob___", "Unknown"}));

    // Paths in messages, the named export's and the folder's.
    const std::string evil = (folder.Path() / "a\x1b]0;title\x07\x7f\xc2\x9b").string();
    const std::string shown = (folder.Path() / "a\\x1b]0;title\\x07\\x7f\\x9b").string();
    folder.Write("a\x1b]0;title\x07\x7f\xc2\x9b", "no chat, not a folder");
    for (const std::string& arguments :
         {"--extract " + Quoted(evil) + " --participants",
          "--extract " + Quoted(chat.string()) + " --into " + Quoted(evil + "/x"),
          "--extract " + Quoted(chat.string()) + " --into " + Quoted((folder.Path() / "other").string()) +
              " --unknown " + Quoted("\x1b[31m\x9b")}) {
        const TRun run = RunCli(arguments);
        EXPECT_NE(run.Exit, 0);
        for (const char c : run.Err) EXPECT_TRUE(c == '\n' || !std::iscntrl(static_cast<unsigned char>(c))) << run.Err;
        EXPECT_EQ(run.Err.find("\xc2\x9b"), std::string::npos) << run.Err;
    }
    const TRun missing = RunCli("--extract " + Quoted(evil + ".txt") + " --participants");
    EXPECT_NE(missing.Err.find(shown + ".txt"), std::string::npos) << missing.Err;
}

}  // namespace
}  // namespace quillprint
