#include "ui/GridView.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <algorithm>
#include <QScrollBar>
#include <QStyle>

#include "ui/GridCellDelegate.h"

namespace quillprint {

namespace {

void SetUpLikeAGrid(QTableView* view) {
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->setWordWrap(false);
    // Tab moves on to the next control, as in every other part of the window.
    view->setTabKeyNavigation(false);
    view->setItemDelegate(new TGridCellDelegate(view));
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(TGridView::RowHeight);
    view->verticalHeader()->setMinimumSectionSize(TGridView::RowHeight);
    QHeaderView* header = view->horizontalHeader();
    header->setDefaultSectionSize(TGridView::DefaultColumnWidth);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setFixedHeight(TGridView::RowHeight);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
}

}  // namespace

TGridView::TGridView(QWidget* parent) : QTableView(parent) {
    SetUpLikeAGrid(this);
    // The header beyond the last column is drawn in the window colour; keep
    // the toolkit's own there rather than the main window's sky blue.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, style()->standardPalette().color(QPalette::Window));
    setPalette(palette);
    FFrozen = new QTableView(this);
    SetUpLikeAGrid(FFrozen);
    FFrozen->setObjectName("frozenColumn");
    FFrozen->setFocusPolicy(Qt::NoFocus);
    FFrozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FFrozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FFrozen->setFrameShape(QFrame::NoFrame);
    viewport()->stackUnder(FFrozen);

    // Dragging the border of the first column's header, which lies in the
    // frozen view, resizes the first column of both views.
    connect(FFrozen->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int logical, int, int newSize) {
                if (logical != 0) return;
                setColumnWidth(0, newSize);
                if (!FWidths.isEmpty()) FWidths[0] = newSize;
                updateFrozenGeometry();
            });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int logical, int, int newSize) {
                if (logical < FWidths.size()) FWidths[logical] = newSize;
                if (logical == 0) {
                    FFrozen->setColumnWidth(0, newSize);
                    updateFrozenGeometry();
                }
            });
    connect(FFrozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, FFrozen->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { emit contextMenuRequested(viewport()->mapToGlobal(pos)); });
    connect(FFrozen, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { emit contextMenuRequested(FFrozen->viewport()->mapToGlobal(pos)); });
}

void TGridView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    FFrozen->setModel(model);
    FWidths.clear();
    if (!model) return;
    FFrozen->setSelectionModel(selectionModel());
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, &TGridView::rememberWidths);
    connect(model, &QAbstractItemModel::modelReset, this, &TGridView::restoreWidths);
    FWidths.clear();
    for (int column = 0; column < model->columnCount(); ++column) FWidths.append(columnWidth(column));
    updateFrozenColumns();
    updateFrozenGeometry();
}

void TGridView::setColumnWidthKept(int column, int width) {
    while (FWidths.size() <= column) FWidths.append(DefaultColumnWidth);
    FWidths[column] = width;
    setColumnWidth(column, width);
    if (column == 0) FFrozen->setColumnWidth(0, width);
    updateFrozenGeometry();
}

void TGridView::fitColumnToContents(int column, int limit) {
    if (!model() || column >= model()->columnCount()) return;
    const QFontMetrics metrics(horizontalHeader()->font());
    const int header =
        metrics.horizontalAdvance(model()->headerData(column, Qt::Horizontal).toString()) + 2 * metrics.averageCharWidth();
    // The first rows and the last, not only those on screen: the last row
    // of "Result" holds the longest text of its columns.
    const int rows = model()->rowCount();
    int cells = 0;
    const auto measure = [&](int row) {
        cells = std::max(cells, sizeHintForIndex(model()->index(row, column)).width());
    };
    for (int row = 0; row < std::min(rows, kMostRowsMeasured); ++row) measure(row);
    if (rows > kMostRowsMeasured) measure(rows - 1);
    setColumnWidthKept(column, std::clamp(std::max(header, cells + 1), static_cast<int>(DefaultColumnWidth), limit));
}

void TGridView::setFixedCellStyle(bool lines, bool hoverHighlight) {
    FFrozen->setShowGrid(lines);
    FFrozen->viewport()->setAttribute(Qt::WA_Hover, hoverHighlight);
    FFrozen->setMouseTracking(hoverHighlight);
    static_cast<TGridCellDelegate*>(FFrozen->itemDelegate())->setHighlightHoveredFixedCell(hoverHighlight);
}

void TGridView::rememberWidths() {
    // The header forgets its section sizes when the model is reset.
    FWidths.clear();
    for (int column = 0; column < horizontalHeader()->count(); ++column) FWidths.append(columnWidth(column));
}

void TGridView::restoreWidths() {
    const int columns = model()->columnCount();
    for (int column = 0; column < columns; ++column)
        setColumnWidth(column, column < FWidths.size() ? FWidths[column] : DefaultColumnWidth);
    while (FWidths.size() < columns) FWidths.append(DefaultColumnWidth);
    updateFrozenColumns();
    updateFrozenGeometry();
}

void TGridView::updateFrozenColumns() {
    const int columns = model() ? model()->columnCount() : 0;
    for (int column = 1; column < columns; ++column) FFrozen->setColumnHidden(column, true);
    if (columns > 0) {
        FFrozen->setColumnHidden(0, false);
        FFrozen->setColumnWidth(0, columnWidth(0));
    }
}

void TGridView::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    updateFrozenGeometry();
}

void TGridView::updateFrozenGeometry() {
    FFrozen->setGeometry(frameWidth(), frameWidth(), columnWidth(0),
                         viewport()->height() + horizontalHeader()->height());
}

QModelIndex TGridView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) {
    QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    // Keep the current cell out from under the frozen column.
    if (cursorAction == MoveLeft && current.column() > 0 &&
        visualRect(current).topLeft().x() < FFrozen->columnWidth(0)) {
        const int newValue =
            horizontalScrollBar()->value() + visualRect(current).topLeft().x() - FFrozen->columnWidth(0);
        horizontalScrollBar()->setValue(newValue);
    }
    return current;
}

void TGridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    // A cell of the frozen column is always in sight horizontally: scroll
    // only to its row.
    const int horizontal = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    if (index.column() == 0) horizontalScrollBar()->setValue(horizontal);
}

}  // namespace quillprint
