#include "ui/ConfusionMatrixView.h"

#include <QEvent>

#include "ui/ChartPalette.h"

namespace quillprint {

TConfusionMatrixView::TConfusionMatrixView(QWidget* parent) : TCellMatrixView(parent) {
    setObjectName("ConfusionMatrix");
    setAxisTitles(tr("Lines of"), tr("Named by the program"));
}

void TConfusionMatrixView::changeEvent(QEvent* event) {
    TCellMatrixView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) setConfusionMatrix(TConfusionMatrix(FMatrix));
}

void TConfusionMatrixView::setConfusionMatrix(const TConfusionMatrix& matrix) {
    FMatrix = matrix;
    QStringList rows, columns;
    const size_t n = matrix.Names.size();
    for (size_t i = 0; i < n; ++i) {
        const QString name = QString::fromStdU16String(matrix.Names[i]);
        columns.append(name);
        rows.append(matrix.Tested[i] ? name : tr("%1 (not tested)").arg(name));
    }
    std::vector<std::vector<TMatrixCell>> cells(n, std::vector<TMatrixCell>(n));
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < n; ++j) {
            const int32_t count = matrix.Counts[i][j];
            if (count == 0) continue;
            TMatrixCell& cell = cells[i][j];
            cell.Text = QString::number(count);
            // Recognised in the table's green; a miss in a warm colour.
            cell.Fill = i == j ? BandColour(TScoreColour::GreenBold, palette()) : QColor(230, 120, 40);
            cell.Marked = i == j;
        }
    }
    setMatrix(rows, columns, std::move(cells));
}

}  // namespace quillprint
