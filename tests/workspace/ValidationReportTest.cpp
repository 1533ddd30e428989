#include <gtest/gtest.h>

#include "FakeViews.h"
#include "TempProject.h"
#include "engine/Text.h"
#include "workspace/ValidationReport.h"
#include "workspace/Workspace.h"

namespace quillprint {
namespace {

// `count` lines, each holding `phrases` in turn and a word of its own.
TLines LinesOf(const std::vector<std::u16string>& phrases, int count, const std::u16string& tag) {
    TLines lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(phrases[static_cast<size_t>(i) % phrases.size()] + u" " + tag + FromUtf8(std::to_string(i)));
    return lines;
}

const std::u16string kSea = u"the salt wind fills the old sail";
const std::u16string kRocks = u"we sailed past the grey rocks";
const std::u16string kField = u"the brown field waits for rain";
const std::u16string kClock = u"the tall clock ticks in the hall";

// The answer is known: "Farmer" and "Sailor" keep to their own phrases;
// "Mimic" ends with two lines in the sailor's manner, so its held-back
// lines point to "Sailor"; "Tiny" has too few lines to hold any back.
std::vector<TCandidateLines> KnownAnswerCandidates() {
    TLines mimic = LinesOf({kClock}, 8, u"m");
    for (const auto& line : LinesOf({kRocks}, 2, u"r")) mimic.push_back(line);
    return {
        {u"Farmer", LinesOf({kField}, 10, u"f"), {0}, {}},
        {u"Mimic", mimic, {0}, {}},
        {u"Sailor", LinesOf({kSea, kRocks}, 10, u"s"), {0, 4}, {}},
        {u"Tiny", LinesOf({kClock}, 4, u"t"), {0}, {}},
    };
}

const char16_t* const kKnownAnswer[6][5] = {
    {u"Author", u"Lines held back", u"Ranked first", u"Score", u"Rank"},
    {u"Farmer", u"2", u"Farmer", u"99%", u"1"},
    // Farmer and Mimic both score 0; the earlier of equal scores ranks higher.
    {u"Mimic", u"2", u"Sailor", u"0%", u"3"},
    {u"Sailor", u"2", u"Sailor", u"99%", u"1"},
    {u"Tiny", u"0", u"not tested: fewer than 5 lines", u"", u""},
    {u"2 of 3 recognised", u"", u"", u"", u""},
};

void ExpectKnownAnswer(const TGrid& grid) {
    ASSERT_EQ(grid.ColCount(), 5);
    ASSERT_EQ(grid.RowCount(), 6);
    for (int32_t row = 0; row < 6; ++row)
        for (int32_t col = 0; col < 5; ++col)
            EXPECT_EQ(grid.Cell(col, row), kKnownAnswer[row][col]) << "column " << col << ", row " << row;
}

TEST(ValidationReport, RecognisesEachCandidateByItsOwnHeldBackLines) {
    const TValidationReport report = RunValidationReport(KnownAnswerCandidates(), "en_US", false);
    EXPECT_EQ(report.Tested(), 3);
    EXPECT_EQ(report.Recognised(), 2);
    ExpectKnownAnswer(ValidationReportGrid(report));
    // The last run is Tiny's: nothing held back, an empty test text.
    ASSERT_NE(report.LastEngine, nullptr);
    EXPECT_EQ(report.LastEngine->Authors()[3]->Name(), u"Tiny");
    EXPECT_EQ(report.LastEngine->Authors()[3]->WordCount(), 4 * 8);
    EXPECT_EQ(report.LastEngine->Test()->WordCount(), 0);
    EXPECT_EQ(report.LastEngine->Authors()[2]->WordCount(), 5 * 8 + 5 * 7);  // all of Sailor's lines
}

TEST(ValidationReport, BalancedRunsGiveTheSameAnswerOnSmallCandidates) {
    // Nobody reaches the budget, so every draw is the plain calculation.
    ExpectKnownAnswer(ValidationReportGrid(RunValidationReport(KnownAnswerCandidates(), "en_US", true)));
}

// A candidate ranked below another is never drawn as "Most likely", however
// high its own score.
TEST(ValidationReport, OnlyRecognisedCandidatesAreColouredByTheirScore) {
    TValidationReport report;
    report.Rows = {{u"Close second", 3, u"Winner", 0.8, 2},
                   {u"Winner", 3, u"Winner", 0.8, 1},
                   {u"Maybe", 3, u"Maybe", 0.6, 1},
                   {u"Untested", 0, u"", 0.9, 0}};
    const TGrid grid = ValidationReportGrid(report);
    const TScoreColour expected[] = {TScoreColour::Ordinary, TScoreColour::GreenBold, TScoreColour::Blue,
                                     TScoreColour::Ordinary};
    for (int32_t row = 1; row <= 4; ++row)
        for (int32_t col = 0; col < 5; ++col)
            EXPECT_EQ(ResultCellColour(grid, col, row), expected[row - 1]) << "column " << col << ", row " << row;
}

TEST(ValidationReport, WithoutCandidatesReportsNoneRecognised) {
    const TGrid grid = ValidationReportGrid(RunValidationReport({}, "en_US", false));
    ASSERT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cell(0, 1), u"0 of 0 recognised");
}

// Seven candidates, each with a phrase of its own in six lines.
std::vector<TCandidateLines> SevenCandidates() {
    std::vector<TCandidateLines> candidates;
    for (int c = 0; c < 7; ++c) {
        const std::u16string phrase = u"word" + Decimal(c) + u" stands beside its own fellow" + Decimal(c);
        candidates.push_back({u"C" + Decimal(c), LinesOf({phrase}, 6, u"c" + Decimal(c) + u"_"), {0}, {}});
    }
    return candidates;
}

// Past the limit every m-th candidate is tested, each against all of them,
// so its row is the row the full report gives it.
TEST(ValidationReport, PastTheLimitTestsEveryMthCandidateAgainstAll) {
    const std::vector<TCandidateLines> candidates = SevenCandidates();
    const TValidationReport all = RunValidationReport(candidates, "en_US", false, {}, {}, 0);
    const TValidationReport sample = RunValidationReport(candidates, "en_US", false, {}, {}, 3);
    ASSERT_EQ(all.Rows.size(), 7u);
    EXPECT_EQ(all.Step, 1);
    ASSERT_EQ(sample.Rows.size(), 3u);
    EXPECT_EQ(sample.Step, 3);
    EXPECT_EQ(sample.Candidates, 7);
    for (size_t t = 0; t < 3; ++t) {
        const TValidationRow& expected = all.Rows[t * 3];
        const TValidationRow& row = sample.Rows[t];
        EXPECT_EQ(row.Name, expected.Name);
        EXPECT_EQ(row.LinesHeldBack, expected.LinesHeldBack);
        EXPECT_EQ(row.RankedFirst, expected.RankedFirst);
        EXPECT_EQ(row.Score, expected.Score);
        EXPECT_EQ(row.Rank, expected.Rank);
    }
    EXPECT_EQ(sample.Rows[2].Name, u"C6");
    EXPECT_EQ(sample.LastEngine->Authors().size(), 8u);  // every candidate and the test

    const TGrid grid = ValidationReportGrid(sample);
    ASSERT_EQ(grid.RowCount(), 6);
    EXPECT_EQ(grid.Cell(0, 4), u"3 of 3 recognised");
    EXPECT_EQ(grid.Cell(0, 5), u"Tested 3 of 7 candidates (every 3rd), each against all of them");
    // Up to the limit, the report is the full one, without that line.
    EXPECT_EQ(ValidationReportGrid(RunValidationReport(candidates, "en_US", false, {}, {}, 7)).RowCount(), 9);
}

TEST(ValidationReport, TheStepLeavesAtMostTheLimit) {
    struct TCase {
        size_t Candidates;
        int32_t MostTested;
        int32_t Step;
        const char16_t* Every;
    };
    for (const TCase& c : {TCase{50, 50, 1, nullptr}, TCase{51, 50, 2, u"2nd"}, TCase{100, 50, 2, u"2nd"},
                           TCase{101, 50, 3, u"3rd"}, TCase{1000, 50, 20, u"20th"}, TCase{1001, 50, 21, u"21st"},
                           TCase{1100, 100, 11, u"11th"}, TCase{1200, 100, 12, u"12th"}, TCase{2200, 100, 22, u"22nd"},
                           TCase{5, 0, 1, nullptr}, TCase{0, 50, 1, nullptr}}) {
        EXPECT_EQ(ValidationStep(c.Candidates, c.MostTested), c.Step) << c.Candidates << " by " << c.MostTested;
        if (!c.Every) continue;
        TValidationReport report;
        report.Candidates = static_cast<int32_t>(c.Candidates);
        report.Step = c.Step;
        EXPECT_NE(SampleText(report).find(u"(every " + std::u16string(c.Every) + u")"), std::u16string::npos)
            << ToUtf8(SampleText(report));
    }
}

class ValidationCommand : public ::testing::Test, protected testing::TWorkspaceFixture {
protected:
    TWorkspace Workspace{u"/opt/quillprint/", "en_US", View, Messages, Observer};
    testing::TTempFolder Project;

    void WriteLines(const std::string& path, const TLines& lines) {
        std::string text;
        for (const auto& line : lines) text += ToUtf8(line) + "\n";
        Project.Write(path, text);
    }
};

TEST_F(ValidationCommand, ReportsEveryCandidateOfTheProjectAndIgnoresUnknown) {
    for (const auto& candidate : KnownAnswerCandidates()) {
        // Sailor's two texts become two files.
        const auto& starts = candidate.TextStarts;
        for (size_t t = 0; t < starts.size(); ++t) {
            const size_t end = t + 1 < starts.size() ? starts[t + 1] : candidate.Lines.size();
            WriteLines(ToUtf8(candidate.Name) + "/" + std::to_string(t) + ".txt",
                       TLines(candidate.Lines.begin() + static_cast<std::ptrdiff_t>(starts[t]),
                              candidate.Lines.begin() + static_cast<std::ptrdiff_t>(end)));
        }
    }
    WriteLines("Unknown/u.txt", LinesOf({kSea}, 10, u"u"));
    Workspace.LoadProject(Project.Dir());
    Observer.Pages.clear();
    const TQuillprint* engineBefore = Workspace.Results().Engine();

    Workspace.Validate();
    ASSERT_TRUE(Messages.Errors.empty());
    ASSERT_TRUE(Workspace.Results().ValidationTable().has_value());
    ExpectKnownAnswer(*Workspace.Results().ValidationTable());
    // No table, page, engine or calculated state changes.
    EXPECT_TRUE(Observer.Pages.empty());
    EXPECT_FALSE(Workspace.Calculated());
    EXPECT_EQ(Workspace.Results().Engine(), engineBefore);

    Workspace.SetBalance(true);
    Workspace.Validate();
    ExpectKnownAnswer(*Workspace.Results().ValidationTable());
}

TEST_F(ValidationCommand, AnUnreadableTextEndsTheCommandWithItsErrorAndNoReport) {
    Project.Write("Unknown/u.txt", "x");
    const auto doomed = Project.Write("Alpha/a.txt", "1\n2\n3\n4\n5\n");
    Workspace.LoadProject(Project.Dir());
    Workspace.Validate();
    ASSERT_TRUE(Workspace.Results().ValidationReport().has_value());
    std::filesystem::remove(doomed);
    const TQuillprint* engineBefore = Workspace.Results().Engine();
    Workspace.Validate();
    EXPECT_EQ(Messages.Errors.size(), 1u);
    EXPECT_FALSE(Workspace.Results().ValidationReport().has_value());
    EXPECT_FALSE(Workspace.Results().ValidationTable().has_value());
    EXPECT_EQ(Workspace.Results().Engine(), engineBefore);
}

}  // namespace
}  // namespace quillprint
