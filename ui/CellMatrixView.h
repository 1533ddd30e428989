// A table drawn as a picture: labelled rows and columns of shaded cells, a
// cell optionally outlined as marked. The heat map of many disputed texts
// and the confusion matrix of the validation report are drawn with it; Qt
// Charts has no series for a grid of cells.
#pragma once

#include <QColor>
#include <QFontMetrics>
#include <QStringList>
#include <QWidget>
#include <vector>

namespace quillprint {

struct TMatrixCell {
    QString Text;
    double Shade = 0;  // 0: the palette's base colour, 1: full green
    QColor Fill;       // when valid, used instead of the shade
    bool Marked = false;
};

class TCellMatrixView : public QWidget {
    Q_OBJECT
public:
    explicit TCellMatrixView(QWidget* parent = nullptr);

    // `cells` holds one row per row label, each as long as `columns`.
    void setMatrix(const QStringList& rows, const QStringList& columns, std::vector<std::vector<TMatrixCell>> cells);
    // A caption above the column labels and one left of the row labels.
    void setAxisTitles(const QString& rowsTitle, const QString& columnsTitle);
    // Shown in place of the cells when there are none.
    void setEmptyText(const QString& text);

    int rowCount() const { return FRows.size(); }
    int columnCount() const { return FColumns.size(); }
    const TMatrixCell& cell(int row, int column) const;
    // The rectangle of a cell in widget coordinates (for tests and clicks).
    QRect cellRect(int row, int column) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void cellClicked(int row, int column);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct TLayout {
        int Left, Top, CellWidth, CellHeight;
    };
    TLayout layoutCells() const;
    int LabelsWidth(const QFontMetrics& metrics) const;

    QStringList FRows;
    QStringList FColumns;
    std::vector<std::vector<TMatrixCell>> FCells;
    QString FRowsTitle;
    QString FColumnsTitle;
    QString FEmptyText;
};

}  // namespace quillprint
