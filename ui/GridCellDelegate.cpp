#include "ui/GridCellDelegate.h"

#include <QHelpEvent>
#include <QPainter>

#include "ui/ClippedToolTip.h"
#include "ui/GridModel.h"

namespace quillprint {

namespace {

// A quarter of the selection colour over the table's own background.
QColor PaleSelection(const QPalette& palette) {
    const QColor highlight = palette.color(QPalette::Highlight);
    const QColor base = palette.color(QPalette::Base);
    auto mix = [](int h, int b) { return (h + 3 * b) / 4; };
    return QColor(mix(highlight.red(), base.red()), mix(highlight.green(), base.green()),
                  mix(highlight.blue(), base.blue()));
}

}  // namespace

void TGridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const bool fixedColumn = index.column() == 0;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette& palette = option.palette;

    QColor background = palette.color(QPalette::Base);
    QColor pen = palette.color(QPalette::Text);
    if (fixedColumn) {
        const bool hovered = FHighlightHovered && option.state.testFlag(QStyle::State_MouseOver);
        background = palette.color(hovered ? QPalette::Light : QPalette::Button);
        pen = palette.color(QPalette::ButtonText);
    }
    const auto colour = static_cast<TScoreColour>(index.data(TGridModel::ScoreColourRole).toInt());
    if (selected && !fixedColumn) {
        background = palette.color(QPalette::Highlight);
        pen = palette.color(QPalette::HighlightedText);
        // Green or blue text on the selection colour cannot be read: a
        // selected scored cell keeps its ink on a pale tint of the selection.
        if (colour != TScoreColour::Ordinary) background = PaleSelection(palette);
    }

    painter->save();
    painter->fillRect(option.rect, background);
    painter->setFont(ScoreFont(colour, option.font));
    painter->setPen(ScorePen(colour, pen));
    const QRect textRect = option.rect.adjusted(TextLeft, TextTop, -1, 0);
    painter->setClipRect(option.rect);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

bool TGridCellDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) {
    if (!event || !view || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const auto colour = static_cast<TScoreColour>(index.data(TGridModel::ScoreColourRole).toInt());
    return ShowToolTipWhenClipped(event, view, index.data(Qt::DisplayRole).toString(),
                                  ScoreFont(colour, option.font), option.rect.width() - TextLeft - 1);
}

}  // namespace quillprint
