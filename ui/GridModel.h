// Shows a workspace table (TGrid) in a Qt view. The table's row 0 becomes
// the view's header row; its other rows are the model's rows, one lower. The
// score colour of each cell comes from the workspace's drawing rule.
#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <functional>

#include "workspace/Grid.h"

namespace quillprint {

class TGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The cell's TScoreColour as an int, for the cell delegate.
    static constexpr int ScoreColourRole = Qt::UserRole + 1;

    // `colour` answers for a cell in the table's own coordinates (row 0 is
    // the header); leave it empty for a table without score colours.
    using TColourRule = std::function<TScoreColour(int32_t col, int32_t row)>;

    TGridModel(const TGrid& grid, TColourRule colour, QObject* parent = nullptr);

    // The table changed: re-read every cell.
    void refresh();
    // The font the header draws a bold score caption in.
    void setHeaderFont(const QFont& font) { FHeaderFont = font; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    TScoreColour colourOf(int32_t col, int32_t row) const;

    const TGrid& FGrid;
    TColourRule FColour;
    QFont FHeaderFont;
};

// The font and pen colour a score colour asks for, starting from the ordinary ones.
QFont ScoreFont(TScoreColour colour, QFont ordinary);
QColor ScorePen(TScoreColour colour, QColor ordinary);

}  // namespace quillprint
