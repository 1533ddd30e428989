// Tooltips that show an item's whole text only where the view cuts it off:
// a label wider than its column or tree row, so the full name can be read
// without widening the view.
#pragma once

#include <QStyledItemDelegate>

class QAbstractItemView;
class QFont;
class QHelpEvent;
class QString;

namespace quillprint {

// Answers a tooltip event for `text` drawn in `font` within `available`
// pixels: shows the text when it does not fit, hides any tooltip when it
// does. Always true (the event is handled).
bool ShowToolTipWhenClipped(QHelpEvent* event, QAbstractItemView* view, const QString& text, const QFont& font,
                            int available);

// The standard item look, with a tooltip of the whole text on cut-off items.
class TClippedToolTipDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

}  // namespace quillprint
