// Draws one table cell: the background the table would give it (the
// fixed-cell colour in column 0, the selection colour on a selected row, the
// window colour elsewhere), then its text 3 pixels right of and 5 pixels
// below the cell's corner, green and bold or blue where the score says so.
// A selected scored cell keeps its ink on a pale tint of the selection colour.
// A cell whose text its column cuts off shows the whole text as a tooltip.
#pragma once

#include <QStyledItemDelegate>

namespace quillprint {

class TGridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int TextLeft = 3;
    static constexpr int TextTop = 5;

    using QStyledItemDelegate::QStyledItemDelegate;

    // Lightens the fixed cell under the mouse.
    void setHighlightHoveredFixedCell(bool on) { FHighlightHovered = on; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    // The whole text of a cell that its column cuts off.
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    bool FHighlightHovered = false;
};

}  // namespace quillprint
