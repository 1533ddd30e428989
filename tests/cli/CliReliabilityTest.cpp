// quillprint-cli on hostile or careless input: memory that must stay bounded,
// failures that must not pass for success, output that must stay safe.
#include <gtest/gtest.h>

#include <sys/stat.h>

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
using testing::TCliSetup;
using testing::TRun;
using testing::TTempFolder;

#if defined(__SANITIZE_THREAD__)
#define QUILLPRINT_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define QUILLPRINT_THREAD_SANITIZER 1
#endif
#endif

#if defined(__SANITIZE_ADDRESS__)
#define QUILLPRINT_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLPRINT_ADDRESS_SANITIZER 1
#endif
#endif

// A cap far below what the faults needed (about 0.5 to 1 GB on these
// fixtures) and far above what the runs need now (under 50 MB resident): on
// the address space, or, for a program built with AddressSanitizer (whose
// shadow memory alone reserves terabytes of address space), on resident
// memory as the sanitizer watches it.
#if defined(QUILLPRINT_THREAD_SANITIZER)
// ThreadSanitizer's shadow memory needs far more address space than any cap
// and it has no cap of its own: these runs check the results only.
const TCliSetup kMemoryCap{"", "", ""};
#elif defined(QUILLPRINT_ADDRESS_SANITIZER)
const TCliSetup kMemoryCap{"ASAN_OPTIONS=${ASAN_OPTIONS}${ASAN_OPTIONS:+:}hard_rss_limit_mb=400:quarantine_size_mb=16", "",
                           ""};
#else
const TCliSetup kMemoryCap{"ulimit -v 300000;", "", ""};
#endif

// "p0 p1 ... p<n-1>": n distinct words, so a passage of them shared by two
// texts repeats n (n + 1) / 2 phrases.
std::string Passage(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += "p" + std::to_string(i) + (i % 12 == 11 ? "\n" : " ");
    return text + "\n";
}

// The unknown text and candidate Alpha share a passage of `words` words.
void WriteSharedPassage(const TTempFolder& project, int words) {
    project.Write("Unknown/u.txt", "unknown text " + Passage(words));
    project.Write("Alpha/a.txt", "alpha words here " + Passage(words));
    project.Write("Beta/b.txt", "beta other words\n");
}

std::string Dir(const TTempFolder& project) { return Quoted(project.Path().string()); }

// ---- Memory ----

TEST(CliMemory, JsonOfASharedPassageIsWrittenAsAStream) {
    TTempFolder project;
    WriteSharedPassage(project, 600);
    TCliSetup setup = kMemoryCap;
    setup.Output = "/dev/null";
    const TRun run = RunCli("--locale en_US --json " + Dir(project), setup);
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Err, "");
}

TEST(CliMemory, StylometryOfARefrainBuildsNoCopies) {
    TTempFolder project;
    std::string refrain;
    for (int i = 0; i < 200; ++i)
        refrain += "steady as she goes the wind has turned and the harbour lights are burning low tonight\n";
    project.Write("Alpha/refrain.txt", refrain);
    project.Write("Unknown/u.txt", "some words steady as she goes\n");
    const TRun run = RunCli("--locale en_US --table stylometry " + Dir(project), kMemoryCap);
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out.rfind("Phrase\tCount\tOther Authors use\nsteady as she goes the wind", 0), 0u);
}

TEST(CliMemory, EmptyAuthorFoldersCostNoCountsPerPhrase) {
    TTempFolder project;
    WriteSharedPassage(project, 600);
    for (int i = 0; i < 1000; ++i) project.MakeFolder("Empty " + std::to_string(i));
    const TRun run = RunCli("--locale en_US " + Dir(project), kMemoryCap);
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_NE(run.Out.find("\nAlpha\t"), std::string::npos);
}

TEST(CliMemory, ASparseFileThatReadsAsEmptyIsNotDecodedWhole) {
    TTempFolder project;
    project.Write("Unknown/u.txt", "the cat sat on the mat\n");
    project.Write("Alpha/a.txt", "the cat sat on the mat today\n");
    // 1 GB of zero bytes that take no disk space: the text ends at once.
    fs::resize_file(project.Write("Alpha/disk.img", ""), 1u << 30);
    const TRun run = RunCli("--locale en_US " + Dir(project), kMemoryCap);
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_NE(run.Out.find("\nAlpha\t99%\tMost likely\t7\n"), std::string::npos) << run.Out;
}

// A sanitized program stops at its own out-of-memory report instead of
// throwing, so this one holds for the plain build only.
#if !defined(QUILLPRINT_ADDRESS_SANITIZER) && !defined(QUILLPRINT_THREAD_SANITIZER)
TEST(CliMemory, RunningOutSaysWhatWasBeingDone) {
    TTempFolder project;
    WriteSharedPassage(project, 2000);
    struct TCase {
        std::string Options, Step, Out;
    };
    const std::string eachHeader =
        "No.\tText\tWords\tMost likely\tProbability\tDescription\tRunner-up\tProbability\tMargin";
    for (const TCase& c :
         {TCase{"", "finding the repeated phrases", ""}, TCase{"--each", "calculating each text", eachHeader + "\n"},
          TCase{"--each --balance", "calculating each text", eachHeader + "\tDraws won\n"}}) {
        const TRun run = RunCli("--locale en_US " + c.Options + " " + Dir(project), {"ulimit -v 150000;", "", ""});
        EXPECT_EQ(run.Exit, 1) << c.Options;
        EXPECT_EQ(run.Out, c.Out) << c.Options;
        EXPECT_EQ(run.Err, "Not enough memory to calculate this project: it ran out while " + c.Step + ".\n")
            << c.Options;
    }
}

// --extract once printed "std::bad_alloc" when it ran out of memory.
TEST(CliMemory, RunningOutWhileExtractingSaysSo) {
    TTempFolder folder;
    // A chat export of one message line of 20 MB.
    const fs::path chat =
        folder.Write("chat.txt", "Date,Time,Sender Name,Sender Phone,Message\n18/05/2026,09:11,A,+1," +
                                     std::string(20'000'000, 'a') + "\n");
    const TRun run = RunCli("--extract " + Quoted(chat.string()) + " --participants", {"ulimit -v 150000;", "", ""});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Err,
              "quillprint-cli: not enough memory to extract \"" + chat.string() + "\": it ran out while reading it.\n");
}
#endif

// ---- Failures reported as failures ----

class CliUnreadable : public ::testing::Test {
protected:
    void SetUp() override {
        Project.Write("Unknown/u.txt", "the cat sat on the mat\n");
        Project.Write("Alpha/a.txt", "the cat sat on the mat today\n");
        Project.Write("Beta/b.txt", "a dog ran\n");
    }
    TRun RunWithout(const std::string& folder) {
        fs::permissions(Project.Path() / folder, fs::perms::none);
        return RunCli("--locale en_US " + Dir(Project), {"", testing::kWithoutOverride, ""});
    }
    std::string CannotOpen(const std::string& folder) {
        return "Cannot open folder \"" + (Project.Path() / folder).string() + "\". Permission denied\n";
    }
    TTempFolder Project;
};

TEST_F(CliUnreadable, CandidateFolderIsAnErrorNotAnEmptyCandidate) {
    const TRun run = RunWithout("Alpha");
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, CannotOpen("Alpha"));
}

TEST_F(CliUnreadable, UnknownFolderIsAnError) {
    const TRun run = RunWithout("Unknown");
    EXPECT_EQ(run.Exit, 1);
    EXPECT_EQ(run.Err, CannotOpen("Unknown"));
}

TEST_F(CliUnreadable, AFolderThatCanBeListedButNotEnteredIsAnErrorToo) {
    // Its names can be read, nothing about them: it must not pass for an
    // empty author, an empty "Unknown" or a project without "Unknown".
    struct TCase {
        std::string Folder, Options;
    };
    for (const TCase& c : {TCase{"Alpha", ""}, TCase{"Unknown", ""}, TCase{"Unknown", "--each"}, TCase{"", ""}}) {
        const fs::path folder = c.Folder.empty() ? Project.Path() : Project.Path() / c.Folder;
        fs::permissions(folder, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        const TRun run =
            RunCli("--locale en_US " + c.Options + " " + Dir(Project), {"", testing::kWithoutOverride, ""});
        fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
        EXPECT_EQ(run.Exit, 1) << c.Folder << ' ' << c.Options;
        EXPECT_EQ(run.Out, "") << c.Folder << ' ' << c.Options;
        EXPECT_EQ(run.Err, "Cannot open folder \"" + folder.string() + "\". Permission denied\n") << c.Options;
    }
}

TEST(CliNames, NamesThatAreNotUtf8OpenAndStayApart) {
    TTempFolder project;
    project.Write("Unknown/u.txt", "the cat sat on the mat\n");
    project.Write("Jos\xe9/caf\xe9.txt", "the cat sat on the mat today\n");
    project.Write("Jos\xe8/caf\xe9.txt", "a dog ran in the park\n");
    const TRun run = RunCli("--locale en_US " + Dir(project));
    EXPECT_EQ(run.Exit, 0) << run.Err;
    // Both authors, each with its own words, shown with U+FFFD.
    EXPECT_NE(run.Out.find("Jos\xEF\xBF\xBD\t99%\tMost likely\t7\n"), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("Jos\xEF\xBF\xBD\t0%\tHardly\t6\n"), std::string::npos) << run.Out;
}

TEST(CliOutputErrors, AFullDiskIsAFailure) {
    TTempFolder project;
    WriteSharedPassage(project, 20);
    for (const char* options : {"", "--json", "--summary", "--help"}) {
        const TRun run = RunCli(std::string("--locale en_US ") + options + " " + Dir(project), {"", "", "/dev/full"});
        EXPECT_EQ(run.Exit, 1) << options;
        EXPECT_EQ(run.Err, "Cannot write the output: No space left on device\n") << options;
    }
}

TEST(CliOutputErrors, AClosedPipeIsAFailure) {
    // With SIGPIPE ignored (as many launchers do) a write to a pipe whose
    // reader has gone fails with EPIPE; the output is larger than a pipe
    // holds (--json-full writes every record's text: some 7 MB here), so
    // the failure is certain.
    TTempFolder project;
    WriteSharedPassage(project, 200);
    TTempFolder outputs;
    const fs::path status = outputs.Path() / "status", err = outputs.Path() / "err";
    const std::string command = "(trap '' PIPE; LANG=en_US.UTF-8 LC_ALL= " + Quoted(QUILLPRINT_CLI) +
                                " --locale en_US --json-full " + Dir(project) + " 2>" + Quoted(err.string()) +
                                "; echo $? >" + Quoted(status.string()) + ") | head -c 1 >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(Slurp(status), "1\n");
    EXPECT_EQ(Slurp(err), "Cannot write the output: Broken pipe\n");
}

// ---- Output that is safe and clear ----

TEST(CliControls, ControlsInNamesAndTextsAreEscaped) {
    TTempFolder project;
    // Controls below the blank separate words, except inside a quoted item;
    // C1 controls (U+0085 here) are part of a word.
    project.Write("Unknown/u.txt", "\"ding\x07\" dong\xc2\x85 the cat sat\n");
    project.Write("Evil\x1b[2J/a.txt", "\"ding\x07\" dong\xc2\x85 the cat sat here\n");
    project.Write("New\nLine\xc2\x9b/b.txt", "\"ding\x07\" dong\xc2\x85 a dog ran\n");
    const TRun table = RunCli("--locale en_US " + Dir(project));
    EXPECT_EQ(table.Exit, 0) << table.Err;
    EXPECT_NE(table.Out.find("\nEvil\\x1b[2J\t"), std::string::npos) << table.Out;
    EXPECT_NE(table.Out.find("\nNew Line\\x9b\t"), std::string::npos) << table.Out;  // LF, a separator, is a blank

    const TRun summary = RunCli("--locale en_US --summary " + Dir(project));
    EXPECT_EQ(summary.Out.rfind("Evil\\x1b[2J: ", 0), 0u) << summary.Out;
    EXPECT_NE(summary.Out.find("\nNew\\x0aLine\\x9b: "), std::string::npos) << summary.Out;
    EXPECT_EQ(std::count(summary.Out.begin(), summary.Out.end(), '\n'), 2);

    const TRun stylometry = RunCli("--locale en_US --table stylometry " + Dir(project));
    EXPECT_NE(stylometry.Out.find("\nding\\x07 dong\\x85 the cat sat\t"), std::string::npos) << stylometry.Out;

    for (const TRun* run : {&table, &summary, &stylometry}) {
        EXPECT_EQ(run->Out.find('\x1b'), std::string::npos);
        EXPECT_EQ(run->Out.find('\x07'), std::string::npos);
        EXPECT_EQ(run->Out.find("\xc2\x9b"), std::string::npos);
        EXPECT_EQ(run->Out.find("\xc2\x85"), std::string::npos);
    }
}

// A picture or a binary file among the texts was read as text without a
// word, and its few "words" could carry a confident answer.
TEST(CliBinaryTexts, EachIsNamedOnStandardErrorAndStillRead) {
    TTempFolder project;
    project.Write("Unknown/u.txt", "the cat sat on the mat\n");
    project.Write("Alpha/a.txt", "the cat sat on the mat today\n");
    project.Write("Alpha/photo.png", std::string("\x89PNG\r\n\x1a\n") + "the cat sat");
    project.Write("Unknown/nul.txt", std::string("a dog\0\0\x01", 8));
    const std::string warning =
        "Read as text, though it looks like none (an image, archive, document or program, or NUL bytes): ";
    for (const char* options : {"", "--each ", "--validation-report "}) {
        const TRun run = RunCli("--locale en_US " + std::string(options) + Dir(project));
        EXPECT_EQ(run.Exit, 0) << options << run.Err;
        // In tree order: "Unknown" first.
        EXPECT_EQ(run.Err, warning + "\"Unknown/nul.txt\"\n" + warning + "\"Alpha/photo.png\"\n") << options;
    }
}

TEST(CliLocale, UnknownLocalesAreRefused) {
    TTempFolder project;
    WriteSharedPassage(project, 5);
    struct TCase {
        const char* Locale;
        int Exit;
    };
    for (const TCase& c : {TCase{"xx_YY", 2},
                           {"!!!", 2},
                           {"zz", 2},
                           {"..", 2},
                           {".", 2},
                           {"@", 2},
                           {"../../etc/passwd", 2},
                           {".UTF-8", 2},
                           {"en_ZZ", 0},
                           {"de", 0},
                           {"sv_SE.UTF-8", 0},
                           {"C", 0},
                           {"C.UTF-8", 0}}) {
        const TRun run = RunCli("--locale " + Quoted(c.Locale) + " " + Dir(project));
        EXPECT_EQ(run.Exit, c.Exit) << c.Locale;
        if (c.Exit == 2) {
            EXPECT_EQ(run.Err.find("quillprint-cli: unknown locale"), 0u) << c.Locale;
        }
    }
}

TEST(CliProjectPath, SaysWhatIsWrongWithThePath) {
    TTempFolder outside;
    const fs::path file = outside.Write("notes.txt", "x");
    const fs::path missing = outside.Path() / "missing";
    const fs::path locked = outside.MakeFolder("locked");
    fs::permissions(locked, fs::perms::none);
    struct TCase {
        fs::path Path;
        int Exit;
        std::string Err;
    };
    for (const TCase& c : {TCase{missing, 2, "No such folder: " + missing.string() + "\n"},
                           TCase{file, 2, "Not a folder: " + file.string() + "\n"},
                           TCase{locked, 1, "Cannot open folder \"" + locked.string() + "\". Permission denied\n"}}) {
        const TRun run = RunCli(Quoted(c.Path.string()), {"", testing::kWithoutOverride, ""});
        EXPECT_EQ(run.Exit, c.Exit) << c.Path;
        EXPECT_EQ(run.Err, c.Err);
        EXPECT_EQ(run.Out, "");
    }
}

TEST(CliUnknownFolder, TwoFoldersInDifferentCaseAreRefused) {
    TTempFolder project;
    project.Write("Unknown/u.txt", "the cat sat\n");
    project.Write("unknown/v.txt", "another text\n");
    project.Write("Alpha/a.txt", "the cat sat here\n");
    const TRun run = RunCli("--locale en_US " + Dir(project));
    EXPECT_EQ(run.Exit, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "Two folders are named \"Unknown\" in different letter case\n");
}

TEST(CliUnknownFolder, AFileOfTheSameNameIsNoFolder) {
    TTempFolder project;
    project.Write("UNKNOWN", "a file beside the folder\n");
    project.Write("unknown/u.txt", "the cat sat on the mat\n");
    project.Write("Alpha/a.txt", "the cat sat on the mat today\n");
    const TRun run = RunCli("--locale en_US " + Dir(project));
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_NE(run.Out.find("\nUnknown\tThe same as Unknown text\tThe same as Unknown text\t6\n"), std::string::npos)
        << run.Out;
}

// ---- Progress ----

class CliProgress : public ::testing::Test {
protected:
    void SetUp() override {
        Project.Write("Unknown/u.txt", "x\n");
        for (const char* name : {"Alpha", "Beta", "Gamma"}) {
            std::string text;
            for (int line = 0; line < 10; ++line) text += std::string(name) + " line " + std::to_string(line) + "\n";
            Project.Write(std::string(name) + "/a.txt", text);
        }
    }
    // Runs under `script`, which gives the program a terminal; what the
    // terminal received comes back.
    std::string OnTerminal(const std::string& options, const std::string& work = "--validation-report") {
        TTempFolder outputs;
        const fs::path log = outputs.Path() / "log";
        const std::string program = "LANG=en_US.UTF-8 LC_ALL= " + Quoted(QUILLPRINT_CLI) + " --locale en_US " +
                                    options + " " + work + " " + Dir(Project);
        const std::string command = "script -qec " + Quoted(program) + " " + Quoted(log.string()) + " </dev/null >/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return Slurp(log);
    }
    TTempFolder Project;
};

TEST_F(CliProgress, ShownOnATerminalOnly) {
    const std::string shown = OnTerminal("");
    EXPECT_NE(shown.find("\rValidation runs: 0 of 3"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\rValidation runs: 3 of 3"), std::string::npos) << shown;
    EXPECT_NE(shown.find("3 of 3 recognised"), std::string::npos) << shown;

    EXPECT_EQ(OnTerminal("--quiet").find("Validation runs"), std::string::npos);

    const TRun piped = RunCli("--locale en_US --validation-report " + Dir(Project));
    EXPECT_EQ(piped.Exit, 0);
    EXPECT_EQ(piped.Err, "");
}

TEST_F(CliProgress, CountsTheTextsOfEachTextOnATerminalOnly) {
    const std::string shown = OnTerminal("", "--each");
    EXPECT_NE(shown.find("\rTexts calculated: 1 of 1"), std::string::npos) << shown;
    EXPECT_EQ(OnTerminal("--quiet", "--each").find("Texts calculated"), std::string::npos);
    const TRun piped = RunCli("--locale en_US --each " + Dir(Project));
    EXPECT_EQ(piped.Exit, 0);
    EXPECT_EQ(piped.Err, "");
}

}  // namespace
}  // namespace quillprint
