#include "ui/TextsHeatMap.h"

namespace quillprint {

TTextsHeatMap::TTextsHeatMap(QWidget* parent) : TCellMatrixView(parent) {
    setObjectName("TextsHeatMap");
    setAxisTitles(tr("Text"), tr("Candidate"));
}

void TTextsHeatMap::setHeatMap(const THeatMap& map) {
    QStringList rows, columns;
    for (const std::u16string& text : map.Texts) rows.append(QString::fromStdU16String(text));
    for (const std::u16string& candidate : map.Candidates) columns.append(QString::fromStdU16String(candidate));
    std::vector<std::vector<TMatrixCell>> cells(map.Texts.size());
    for (size_t t = 0; t < map.Texts.size(); ++t) {
        cells[t].resize(map.Candidates.size());
        const std::vector<int32_t>& percents = map.Percents[t];
        for (size_t c = 0; c < map.Candidates.size(); ++c) {
            TMatrixCell& cell = cells[t][c];
            // A text without a result has no cells to shade.
            if (c >= percents.size()) {
                cell.Text = QStringLiteral("–");
                continue;
            }
            cell.Text = QStringLiteral("%1%").arg(percents[c]);
            cell.Shade = percents[c] / 100.0;
            cell.Marked = static_cast<int32_t>(c) == map.MostLikely[t];
        }
    }
    setMatrix(rows, columns, std::move(cells));
}

}  // namespace quillprint
