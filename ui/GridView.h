// A table view whose header row and first column stay in place while the
// rest scrolls: the first column is a second view laid over the left edge,
// sharing the model and the selection. Rows are 24 pixels high, columns 100
// wide unless set otherwise, resizable by dragging the header borders, and a
// click selects the whole row.
#pragma once

#include <QTableView>

namespace quillprint {

// How wide a column fitted to names and results may grow, in pixels.
inline constexpr int kWidestFittedColumn = 260;

class TGridView : public QTableView {
    Q_OBJECT
public:
    static constexpr int RowHeight = 24;
    static constexpr int DefaultColumnWidth = 100;

    explicit TGridView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    // Widths by column; they survive refills of the model.
    void setColumnWidthKept(int column, int width);
    // Widens or narrows `column` to its header and cells, never below
    // DefaultColumnWidth nor above `limit`; kept like the widths above.
    void fitColumnToContents(int column, int limit);
    QTableView* frozenColumn() const { return FFrozen; }
    // Lines between the cells of the fixed column, and the highlight of the
    // fixed cell under the mouse.
    void setFixedCellStyle(bool lines, bool hoverHighlight);

signals:
    // A right click anywhere in the table, in global coordinates.
    void contextMenuRequested(const QPoint& globalPos);

protected:
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

private:
    // The first rows measured to fit a column (and the last): every row of
    // a table of candidates, and quick for a long table.
    static constexpr int kMostRowsMeasured = 200;

    void rememberWidths();
    void restoreWidths();
    void updateFrozenColumns();
    void updateFrozenGeometry();

    QTableView* FFrozen = nullptr;
    QList<int> FWidths;
};

}  // namespace quillprint
