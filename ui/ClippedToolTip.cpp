#include "ui/ClippedToolTip.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>

namespace quillprint {

bool ShowToolTipWhenClipped(QHelpEvent* event, QAbstractItemView* view, const QString& text, const QFont& font,
                            int available) {
    if (!text.isEmpty() && QFontMetrics(font).horizontalAdvance(text) > available)
        QToolTip::showText(event->globalPos(), text, view->viewport());
    else
        QToolTip::hideText();
    return true;
}

bool TClippedToolTipDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                        const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (!event || !view || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    // Where the style puts the text, after the branch, icon and margins.
    const QRect textRect = view->style()->subElementRect(QStyle::SE_ItemViewItemText, &item, view);
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return ShowToolTipWhenClipped(event, view, item.text, item.font, textRect.width() - 2 * margin);
}

}  // namespace quillprint
