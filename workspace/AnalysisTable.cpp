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

void FillAnalysisTable(const TQuillprint& engine, TGrid& table) {
    const auto& authors = engine.Authors();
    const auto authorCount = static_cast<int32_t>(authors.size());
    table.SetColCount(authorCount + 1);
    table.SetRowCount(kMaxAnalysisRows + 1);
    table.ClearAttachments();

    table.SetCell(0, 0, {});
    for (int32_t a = 0; a < authorCount; ++a) {
        table.SetCell(a + 1, 0, authors[a]->Name());
        table.SetColumnScore(a + 1, authors[a]->Koef());
    }

    int32_t row = 1;
    for (const TPhrase* phrase : engine.Phrases()) {
        if (row > kMaxAnalysisRows) break;
        if (!phrase->IsScored()) continue;
        const std::vector<int32_t> counts = phrase->AuthorsCounts();
        table.SetCell(0, row, phrase->Value());
        table.SetRowAuthor(row, phrase->Unique());
        for (int32_t k = 0; k < static_cast<int32_t>(counts.size()) && k + 1 < table.ColCount(); ++k)
            table.SetCell(k + 1, row, Decimal(counts[k]));
        ++row;
    }
    table.SetRowCount(row);

    // The test author's column keeps its bare name.
    for (int32_t a = 0; a + 1 < authorCount; ++a)
        table.SetCell(a + 1, 0, table.Cell(a + 1, 0) + u": " + FormatPercent(authors[a]->Koef()));
}

}  // namespace quillprint
