// Copied passages of a project: their texts and lines, leaving them out of
// the calculation, and the refusal that names them.
#include <gtest/gtest.h>

#include <string>

#include "FakeViews.h"
#include "TempProject.h"
#include "engine/EngineError.h"
#include "engine/Text.h"
#include "workspace/Workspace.h"

namespace quillprint {
namespace {

using testing::TTempFolder;

// Words `from` to `from + count - 1` of a vocabulary that never repeats,
// ten to a line, each line ended by LF.
std::string Words(const std::string& prefix, int32_t from, int32_t count) {
    std::string text;
    for (int32_t i = 0; i < count; ++i) {
        text += prefix + std::to_string(from + i);
        text += (i % 10 == 9 || i + 1 == count) ? "\n" : " ";
    }
    return text;
}

class CopiedPassages : public ::testing::Test, protected testing::TWorkspaceFixture {
protected:
    TWorkspace Workspace{u"/opt/quillprint/", "en_US", View, Messages, Observer};
    TTempFolder Project;
};

// The passage runs from the end of Hamilton's a.txt into his b.txt; the
// unknown text writes one of its words with other capitals and starts it on
// line 3 of its second text; the first text begins with lines that the
// normalisation empties. A shared stretch one word short is no copy.
TEST_F(CopiedPassages, AreFoundWithTheirTextsLinesAndFirstWords) {
    Project.Write("Hamilton/a.txt", Words("a", 0, 45) + "été " + Words("h", 0, 29));
    Project.Write("Hamilton/b.txt", Words("h", 29, 30) + Words("b", 0, 20));
    Project.Write("Madison/m.txt", Words("m", 0, 30) + Words("s", 0, 49) + Words("n", 0, 5));
    Project.Write("Unknown/1.txt", "\n. , ;\n\n" + Words("u", 0, 12) + Words("s", 0, 49) + Words("v", 0, 3));
    Project.Write("Unknown/2.txt", Words("w", 0, 20) + "ÉTÉ " + Words("h", 0, 59) + Words("x", 0, 4));
    Workspace.LoadProject(Project.Dir());
    const std::vector<TCopyRow> rows = Workspace.CopiedPassages();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].Candidate, u"Hamilton");
    EXPECT_EQ(rows[0].CandidatePlace, (TTextPlace{0, u"a.txt", 6}));
    EXPECT_EQ(rows[0].UnknownPlace, (TTextPlace{1, u"2.txt", 3}));
    EXPECT_EQ(rows[0].UnknownEnd, (TTextPlace{1, u"2.txt", 8}));
    EXPECT_EQ(rows[0].Words, 60);
    // The normalisation lower-cases only A to Z.
    EXPECT_EQ(rows[0].FirstWords, u"ÉtÉ h0 h1 h2 h3 h4 h5 h6 \u2026");

    Workspace.SetCopyWords(49);
    const std::vector<TCopyRow> shorter = Workspace.CopiedPassages();
    ASSERT_EQ(shorter.size(), 2u);
    EXPECT_EQ(shorter[0].Candidate, u"Madison");
    EXPECT_EQ(shorter[0].CandidatePlace, (TTextPlace{0, u"m.txt", 4}));
    // Two empty lines and a line of punctuation before the first words.
    EXPECT_EQ(shorter[0].UnknownPlace, (TTextPlace{0, u"1.txt", 6}));
}

// Every stretch of a verbatim copy is a repeated phrase: 15,000 words make
// far more than the phrase search may list.
TEST_F(CopiedPassages, AFifteenThousandWordCopyIsRefusedUnlessLeftOut) {
    Project.Write("Hamilton/h.txt", Words("h", 0, 20000));
    Project.Write("Madison/m.txt", Words("m", 0, 5000) + Words("h", 500, 10));
    Project.Write("Unknown/u.txt", Words("u", 0, 1000) + Words("h", 500, 15000) + Words("v", 0, 10));
    Workspace.LoadProject(Project.Dir());
    try {
        Workspace.RunCalculationNow(false);
        FAIL() << "the calculation ran";
    } catch (const TPassageTooLongError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "The text \"Unknown\" and the texts of \"Hamilton\" share a passage of 15,000 words (line 101 of "
                  "\"u.txt\" in \"Unknown\"; line 51 of \"h.txt\" in \"Hamilton\"). Such a long copy cannot be "
                  "compared phrase by phrase; remove it and calculate again. Or turn on \"Leave out copied "
                  "passages\", which leaves it out of the unknown text.");
    }

    Workspace.SetLeaveOutCopies(true);
    Workspace.Calculate();
    ASSERT_TRUE(Messages.Errors.empty());
    const TGrid& result = Workspace.Results().ResultTable();
    EXPECT_EQ(result.Cell(0, 3), u"Unknown");
    EXPECT_EQ(result.Cell(3, 3), u"1010  (15000 words of copied passages left out)");
    EXPECT_EQ(Workspace.Results().Engine()->Test()->WordCount(), 1010);
}

TEST_F(CopiedPassages, TheToggleMakesTheResultsOutOfDate) {
    Project.Write("Hamilton/h.txt", "one two three\n");
    Project.Write("Unknown/u.txt", "one two\n");
    Workspace.LoadProject(Project.Dir());
    Workspace.Calculate();
    ASSERT_TRUE(Workspace.Calculated());
    Workspace.SetLeaveOutCopies(true);
    EXPECT_FALSE(Workspace.Calculated());
    Workspace.Calculate();
    // Nothing was left out: no note of "0 words".
    EXPECT_EQ(Workspace.Results().ResultTable().Cell(3, 2), u"2");
}

}  // namespace
}  // namespace quillprint
