// The pictures of the window and the report to share: the result chart
// follows the results table, the heat map selects texts, the validation
// report shows its confusion matrix, and the exported report holds every
// candidate with its percentage.
#include <QAbstractItemModel>
#include <QAction>
#include <QDirIterator>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTextDocument>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QChart>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/ConfusionMatrixView.h"
#include "ui/GridView.h"
#include "ui/ResultChart.h"
#include "ui/TextsHeatMap.h"
#include "ui/ValidationReportDialog.h"
#include "workspace/Workspace.h"

namespace quillprint::test {
namespace {

// The chart's bar labels from the top down, as the axis draws them (its
// labels are rich text).
QStringList ChartLabels(const TResultChart& chart) {
    QStringList labels;
    for (QAbstractAxis* axis : chart.chart()->axes(Qt::Vertical))
        if (auto* categories = qobject_cast<QBarCategoryAxis*>(axis))
            for (const QString& label : categories->categories()) {
                QTextDocument drawn;
                drawn.setHtml(label);
                labels.prepend(drawn.toPlainText());
            }
    return labels;
}

// The results table's candidate rows as "Name  NN%".
QStringList TableLabels(const QAbstractItemModel* model) {
    QStringList labels;
    for (int row = 0; row + 1 < model->rowCount(); ++row)
        labels.append(Cell(model, 0, row) + "  " + Cell(model, 1, row));
    return labels;
}

// Every file below `dir` with its size and time, to prove nothing was written.
QStringList Snapshot(const QString& dir) {
    QStringList entries;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries.append(info.filePath() + " " + QString::number(info.size()) + " " +
                       info.lastModified().toString(Qt::ISODateWithMs));
    }
    entries.sort();
    return entries;
}

// The cells of each row of the table with the id `id`.
QList<QStringList> HtmlTable(const QString& html, const QString& id) {
    const qsizetype start = html.indexOf("<table id=\"" + id + "\"");
    const qsizetype end = html.indexOf("</table>", start);
    QList<QStringList> rows;
    if (start < 0 || end < 0) return rows;
    const QString table = html.mid(start, end - start);
    static const QRegularExpression rowPattern("<tr[^>]*>(.*?)</tr>");
    static const QRegularExpression cellPattern("<t[dh]>(.*?)</t[dh]>");
    for (const auto& row : rowPattern.globalMatch(table)) {
        QStringList cells;
        for (const auto& cell : cellPattern.globalMatch(row.captured(1))) cells.append(cell.captured(1));
        rows.append(cells);
    }
    return rows;
}

}  // namespace

class ChartsTest : public QObject {
    Q_OBJECT

private slots:
    void resultChartFollowsTheTablePlainAndBalanced() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QVERIFY(Part<TResultChart>(form, "resultChart")->bars().empty());
        QVERIFY(ChartLabels(*Part<TResultChart>(form, "resultChart")).isEmpty());

        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        const QAbstractItemModel* table = Part<TGridView>(form, "sgResult")->model();
        QCOMPARE(ChartLabels(*Part<TResultChart>(form, "resultChart")), TableLabels(table));
        QCOMPARE(Part<TResultChart>(form, "resultChart")->bars().size(), size_t(2));
        QVERIFY(!Part<TResultChart>(form, "resultChart")->bars()[0].LowestPercent);

        Part<QAction>(form, "acBalance")->trigger();
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        QStringList balanced = TableLabels(table);
        for (int row = 0; row < balanced.size(); ++row) balanced[row] += " (won " + Cell(table, 4, row) + ")";
        QCOMPARE(ChartLabels(*Part<TResultChart>(form, "resultChart")), balanced);
        for (const TScoreBar& bar : Part<TResultChart>(form, "resultChart")->bars())
            QVERIFY(bar.LowestPercent && bar.HighestPercent);

        Part<QAction>(form, "acNew")->trigger();
        QVERIFY(Part<TResultChart>(form, "resultChart")->bars().empty());
        QVERIFY(f.Dialogs.Errors.isEmpty());
    }

    void heatMapShowsEveryTextAndAClickSelectsIt() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QTemporaryDir project;
        QByteArray sea, field;
        for (int i = 0; i < 6; ++i) {
            sea += "the salt wind fills the old sail s" + QByteArray::number(i) + "\n";
            field += "the brown field waits for rain f" + QByteArray::number(i) + "\n";
        }
        WriteFile(project.path() + "/Sailor/log.txt", sea);
        WriteFile(project.path() + "/Farmer/diary.txt", field);
        WriteFile(project.path() + "/Unknown/1 sea.txt", "the salt wind fills the old sail\n");
        WriteFile(project.path() + "/Unknown/2 field.txt", "the brown field waits for rain\n");
        f.Dialogs.FolderAnswer = project.path();
        Part<QAction>(form, "acOpen")->trigger();
        Part<QAction>(form, "acEachText")->trigger();
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        TTextsHeatMap& map = *Part<TTextsHeatMap>(form, "textsHeatMap");
        QVERIFY(map.isVisible());
        QCOMPARE(map.rowCount(), 2);
        QCOMPARE(map.columnCount(), 2);  // Farmer, Sailor in engine order
        QVERIFY(map.cell(0, 1).Marked && !map.cell(0, 0).Marked);
        QVERIFY(map.cell(1, 0).Marked && !map.cell(1, 1).Marked);
        QCOMPARE(map.cell(0, 1).Text, Cell(Part<TGridView>(form, "sgTexts")->model(), 4, 0));

        QCOMPARE(form.workspace().Results().ShownText(), 0);
        QTest::mouseClick(&map, Qt::LeftButton, {}, map.cellRect(1, 1).center());
        // The text is calculated again in the background for its tables.
        FinishCalculation(form);
        QCOMPARE(form.workspace().Results().ShownText(), 1);
        QCOMPARE(Cell(Part<TGridView>(form, "sgResult")->model(), 0, 0), QString("Farmer"));
    }

    void validationReportShowsItsConfusionMatrix() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QTemporaryDir project;
        QByteArray sea, field;
        for (int i = 0; i < 6; ++i) {
            sea += "the salt wind fills the old sail s" + QByteArray::number(i) + "\n";
            field += "the brown field waits for rain f" + QByteArray::number(i) + "\n";
        }
        WriteFile(project.path() + "/Sailor/log.txt", sea);
        WriteFile(project.path() + "/Farmer/diary.txt", field);
        WriteFile(project.path() + "/Unknown/u.txt", "the salt wind\n");
        f.Dialogs.FolderAnswer = project.path();
        Part<QAction>(form, "acOpen")->trigger();
        Part<QAction>(form, "acValidation")->trigger();
        FinishCalculation(form);
        TValidationReportDialog* dialog = Part<TValidationReportDialog>(form, "ValidationReportDialog");
        QVERIFY(dialog);
        const TConfusionMatrixView& matrix = *dialog->matrix();
        QVERIFY(matrix.isVisible());
        QCOMPARE(matrix.rowCount(), 2);
        QCOMPARE(matrix.cell(0, 0).Text, QString("1"));
        QCOMPARE(matrix.cell(1, 1).Text, QString("1"));
        QVERIFY(matrix.cell(0, 1).Text.isEmpty() && matrix.cell(1, 0).Text.isEmpty());
        QCOMPARE(dialog->reading()->text(), QString("2 of 2 recognised"));
    }

    void picturesFollowAChangeToADarkPalette() {
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(40, 40, 40));
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        dark.setColor(QPalette::Text, Qt::white);

        TResultChart chart;
        chart.setBars({TScoreBar{u"Madison", 81, TScoreColour::GreenBold, {}, {}, -1, {}}});
        QVERIFY(!chart.chart()->series().isEmpty());
        chart.setPalette(dark);
        QCOMPARE(chart.chart()->theme(), QChart::ChartThemeDark);
        QCOMPARE(chart.chart()->backgroundBrush().color(), QColor(30, 30, 30));

        TConfusionMatrixView matrix;
        TConfusionMatrix recognised;
        recognised.Names = {u"Jay"};
        recognised.Tested = {true};
        recognised.Counts = {{1}};
        matrix.setConfusionMatrix(recognised);
        const QColor before = matrix.cell(0, 0).Fill;
        matrix.setPalette(dark);
        QVERIFY(matrix.cell(0, 0).Fill.isValid());
        QVERIFY2(matrix.cell(0, 0).Fill.lightness() > before.lightness(), "the green is lightened on a dark palette");
    }

    void exportRefusesWithoutCurrentResultsAndWritesNothingOnCancel() {
        TFormFixture f;
        TForm1& form = *f.Form;
        QVERIFY(form.commandSet().contains(Part<QAction>(form, "acExportReport")));
        Part<QAction>(form, "acExportReport")->trigger();
        QCOMPARE(f.Dialogs.Messages.size(), 1);
        QVERIFY(f.Dialogs.SaveStartPaths.isEmpty());

        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        const QStringList before = Snapshot(f.Folder.projectDir());
        Part<QAction>(form, "acExportReport")->trigger();  // cancelled: SaveAnswer is empty
        QCOMPARE(f.Dialogs.SaveStartPaths.size(), 1);
        // The dialog does not start in the project folder.
        QVERIFY(!f.Dialogs.SaveStartPaths[0].startsWith(f.Folder.projectDir()));
        QVERIFY(f.Dialogs.SaveStartPaths[0].endsWith("FederalistShort report.pdf"));
        QCOMPARE(Snapshot(f.Folder.projectDir()), before);

        QTemporaryDir out;
        f.Dialogs.SaveAnswer = out.path() + "/missing folder/report.pdf";
        Part<QAction>(form, "acExportReport")->trigger();
        QCOMPARE(f.Dialogs.Errors.size(), 1);
        QVERIFY(f.Dialogs.Errors[0].startsWith("Cannot write the report"));
    }

    void exportedReportOfTheTutorialHoldsEveryCandidateAndItsPercentage() {
        TFormFixture f;
        TForm1& form = *f.Form;
        const QString tutorial = QStringLiteral(QUILLPRINT_TUTORIAL_SOURCES);
        const QStringList before = Snapshot(tutorial);
        f.Dialogs.FolderAnswer = tutorial;
        Part<QAction>(form, "acOpen")->trigger();
        Part<QAction>(form, "acBalance")->trigger();
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
        Part<QAction>(form, "acValidation")->trigger();
        FinishCalculation(form);
        QVERIFY(f.Dialogs.Errors.isEmpty());
        const QAbstractItemModel* table = Part<TGridView>(form, "sgResult")->model();
        QCOMPARE(table->rowCount(), 4);  // three candidates and "Unknown"

        QTemporaryDir out;
        f.Dialogs.SaveAnswer = out.path() + "/tutorial.html";
        Part<QAction>(form, "acExportReport")->trigger();
        f.Dialogs.SaveAnswer = out.path() + "/tutorial.pdf";
        Part<QAction>(form, "acExportReport")->trigger();
        QVERIFY2(f.Dialogs.Errors.isEmpty(), qPrintable(f.Dialogs.Errors.join('\n')));
        QCOMPARE(Snapshot(tutorial), before);

        QFile htmlFile(out.path() + "/tutorial.html");
        QVERIFY(htmlFile.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(htmlFile.readAll());
        const QList<QStringList> result = HtmlTable(html, "result");
        QCOMPARE(result.size(), table->rowCount() + 1);
        QCOMPARE(result[0], QStringList({"Author", "Probability", "Description", "Words", "Draws won"}));
        for (int row = 0; row < table->rowCount(); ++row) {
            QCOMPARE(result[row + 1].value(0), Cell(table, 0, row));
            QCOMPARE(result[row + 1].value(1), Cell(table, 1, row));
        }
        const QList<QStringList> candidates = HtmlTable(html, "candidates");
        QCOMPARE(candidates.size(), 4);
        QCOMPARE(candidates[1].value(1), QString("Harbour letter.txt, Log of the Heron.txt"));
        QVERIFY(html.contains("<tr><td>Balance</td><td>on</td></tr>"));
        QVERIFY(html.contains("src=\"data:image/png;base64,"));  // self-contained
        QVERIFY(!HtmlTable(html, "phrases").isEmpty());
        QCOMPARE(HtmlTable(html, "validation").size(), 5);
        QVERIFY(html.contains("recognised"));

        const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
        QVERIFY2(!pdftotext.isEmpty(), "pdftotext (poppler-utils) is missing: run tools/setup.sh");
        QProcess process;
        process.start(pdftotext, {"-layout", out.path() + "/tutorial.pdf", "-"});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        const QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split('\n');
        for (int row = 0; row + 1 < table->rowCount(); ++row) {
            const QRegularExpression line("^\\s*" + QRegularExpression::escape(Cell(table, 0, row)) + "\\s+" +
                                          QRegularExpression::escape(Cell(table, 1, row)) + "\\s");
            QVERIFY2(!lines.filter(line).isEmpty(), qPrintable(Cell(table, 0, row)));
        }
        // Its words are body text of 9 pt or more (they once came out below 1 pt).
        process.start(pdftotext, {"-bbox", out.path() + "/tutorial.pdf", "-"});
        QVERIFY(process.waitForFinished(30000));
        static const QRegularExpression word(
            R"re(<word xMin="[-0-9.]+" yMin="([-0-9.]+)" xMax="[-0-9.]+" yMax="([-0-9.]+)">)re");
        QList<double> heights;
        for (const auto& match : word.globalMatch(QString::fromUtf8(process.readAllStandardOutput())))
            heights.append(match.captured(2).toDouble() - match.captured(1).toDouble());
        std::sort(heights.begin(), heights.end());
        QVERIFY(heights.size() > 50);
        QVERIFY2(heights[heights.size() / 2] >= 9.0, qPrintable(QString::number(heights[heights.size() / 2])));
    }
};

}  // namespace quillprint::test

QUILLPRINT_UI_TEST(quillprint::test::ChartsTest)
#include "ChartsTest.moc"
