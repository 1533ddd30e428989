// quillprint-cli --report: the window's report without a window, as a PDF
// whose body text is readable whatever the screen's density, or as HTML.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "CliRun.h"
#include "TempProject.h"

namespace quillprint {
namespace {

using testing::Quoted;
using testing::RunCli;
using testing::RunCommand;
using testing::Slurp;
using testing::TCliSetup;
using testing::TRun;
using testing::TTempFolder;

const std::string kTutorial = QUILLPRINT_TUTORIAL_DIR;

// The heights of the words pdftotext finds on the PDF's pages, in points,
// sorted.
std::vector<double> WordHeights(const std::string& pdf) {
    const TRun run = RunCommand("pdftotext -bbox " + Quoted(pdf) + " -");
    EXPECT_EQ(run.Exit, 0) << run.Err;
    static const std::regex word(R"re(<word xMin="[-0-9.]+" yMin="([-0-9.]+)" xMax="[-0-9.]+" yMax="([-0-9.]+)">)re");
    std::vector<double> heights;
    for (auto it = std::sregex_iterator(run.Out.begin(), run.Out.end(), word); it != std::sregex_iterator(); ++it)
        heights.push_back(std::stod((*it)[2]) - std::stod((*it)[1]));
    std::sort(heights.begin(), heights.end());
    return heights;
}

TEST(CliReport, ThePdfsBodyTextIsReadableAtAnyScreenDensity) {
    TTempFolder out;
    std::vector<double> medians;
    for (const char* dpi : {"72", "100", "192"}) {
        const std::string pdf = (out.Path() / (std::string(dpi) + ".pdf")).string();
        TCliSetup setup;
        setup.Before = std::string("export QT_FONT_DPI=") + dpi + ";";
        const TRun run = RunCli("--locale en_US --balance --report " + Quoted(pdf) + " " + Quoted(kTutorial), setup);
        ASSERT_EQ(run.Exit, 0) << run.Err;
        const std::vector<double> heights = WordHeights(pdf);
        ASSERT_GT(heights.size(), 50u) << dpi;
        // Most words are body text: a small caption or two may be smaller.
        const double median = heights[heights.size() / 2];
        EXPECT_GE(median, 9.0) << "dpi " << dpi;
        EXPECT_GE(heights[heights.size() / 10], 9.0) << "dpi " << dpi;
        medians.push_back(median);
    }
    EXPECT_EQ(medians.front(), medians.back());
}

TEST(CliReport, TheHtmlReportNamesTheLocaleTheCandidatesOwnWordsAndTheValidation) {
    TTempFolder out;
    const std::string html = (out.Path() / "report.html").string();
    const TRun run =
        RunCli("--locale en_US --balance --validation-report --report " + Quoted(html) + " " + Quoted(kTutorial));
    ASSERT_EQ(run.Exit, 0) << run.Err;
    const std::string text = Slurp(html);
    EXPECT_NE(text.find("<tr><td>Locale</td><td>en_US</td></tr>"), std::string::npos);
    EXPECT_NE(text.find("<th>Words</th><th>Words per draw</th>"), std::string::npos);
    EXPECT_NE(text.find("<h2>Validation</h2>"), std::string::npos);
    EXPECT_NE(text.find("src=\"data:image/png;base64,"), std::string::npos);
    // A candidate's own words are more than one draw's sample of them.
    static const std::regex row(R"(<tr><td>[^<]+</td><td>[^<]*</td><td>([0-9,]+)</td><td>([0-9,]+)</td></tr>)");
    const auto number = [](std::string digits) {
        digits.erase(std::remove(digits.begin(), digits.end(), ','), digits.end());
        return std::stol(digits);
    };
    int rows = 0;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), row); it != std::sregex_iterator(); ++it, ++rows)
        EXPECT_GE(number((*it)[1]), number((*it)[2]));
    EXPECT_EQ(rows, 3);
}

// The report reads the project as a calculation does: a link out of the
// project is named and left out unless --follow-links reads it.
TEST(CliReport, LinksOutOfTheProjectAreLeftOutUnlessFollowed) {
    TTempFolder project, outside;
    outside.Write("etc/passwd", "root wombat\n");
    project.Write("Unknown/u.txt", "the cat sat on the mat\n");
    project.Write("Alpha/a.txt", "the cat sat on the mat today\n");
    std::filesystem::create_directory_symlink(outside.Path() / "etc", project.Path() / "Etc");
    const std::string html = (outside.Path() / "r.html").string();
    const TRun plain = RunCli("--locale en_US --report " + Quoted(html) + " " + Quoted(project.Path().string()));
    EXPECT_EQ(plain.Exit, 0) << plain.Err;
    EXPECT_NE(plain.Err.find("Left out \"Etc\": link outside the project, not followed (--follow-links follows it)\n"),
              std::string::npos)
        << plain.Err;
    EXPECT_EQ(Slurp(html).find(">Etc<"), std::string::npos);
    const TRun followed =
        RunCli("--locale en_US --follow-links --report " + Quoted(html) + " " + Quoted(project.Path().string()));
    EXPECT_EQ(followed.Exit, 0) << followed.Err;
    EXPECT_EQ(followed.Err.find("Left out"), std::string::npos) << followed.Err;
    EXPECT_NE(Slurp(html).find(">Etc<"), std::string::npos);
}

// --cross-validate and --confidence were once ignored by --report: the
// report now holds the checks and what they say of the answer.
TEST(CliReport, CrossValidationAndConfidenceGoIntoTheReport) {
    TTempFolder out;
    for (const char* option : {"--cross-validate", "--confidence --excerpt 400"}) {
        const std::string html = (out.Path() / "report.html").string();
        const TRun run =
            RunCli(std::string("--locale en_US ") + option + " --report " + Quoted(html) + " " + Quoted(kTutorial));
        ASSERT_EQ(run.Exit, 0) << option << ": " << run.Err;
        const std::string text = Slurp(html);
        EXPECT_NE(text.find("<h2>Cross-validation</h2>"), std::string::npos) << option;
        EXPECT_NE(text.find("<p class=\"trust\">Verdict: "), std::string::npos) << option;
    }
    for (const char* option : {"--cross-validate --seed 3", "--confidence --threshold 90"}) {
        const TRun refused = RunCli(std::string("--report r.html ") + option + " " + Quoted(kTutorial));
        EXPECT_EQ(refused.Exit, 2) << option;
        EXPECT_NE(refused.Err.find("cannot be combined"), std::string::npos) << refused.Err;
    }
}

TEST(CliReport, RefusalsAndWriteFailuresHaveTheirExitStatus) {
    TTempFolder out;
    EXPECT_EQ(RunCli("--report " + Quoted((out.Path() / "r.pdf").string()) + " " + Quoted(out.Path().string())).Exit,
              2);  // no "Unknown"
    const TRun unwritable =
        RunCli("--locale en_US --report " + Quoted((out.Path() / "missing/r.pdf").string()) + " " + Quoted(kTutorial));
    EXPECT_EQ(unwritable.Exit, 1);
    EXPECT_NE(unwritable.Err.find("cannot write the report"), std::string::npos);
    EXPECT_EQ(RunCli("--report r.pdf --json " + Quoted(kTutorial)).Exit, 2);
    EXPECT_FALSE(std::filesystem::exists(out.Path() / "r.pdf"));
}

// A report saved to a named pipe once took the pipe's place with a new file;
// to /dev/null as root, the system's /dev/null.
TEST(CliReport, APipeIsWrittenToNeverReplaced) {
    TTempFolder out;
    const std::filesystem::path pipe = out.Path() / "report.pdf";
    const std::filesystem::path got = out.Path() / "got.pdf";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const TRun run = RunCommand("timeout 60 cat " + Quoted(pipe.string()) + " >" + Quoted(got.string()) +
                                " & LANG=en_US.UTF-8 LC_ALL= " + Quoted(QUILLPRINT_CLI) + " --locale en_US --report " +
                                Quoted(pipe.string()) + " " + Quoted(kTutorial) + "; status=$?; wait; exit $status");
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(std::filesystem::status(pipe).type(), std::filesystem::file_type::fifo);
    EXPECT_EQ(Slurp(got).substr(0, 5), "%PDF-");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.Path()), std::filesystem::directory_iterator()),
              2);  // no temporary file left
}

TEST(CliReport, ALinkAtTheReportPathIsReplacedNotWrittenThrough) {
    TTempFolder out;
    const auto victim = out.Write("elsewhere/victim.html", "keep me");
    const auto link = out.Path() / "report.html";
    std::filesystem::create_symlink(victim, link);
    const TRun run = RunCli("--locale en_US --report " + Quoted(link.string()) + " " + Quoted(kTutorial));
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(Slurp(victim), "keep me");
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    EXPECT_NE(Slurp(link).find("<h2>"), std::string::npos);
    // Nothing else beside it: the report was built under another name and renamed.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.Path()), std::filesystem::directory_iterator()), 2);
}

}  // namespace
}  // namespace quillprint
