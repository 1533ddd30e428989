#include "ui/CellMatrixView.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "ui/ChartPalette.h"

namespace quillprint {

namespace {

constexpr int kMargin = 6;
constexpr int kMinCellWidth = 44;
constexpr int kMaxCellWidth = 120;
constexpr int kMaxCellHeight = 32;

int WidestText(const QFontMetrics& metrics, const QStringList& texts) {
    int widest = 0;
    for (const QString& text : texts) widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest;
}

}  // namespace

TCellMatrixView::TCellMatrixView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TCellMatrixView::setMatrix(const QStringList& rows, const QStringList& columns,
                                std::vector<std::vector<TMatrixCell>> cells) {
    FRows = rows;
    FColumns = columns;
    FCells = std::move(cells);
    FCells.resize(static_cast<size_t>(FRows.size()));
    for (auto& row : FCells) row.resize(static_cast<size_t>(FColumns.size()));
    // Every cell stays readable; a scroll area around the view scrolls.
    setMinimumSize(sizeHint().expandedTo(minimumSizeHint()));
    updateGeometry();
    update();
}

void TCellMatrixView::setAxisTitles(const QString& rowsTitle, const QString& columnsTitle) {
    FRowsTitle = rowsTitle;
    FColumnsTitle = columnsTitle;
    update();
}

void TCellMatrixView::setEmptyText(const QString& text) {
    FEmptyText = text;
    update();
}

const TMatrixCell& TCellMatrixView::cell(int row, int column) const {
    return FCells.at(static_cast<size_t>(row)).at(static_cast<size_t>(column));
}

int TCellMatrixView::LabelsWidth(const QFontMetrics& metrics) const {
    // A little slack, so the widest label is never elided.
    return kMargin + std::max(WidestText(metrics, FRows), metrics.horizontalAdvance(FRowsTitle)) + 4 + kMargin;
}

TCellMatrixView::TLayout TCellMatrixView::layoutCells() const {
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    TLayout layout{};
    layout.Left = LabelsWidth(metrics);
    layout.Top = kMargin + (FColumnsTitle.isEmpty() ? 0 : line + 2) + line + 4;
    const int columns = std::max<int>(1, static_cast<int>(FColumns.size()));
    const int rows = std::max<int>(1, static_cast<int>(FRows.size()));
    const int headerWidth = std::max(kMinCellWidth, WidestText(metrics, FColumns) + 8);
    const int room = std::max(0, width() - layout.Left - kMargin) / columns;
    layout.CellWidth = std::clamp(room, std::min(headerWidth, kMinCellWidth), std::max(headerWidth, kMaxCellWidth));
    layout.CellHeight = std::clamp(std::max(0, height() - layout.Top - kMargin) / rows, line + 4, kMaxCellHeight);
    return layout;
}

QRect TCellMatrixView::cellRect(int row, int column) const {
    const TLayout l = layoutCells();
    return QRect(l.Left + column * l.CellWidth, l.Top + row * l.CellHeight, l.CellWidth, l.CellHeight);
}

QSize TCellMatrixView::sizeHint() const {
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    const int left = LabelsWidth(metrics);
    const int cellWidth = std::max(kMinCellWidth, WidestText(metrics, FColumns) + 8);
    const int top = kMargin + (FColumnsTitle.isEmpty() ? 0 : line + 2) + line + 4;
    return QSize(left + static_cast<int>(FColumns.size()) * cellWidth + kMargin,
                 top + static_cast<int>(FRows.size()) * (line + 8) + kMargin);
}

QSize TCellMatrixView::minimumSizeHint() const { return QSize(160, 80); }

void TCellMatrixView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QPalette pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Base));
    painter.setPen(pal.color(QPalette::Text));
    if (FRows.isEmpty() || FColumns.isEmpty()) {
        painter.drawText(rect().adjusted(kMargin, kMargin, -kMargin, -kMargin), Qt::AlignCenter | Qt::TextWordWrap,
                         FEmptyText);
        return;
    }
    const TLayout l = layoutCells();
    const QFontMetrics metrics(font());
    const int line = metrics.height();
    if (!FColumnsTitle.isEmpty())
        painter.drawText(QRect(l.Left, kMargin, l.CellWidth * static_cast<int>(FColumns.size()), line),
                         Qt::AlignLeft | Qt::AlignVCenter, FColumnsTitle);
    if (!FRowsTitle.isEmpty())
        painter.drawText(QRect(kMargin, kMargin, l.Left - kMargin, line), Qt::AlignLeft | Qt::AlignVCenter, FRowsTitle);
    for (int c = 0; c < FColumns.size(); ++c) {
        const QRect header(l.Left + c * l.CellWidth, l.Top - line - 4, l.CellWidth, line);
        painter.drawText(header, Qt::AlignCenter, metrics.elidedText(FColumns[c], Qt::ElideRight, l.CellWidth - 4));
    }
    QColor gridLine = pal.color(QPalette::Mid);
    for (int r = 0; r < FRows.size(); ++r) {
        painter.setPen(pal.color(QPalette::Text));
        painter.drawText(QRect(kMargin, l.Top + r * l.CellHeight, l.Left - 2 * kMargin, l.CellHeight),
                         Qt::AlignRight | Qt::AlignVCenter,
                         metrics.elidedText(FRows[r], Qt::ElideMiddle, l.Left - 2 * kMargin));
        for (int c = 0; c < FColumns.size(); ++c) {
            const TMatrixCell& cell = FCells[static_cast<size_t>(r)][static_cast<size_t>(c)];
            const QRect box = cellRect(r, c);
            const QColor shade = cell.Fill.isValid() ? cell.Fill : ProbabilityShade(cell.Shade, pal);
            painter.fillRect(box, shade);
            painter.setPen(gridLine);
            painter.drawRect(box.adjusted(0, 0, -1, -1));
            if (cell.Marked) {
                painter.setPen(QPen(pal.color(QPalette::Text), 2));
                painter.drawRect(box.adjusted(2, 2, -2, -2));
            }
            QFont cellFont = font();
            cellFont.setBold(cell.Marked);
            painter.setFont(cellFont);
            painter.setPen(TextOn(shade));
            painter.drawText(box, Qt::AlignCenter, cell.Text);
            painter.setFont(font());
        }
    }
}

void TCellMatrixView::mousePressEvent(QMouseEvent* event) {
    for (int r = 0; r < FRows.size(); ++r)
        for (int c = 0; c < FColumns.size(); ++c)
            if (cellRect(r, c).contains(event->position().toPoint())) {
                emit cellClicked(r, c);
                return;
            }
    QWidget::mousePressEvent(event);
}

}  // namespace quillprint
