#include "workspace/AnalysisTable.h"

#include <vector>

#include "engine/Quillprint.h"
#include "engine/Text.h"
#include "workspace/ResultTable.h"

namespace quillprint {

// The size of the table before its first fill, the window toolkit's default
// for a table (the results and stylometry tables set theirs from their
// headers).
constexpr int32_t kEmptyColumns = 5;
constexpr int32_t kEmptyRows = 5;

TGrid NewAnalysisGrid() { return TGrid(kEmptyColumns, kEmptyRows); }

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
        if (!phrase->IsScored()) continue;
        const std::vector<int32_t> counts = phrase->AuthorsCounts();
        sgAnalysis.SetCell(0, row, phrase->Value());
        sgAnalysis.SetRowAuthor(row, phrase->Unique());
        for (int32_t k = 0; k < static_cast<int32_t>(counts.size()) && k + 1 < sgAnalysis.ColCount(); ++k)
            sgAnalysis.SetCell(k + 1, row, Decimal(counts[k]));
        ++row;
    }
    sgAnalysis.SetRowCount(row);

    // The test author's column keeps its bare name.
    for (int32_t a = 0; a + 1 < authorCount; ++a)
        sgAnalysis.SetCell(a + 1, 0, sgAnalysis.Cell(a + 1, 0) + u": " + FormatPercent(authors[a]->Koef()));
}

}  // namespace quillprint
