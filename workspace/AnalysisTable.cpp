#include "workspace/AnalysisTable.h"

#include <vector>

#include "engine/Quillprint.h"
#include "engine/Text.h"
#include "workspace/ResultTable.h"

namespace quillprint {

TGrid NewAnalysisGrid() { return TGrid(5, 5); }

void LoadGridAnalysis(const TQuillprint& engine, TGrid& sgAnalysis) {
    const auto& authors = engine.Authors();
    const auto authorCount = static_cast<int32_t>(authors.size());
    sgAnalysis.SetColCount(authorCount + 1);
    sgAnalysis.SetRowCount(kMaxAnalysisRows + 1);
    sgAnalysis.ClearAttachments();

    sgAnalysis.SetCell(0, 0, {});
    for (int32_t a = 0; a < authorCount; ++a) {
        sgAnalysis.SetCell(a + 1, 0, authors[a]->Name());
        sgAnalysis.SetColumnScore(a + 1, authors[a]->Koef());
    }

    int32_t row = 1;
    for (const TPhrase* phrase : engine.Phrases()) {
        if (row > kMaxAnalysisRows) break;
        const auto entries = phrase->AuthorCountEntries();
        // The test author is the last, so its count is the last entry's.
        const int32_t testCount =
            !entries.empty() && entries.back().Author == authorCount - 1 ? entries.back().Count : 0;
        // Listed: the test text uses it, and exactly one candidate too.
        if (testCount < 1 || testCount == phrase->CountInstances() || phrase->Unique() == -1) continue;
        const std::vector<int32_t> counts = phrase->AuthorsCounts();
        sgAnalysis.SetCell(0, row, phrase->Value());
        sgAnalysis.SetRowAuthor(row, phrase->Unique());
        for (int32_t k = 0; k < static_cast<int32_t>(counts.size()) && k + 1 < sgAnalysis.ColCount(); ++k)
            sgAnalysis.SetCell(k + 1, row, FromUtf8(std::to_string(counts[k])));
        ++row;
    }
    sgAnalysis.SetRowCount(row);

    // The test author's column keeps its bare name.
    for (int32_t a = 0; a + 1 < authorCount; ++a)
        sgAnalysis.SetCell(a + 1, 0, sgAnalysis.Cell(a + 1, 0) + u": " + FormatPercent(authors[a]->Koef()));
}

}  // namespace quillprint
