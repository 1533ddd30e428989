// The tables as drawn: score colours of the results and analysis tables,
// the frozen first column, kept column widths and whole-row selection.
#include <cmath>

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QToolTip>

#include "UiTestProgram.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"
#include "workspace/AnalysisTable.h"
#include "workspace/Grid.h"
#include "workspace/ResultTable.h"

using namespace quillprint;

// The colour a cell's text is drawn in, as far as the tests care.
enum class TInk { None, Green, Blue };
Q_DECLARE_METATYPE(TInk)

namespace {

// The ink of the text inside `rect`: pixels clearly green or clearly blue.
TInk InkIn(const QImage& image, const QRect& rect) {
    int green = 0, blue = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.green() > c.red() + 50 && c.green() > c.blue() + 50) ++green;
            if (c.blue() > c.red() + 80 && c.blue() > c.green() + 80) ++blue;
        }
    if (green > 3 && blue == 0) return TInk::Green;
    if (blue > 3 && green == 0) return TInk::Blue;
    return TInk::None;
}

// Pixels covered by text: bold text covers more of them for the same words.
int InkAmount(const QImage& image, const QRect& rect) {
    // The first pixel row inside the cell is above the text: background.
    const QColor background = image.pixelColor(rect.left() + 1, rect.top() + 1);
    int amount = 0;
    for (int y = rect.top() + 2; y < rect.bottom(); ++y)
        for (int x = rect.left() + 2; x < rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int distance = std::abs(c.red() - background.red()) + std::abs(c.green() - background.green()) +
                                 std::abs(c.blue() - background.blue());
            if (distance > 120) ++amount;
        }
    return amount;
}

struct TShownGrid {
    TShownGrid(const TGrid& grid, TGridModel::TColourRule rule) : Model(grid, std::move(rule)) {
        View.setModel(&Model);
        View.resize(700, 300);
        View.show();
        QVERIFY(QTest::qWaitForWindowExposed(&View));
    }
    QImage image() { return View.grab().toImage(); }
    // A data cell's rectangle in the view's coordinates (row 1 is the first data row).
    QRect cellRect(int col, int row) {
        QRect rect = View.visualRect(Model.index(row - 1, col));
        return rect.translated(View.viewport()->pos());
    }
    QRect headerRect(int col) {
        QHeaderView* header = View.horizontalHeader();
        return QRect(header->sectionViewportPosition(col), 0, header->sectionSize(col), header->height())
            .translated(header->pos());
    }
    TGridModel Model;
    TGridView View;
};

}  // namespace

class GridDrawingTest : public QObject {
    Q_OBJECT

private slots:
    void resultRowsAreColouredByTheirScore_data() {
        QTest::addColumn<float>("score");
        QTest::addColumn<TInk>("ink");
        QTest::addColumn<bool>("bold");
        QTest::newRow("0.99 most likely") << 0.99f << TInk::Green << true;
        QTest::newRow("0.75 most likely") << 0.75f << TInk::Green << true;
        QTest::newRow("0.749 maybe") << 0.749f << TInk::Blue << false;
        QTest::newRow("0.5 maybe") << 0.5f << TInk::Blue << false;
        QTest::newRow("0.499 hardly") << 0.499f << TInk::None << false;
        QTest::newRow("0 left alone") << 0.0f << TInk::None << false;
        QTest::newRow("2 test author") << 2.0f << TInk::None << false;
    }
    void resultRowsAreColouredByTheirScore() {
        QFETCH(float, score);
        QFETCH(TInk, ink);
        QFETCH(bool, bold);
        TGrid grid = NewResultGrid();
        grid.SetRowCount(3);
        // Row 1 is the row under test, row 2 an uncoloured row with the same texts.
        for (int row : {1, 2}) {
            grid.SetCell(0, row, u"Madison");
            grid.SetCell(2, row, u"Most likely");
        }
        grid.SetRowScore(1, score);
        TShownGrid shown(grid, [&grid](int32_t c, int32_t r) { return ResultCellColour(grid, c, r); });
        const QImage image = shown.image();
        for (int col : {0, 2}) {
            QCOMPARE(InkIn(image, shown.cellRect(col, 1)), ink);
            QCOMPARE(InkIn(image, shown.cellRect(col, 2)), TInk::None);
            const int coloured = InkAmount(image, shown.cellRect(col, 1));
            const int ordinary = InkAmount(image, shown.cellRect(col, 2));
            QVERIFY2(bold ? coloured > ordinary * 1.15 : coloured < ordinary * 1.1, qPrintable(QString("%1 vs %2").arg(coloured).arg(ordinary)));
        }
        QCOMPARE(InkIn(image, shown.headerRect(0)), TInk::None);
    }

    void selectedScoredRowsStayLegible() {
        TGrid grid = NewResultGrid();
        grid.SetRowCount(3);
        for (int row : {1, 2}) {
            grid.SetCell(0, row, u"Madison");
            grid.SetCell(2, row, row == 1 ? u"Most likely" : u"Maybe");
        }
        grid.SetRowScore(1, 0.9f);
        grid.SetRowScore(2, 0.6f);
        TShownGrid shown(grid, [&grid](int32_t c, int32_t r) { return ResultCellColour(grid, c, r); });
        // WCAG's contrast ratio of two colours.
        auto luminance = [](const QColor& c) {
            auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
        };
        auto contrast = [&](const QColor& a, const QColor& b) {
            const double la = luminance(a), lb = luminance(b);
            return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
        };
        for (int row : {1, 2}) {
            shown.View.selectRow(row - 1);
            const QImage image = shown.image();
            const QRect cell = shown.cellRect(2, row);
            QCOMPARE(InkIn(image, cell), row == 1 ? TInk::Green : TInk::Blue);
            const QColor background = image.pixelColor(cell.left() + 1, cell.top() + 1);
            const QColor ink = ScorePen(row == 1 ? TScoreColour::GreenBold : TScoreColour::Blue, QColor());
            QVERIFY2(contrast(ink, background) >= 3.0, qPrintable(QString("row %1: %2 on %3")
                                                                       .arg(row)
                                                                       .arg(ink.name(), background.name())));
        }
    }

    void analysisColoursThePhraseAndItsOneCandidate() {
        TGrid grid = NewAnalysisGrid();
        grid.SetColCount(4);
        grid.SetRowCount(3);
        const std::u16string headers[] = {u"", u"Alpha: 80%", u"Beta: 60%", u"Unknown"};
        for (int col = 0; col < 4; ++col) grid.SetCell(col, 0, headers[col]);
        grid.SetColumnScore(1, 0.8);
        grid.SetColumnScore(2, 0.6);
        grid.SetColumnScore(3, 2.0);
        grid.SetCell(0, 1, u"of the people");
        grid.SetCell(0, 2, u"in the eyes of");
        for (int row : {1, 2})
            for (int col = 1; col < 4; ++col) grid.SetCell(col, row, u"12");
        grid.SetRowAuthor(1, 0);  // shared with Alpha only
        grid.SetRowAuthor(2, 1);  // shared with Beta only

        TShownGrid shown(grid, [&grid](int32_t c, int32_t r) { return AnalysisCellColour(grid, c, r); });
        const QImage image = shown.image();
        QCOMPARE(InkIn(image, shown.headerRect(1)), TInk::Green);
        QCOMPARE(InkIn(image, shown.headerRect(2)), TInk::Blue);
        QCOMPARE(InkIn(image, shown.headerRect(3)), TInk::None);

        QCOMPARE(InkIn(image, shown.cellRect(0, 1)), TInk::Green);
        QCOMPARE(InkIn(image, shown.cellRect(1, 1)), TInk::Green);
        QCOMPARE(InkIn(image, shown.cellRect(2, 1)), TInk::None);
        QCOMPARE(InkIn(image, shown.cellRect(3, 1)), TInk::None);

        QCOMPARE(InkIn(image, shown.cellRect(0, 2)), TInk::Blue);
        QCOMPARE(InkIn(image, shown.cellRect(1, 2)), TInk::None);
        QCOMPARE(InkIn(image, shown.cellRect(2, 2)), TInk::Blue);
    }

    void firstColumnStaysWhileTheRestScrolls() {
        TGrid grid(6, 40);
        for (int row = 0; row < 40; ++row)
            for (int col = 0; col < 6; ++col)
                grid.SetCell(col, row, QString("c%1r%2").arg(col).arg(row).toStdU16String());
        TShownGrid shown(grid, {});
        for (int col = 0; col < 6; ++col) shown.View.setColumnWidthKept(col, 250);
        QCoreApplication::processEvents();  // the scroll ranges follow the new widths
        shown.View.horizontalScrollBar()->setValue(shown.View.horizontalScrollBar()->maximum());
        shown.View.verticalScrollBar()->setValue(10);
        QVERIFY(shown.View.horizontalScrollBar()->value() > 0);

        QTableView* frozen = shown.View.frozenColumn();
        QVERIFY(frozen->isVisible());
        QCOMPARE(frozen->width(), 250);
        // The frozen view shows column 0 of the rows scrolled to.
        const QModelIndex under = frozen->indexAt(QPoint(5, 5));
        QCOMPARE(under.column(), 0);
        QCOMPARE(under.row(), 10);
        QCOMPARE(frozen->horizontalHeader()->sectionViewportPosition(0), 0);
    }

    void columnWidthsSurviveRefillsAndFollowTheFrozenHeader() {
        TGrid grid = NewResultGrid();
        TShownGrid shown(grid, {});
        QAbstractItemModelTester tester(&shown.Model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        shown.View.setColumnWidthKept(3, 250);
        shown.View.frozenColumn()->horizontalHeader()->resizeSection(0, 180);
        QCOMPARE(shown.View.columnWidth(0), 180);

        grid.SetRowCount(12);
        grid.SetColCount(5);
        shown.Model.refresh();
        QCOMPARE(shown.View.columnWidth(0), 180);
        QCOMPARE(shown.View.columnWidth(3), 250);
        QCOMPARE(shown.View.columnWidth(4), TGridView::DefaultColumnWidth);
        QCOMPARE(shown.View.frozenColumn()->width(), 180);
        QCOMPARE(shown.View.rowHeight(5), TGridView::RowHeight);
        QVERIFY(!shown.View.frozenColumn()->isColumnHidden(0));
        QVERIFY(shown.View.frozenColumn()->isColumnHidden(4));
    }

    void aClickSelectsTheWholeRowAndCellsCannotBeEdited() {
        TGrid grid = NewResultGrid();
        grid.SetCell(2, 2, u"text");
        TShownGrid shown(grid, {});
        QTest::mouseClick(shown.View.viewport(), Qt::LeftButton, {},
                          shown.View.visualRect(shown.Model.index(1, 2)).center());
        const QModelIndexList rows = shown.View.selectionModel()->selectedRows();
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().row(), 1);
        QCOMPARE(shown.View.selectionModel()->selectedIndexes().size(), grid.ColCount());
        QTest::mouseDClick(shown.View.viewport(), Qt::LeftButton, {},
                           shown.View.visualRect(shown.Model.index(1, 2)).center());
        QVERIFY(shown.View.findChild<QLineEdit*>() == nullptr);
    }

    void cutOffCellsAndHeadersShowTheirWholeText() {
        TGrid grid = NewAnalysisGrid();
        grid.SetColCount(3);
        grid.SetRowCount(3);
        grid.SetCell(1, 0, u"Abraham Lincoln: 12.34%");
        grid.SetCell(1, 1, u"a phrase far too long for a column of eighty pixels");
        grid.SetCell(1, 2, u"short");
        TShownGrid shown(grid, {});
        shown.View.setColumnWidth(1, 80);
        const auto toolTipAt = [&](int row) {
            // A hidden tooltip fades out for a moment before it is gone.
            QToolTip::hideText();
            if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); })) return QString("(tooltip still shown)");
            const QPoint at = shown.View.visualRect(shown.Model.index(row - 1, 1)).center();
            QHelpEvent event(QEvent::ToolTip, at, shown.View.viewport()->mapToGlobal(at));
            QApplication::sendEvent(shown.View.viewport(), &event);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(toolTipAt(1), QString("a phrase far too long for a column of eighty pixels"));
        QCOMPARE(toolTipAt(2), QString());
        // The header cut off at its percentage says it whole.
        QCOMPARE(shown.Model.headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(),
                 QString("Abraham Lincoln: 12.34%"));
        QVERIFY(!shown.Model.headerData(2, Qt::Horizontal, Qt::ToolTipRole).isValid());
    }
};

QUILLPRINT_UI_TEST(GridDrawingTest)
#include "GridDrawingTest.moc"
