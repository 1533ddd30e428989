// Splitting by language through the workspace: every way of running a
// calculation splits the same way, the toggle reaches the runs and the
// copied passages, and the hint shows for a project written without spaces.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeViews.h"
#include "TempProject.h"
#include "engine/Normalization.h"
#include "workspace/Calculation.h"
#include "workspace/LanguageHint.h"
#include "workspace/PreparedCandidates.h"
#include "workspace/TextReader.h"
#include "workspace/Workspace.h"

namespace quillprint {
namespace {

using testing::TTempFolder;

// Three Chinese writers; the second has two texts, so its units are texts.
std::vector<TCandidateLines> Candidates() {
    return {
        {u"Wang", {u"我们每天去学校读书，很开心。", u"他们今天去学校读书。"}, {0}, {}},
        {u"Li", {u"他们昨天在家里看电视。", u"我们明天去公园散步。", u"日本語の本を読む。"}, {0, 2}, {}},
        {u"Zhao", {u"北京大学的学生喜欢在图书馆看书。"}, {0}, {}},
    };
}

TEST(LanguageSplitting, EveryWayOfRunningSplitsTheSame) {
    const std::vector<TCandidateLines> candidates = Candidates();
    const std::u16string test = u"他们今天去公园散步，我们每天去学校读书。";
    const TWordSplitter splitter(TWordSplitting::Language, "zh_CN");
    for (const bool balance : {false, true}) {
        for (const unsigned jobs : {1u, 3u}) {
            SCOPED_TRACE(std::string(balance ? "balanced, " : "plain, ") + std::to_string(jobs) + " jobs");
            const TRunHooks hooks{{}, {}, {}, jobs, TWordSplitting::Language};
            const TCalculationResult fromLines = RunCalculation(candidates, test, "zh_CN", balance, 0, hooks);
            const TPreparedSet prepared = PrepareCandidates(candidates, balance, jobs, {}, splitter);
            const TCalculationResult fromPrepared = RunPreparedCalculation(prepared, test, "zh_CN", balance, 0, hooks);
            EXPECT_EQ(fromPrepared.Summary, fromLines.Summary);
            for (size_t c = 0; c < candidates.size(); ++c) {
                const TWordList words = splitter.Split(NormalizeText(JoinLines(candidates[c].Lines)));
                EXPECT_EQ(ListOf(fromLines.Engine->Authors()[c]->Text()), words);
                EXPECT_EQ(ListOf(fromPrepared.Engine->Authors()[c]->Text()), words);
            }
            EXPECT_EQ(ListOf(fromLines.Engine->Test()->Text()), splitter.Split(NormalizeText(test)));
        }
    }
    // The sample units count the same words as the engine.
    const auto units = SampleUnits(candidates[1], splitter);
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0].Words + units[1].Words, PrepareCandidate(candidates[1], false, splitter)->WordCount());
    EXPECT_EQ(units[0].Words, 13);  // 他们 昨天 在 家里 看 电视 。 and 我们 明天 去 公园 散步 。
    EXPECT_EQ(units[1].Words, 6);   // 日本語 の 本 を 読む 。
}

class LanguageToggle : public ::testing::Test, protected testing::TWorkspaceFixture {
protected:
    void SetUp() override {
        Project.Write("Unknown/问.txt", "他们今天去学校读书。\n我们明天去公园散步。\n");
        Project.Write("Wang/王.txt", "我们每天去学校读书，很开心。\n");
        Project.Write("Li/李.txt", "他们昨天在家里看电视。\n");
        Workspace.LoadProject(Project.Dir());
    }

    std::u16string FirstCandidate() const { return Workspace.Results().ResultTable().Cell(0, 1); }

    TWorkspace Workspace{u"/opt/quillprint/", "zh_CN", View, Messages, Observer};
    TTempFolder Project;
};

TEST_F(LanguageToggle, ReachesTheCalculationAndTheCopiedPassages) {
    Workspace.Calculate();
    EXPECT_TRUE(Workspace.Results().SplittingHint());
    EXPECT_TRUE(Workspace.CopiedPassages().empty());

    Workspace.SetSplitWordsByLanguage(true);
    EXPECT_FALSE(Workspace.Calculated());
    Workspace.Calculate();
    EXPECT_EQ(FirstCandidate(), u"Wang");
    EXPECT_FALSE(Workspace.Results().SplittingHint());
    Workspace.SetCopyWords(3);
    const std::vector<TCopyRow> copies = Workspace.CopiedPassages();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].FirstWords, u"去 学校 读书");
    EXPECT_EQ(copies[0].UnknownPlace.Line, 1);

    Workspace.SetEachText(true);
    Workspace.Calculate();
    EXPECT_EQ(FirstCandidate(), u"Wang");
}

TEST(ScriptShare, MoreThanHalfOfTheCharactersCallForTheHint) {
    const struct {
        std::u16string Text;
        bool Mostly;
    } cases[] = {
        {u"", false},
        {u"plain English text", false},
        {u"学校ab", false},       // exactly half
        {u"学校a \r\n\t", true},  // separators are not counted
        {u"ภาษาไทย ab", true},
        {u"コーヒー abc", true},  // the long vowel mark counts with the Katakana
        {u"，。学", true},        // "。" is a Han mark, "，" is no script's
        {u"한국어 문장", false},  // Korean is written with spaces
        {u"ab学校c 学", false},   // in and out of those scripts: half
        {u"a学校b 学", true},     // the same, one Latin letter fewer
        // Long enough for blocks of plain text and blocks with those scripts.
        {std::u16string(100, u'x') + std::u16string(99, u'学') + u"\r\n", false},
        {std::u16string(100, u'x') + std::u16string(101, u'学') + u"\t", true},
        {std::u16string(63, u' ') + u"\U00020000" + std::u16string(70, u' '), true},  // a pair across blocks
    };
    for (const auto& c : cases) {
        TScriptShare share;
        share.Add(c.Text);
        EXPECT_EQ(share.MostlyWithoutSpaces(), c.Mostly) << ToUtf8(c.Text);
    }
}

}  // namespace
}  // namespace quillprint
