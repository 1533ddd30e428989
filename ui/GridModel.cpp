#include "ui/GridModel.h"

#include <QColor>
#include <QFont>

namespace quillprint {

QFont ScoreFont(TScoreColour colour, QFont ordinary) {
    ordinary.setBold(colour == TScoreColour::GreenBold);
    return ordinary;
}

QColor ScorePen(TScoreColour colour, QColor ordinary) {
    switch (colour) {
    case TScoreColour::GreenBold: return QColor(kScoreGreen.R, kScoreGreen.G, kScoreGreen.B);
    case TScoreColour::Blue: return QColor(kScoreBlue.R, kScoreBlue.G, kScoreBlue.B);
    case TScoreColour::Ordinary: break;
    }
    return ordinary;
}

TGridModel::TGridModel(const TGrid& grid, TColourRule colour, QObject* parent)
    : QAbstractTableModel(parent), FGrid(grid), FColour(std::move(colour)) {}

void TGridModel::refresh() {
    beginResetModel();
    endResetModel();
}

int TGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(0, FGrid.RowCount() - 1);
}

int TGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FGrid.ColCount();
}

TScoreColour TGridModel::colourOf(int32_t col, int32_t row) const {
    return FColour ? FColour(col, row) : TScoreColour::Ordinary;
}

QVariant TGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int32_t col = index.column();
    const int32_t row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdU16String(FGrid.Cell(col, row));
    case ScoreColourRole:
        return static_cast<int>(colourOf(col, row));
    default:
        return {};
    }
}

QVariant TGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= FGrid.ColCount()) return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdU16String(FGrid.Cell(section, 0));
    case Qt::ToolTipRole: {
        // Headers such as "Abraham Lincoln: 12.34%" are wider than their
        // column; the tooltip shows the whole of them.
        const QString text = QString::fromStdU16String(FGrid.Cell(section, 0));
        return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case ScoreColourRole:
        return static_cast<int>(colourOf(section, 0));
    case Qt::FontRole:
        if (colourOf(section, 0) == TScoreColour::GreenBold) return ScoreFont(TScoreColour::GreenBold, FHeaderFont);
        return {};
    case Qt::ForegroundRole: {
        const TScoreColour colour = colourOf(section, 0);
        if (colour == TScoreColour::Ordinary) return {};
        return ScorePen(colour, QColor());
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

Qt::ItemFlags TGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;  // cells cannot be edited
}

}  // namespace quillprint
