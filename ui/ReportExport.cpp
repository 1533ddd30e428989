#include "ui/ReportExport.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>
#include <algorithm>

#include "ui/FileBytes.h"
#include "workspace/ChartData.h"
#include "workspace/CrossValidationTables.h"
#include "workspace/Workspace.h"

namespace quillprint {

namespace {

// How many of the most likely candidate's shared phrases the report lists.
constexpr int32_t kReportPhrases = 15;
// The widest a picture is shown, in CSS pixels: it fits an A4 page within
// the margins that printing adds.
constexpr int kPictureWidth = 560;
// The PDF's body text, in points: readable on paper.
constexpr double kBodyPoints = 10;

QString Html(const std::u16string& text) { return QString::fromStdU16String(text).toHtmlEscaped(); }

// The tables' own colours, as the window draws them.
QString ColourStyle(TScoreColour colour) {
    const auto css = [](TRgb rgb) { return QColor(rgb.R, rgb.G, rgb.B).name(); };
    switch (colour) {
    case TScoreColour::GreenBold: return QStringLiteral(" style=\"color:%1;font-weight:bold\"").arg(css(kScoreGreen));
    case TScoreColour::Blue: return QStringLiteral(" style=\"color:%1\"").arg(css(kScoreBlue));
    case TScoreColour::Ordinary: break;
    }
    return {};
}

// A table of the window: row 0 as the header, each cell coloured as drawn,
// `colourOf` given (col, row); a row whose cells share one colour carries it
// once.
template <typename ColourOf>
QString CellColouredTableHtml(const TGrid& grid, const QString& id, ColourOf colourOf, int32_t rows = -1) {
    const int32_t last = rows < 0 ? grid.RowCount() : std::min(grid.RowCount(), rows + 1);
    QString html = QStringLiteral("<table id=\"%1\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n").arg(id);
    for (int32_t row = 0; row < last; ++row) {
        const bool header = row == 0;
        const QString cellTag = header ? QStringLiteral("th") : QStringLiteral("td");
        bool oneColour = true;
        for (int32_t col = 1; col < grid.ColCount() && !header; ++col)
            oneColour = oneColour && colourOf(col, row) == colourOf(0, row);
        html += QStringLiteral("<tr%1>").arg(header || !oneColour ? QString() : ColourStyle(colourOf(0, row)));
        for (int32_t col = 0; col < grid.ColCount(); ++col) {
            const QString style = header || oneColour ? QString() : ColourStyle(colourOf(col, row));
            html += QStringLiteral("<%1%3>%2</%1>").arg(cellTag, Html(grid.Cell(col, row)), style);
        }
        html += QStringLiteral("</tr>\n");
    }
    return html + QStringLiteral("</table>\n");
}

// The same with one colour per row, `colourOf` given the row.
template <typename ColourOf>
QString TableHtml(const TGrid& grid, const QString& id, ColourOf colourOf, int32_t rows = -1) {
    return CellColouredTableHtml(
        grid, id, [&colourOf](int32_t, int32_t row) { return colourOf(row); }, rows);
}

QString PictureHtml(const QImage& image, const char* name, const QString& alt, TPictureLinks links) {
    if (image.isNull()) return {};
    QString source = QString::fromLatin1(name);
    if (links == TPictureLinks::DataUrls) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        source = QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
    }
    // Drawn at twice the resolution it is shown at, so it stays sharp.
    const QSizeF shown = image.deviceIndependentSize();
    const double scale = shown.width() > kPictureWidth ? kPictureWidth / shown.width() : 1.0;
    return QStringLiteral("<p><img src=\"%1\" alt=\"%2\" width=\"%3\" height=\"%4\"></p>\n")
        .arg(source, alt.toHtmlEscaped())
        .arg(qRound(shown.width() * scale))
        .arg(qRound(shown.height() * scale));
}

QString OnOff(bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); }

// The project's folder name.
QString ProjectName(const TWorkspace& workspace) {
    const QString dir = QDir::fromNativeSeparators(QString::fromStdU16String(workspace.Project().Folder()));
    const QString name = QFileInfo(dir.endsWith('/') ? dir.chopped(1) : dir).fileName();
    return name.isEmpty() ? dir : name;
}

// Every candidate of the shown run, in the tree's order, with its texts and
// its own words; a balanced run adds the words of its sample in each draw.
QString CandidatesHtml(const TWorkspace& workspace) {
    const TQuillprint* engine = workspace.Results().Engine();
    if (!engine) return {};
    const std::vector<int64_t>& ownWords = workspace.Results().CandidateWords();
    const bool balanced = !ownWords.empty();
    QString html = QStringLiteral(
                       "<table id=\"candidates\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n"
                       "<tr><th>Candidate</th><th>Texts</th><th>Words</th>%1</tr>\n")
                       .arg(balanced ? QStringLiteral("<th>Words per draw</th>") : QString());
    // The engine's last author is the test text.
    const auto& authors = engine->Authors();
    for (const auto& entry : workspace.Project().Tree().Authors()) {
        for (size_t i = 0; i + 1 < authors.size(); ++i) {
            if (authors[i]->Name() != entry->Label()) continue;
            QStringList texts;
            for (const auto& text : entry->Texts())
                if (!text->IsSetAside()) texts.append(Html(text->Label()));
            const int64_t sample = authors[i]->WordCount();
            const int64_t words = balanced && i < ownWords.size() ? ownWords[i] : sample;
            html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td>%4</tr>\n")
                        .arg(Html(entry->Label()), texts.join(QStringLiteral(", ")), Html(Decimal(words)),
                             balanced ? QStringLiteral("<td>%1</td>").arg(Html(Decimal(sample))) : QString());
            break;
        }
    }
    return html + QStringLiteral("</table>\n");
}

// The locale whose rules compare the words; empty is ICU's root, the same
// for every language.
QString LocaleText(const std::string& name) {
    return name.empty() ? QStringLiteral("root (the same rules for every language)")
                        : QString::fromStdString(name).toHtmlEscaped();
}

// The phrases of "Analysis" that the test text shares with the candidate the
// results table ranks first, in the table's order.
QString TopPhrasesHtml(const TWorkspace& workspace) {
    const std::vector<TRankedCandidate>& ranked = workspace.Results().ResultRanking().Rows;
    const TGrid& analysis = workspace.Results().AnalysisTable();
    if (ranked.size() < 2) return {};
    const int32_t first = ranked.front().EngineIndex;
    if (first < 0 || first + 1 >= analysis.ColCount()) return {};
    const int32_t testCol = analysis.ColCount() - 1;
    QString rows;
    int32_t listed = 0;
    for (int32_t row = 1; row < analysis.RowCount() && listed < kReportPhrases; ++row) {
        if (analysis.RowAuthor(row) != first) continue;
        rows += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>\n")
                    .arg(Html(analysis.Cell(0, row)), Html(analysis.Cell(first + 1, row)),
                         Html(analysis.Cell(testCol, row)));
        ++listed;
    }
    QString html = QStringLiteral("<h2>Phrases shared with %1</h2>\n").arg(Html(ranked.front().Name));
    if (listed == 0) return html + QStringLiteral("<p>The test text shares no phrase with this candidate alone.</p>\n");
    return html +
           QStringLiteral(
               "<table id=\"phrases\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n"
               "<tr><th>Phrase</th><th>%1</th><th>%2</th></tr>\n")
               .arg(Html(ranked.front().Name), Html(analysis.Cell(testCol, 0))) +
           rows + QStringLiteral("</table>\n");
}

// Lays the report out on the PDF's own pages and draws it page by page. The
// layout measures text in the writer's resolution, never the screen's, so
// the body text has the same size in points at any screen density.
void WritePdfPages(QPdfWriter& writer, const QString& html, const TReportPictures& pictures) {
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&writer);
    QFont body = document.defaultFont();
    body.setPointSizeF(kBodyPoints);
    document.setDefaultFont(body);
    const std::pair<const char*, const QImage*> images[] = {{kResultChartPicture, &pictures.ResultChart},
                                                            {kTextsHeatMapPicture, &pictures.TextsHeatMap},
                                                            {kConfusionMatrixPicture, &pictures.ConfusionMatrix}};
    for (const auto& [name, image] : images)
        if (!image->isNull()) document.addResource(QTextDocument::ImageResource, QUrl(QString::fromLatin1(name)), *image);
    document.setHtml(html);
    const QSizeF page = writer.pageLayout().paintRectPixels(writer.resolution()).size();
    // With a page height set, the layout moves a line that would cross a
    // page's end to the next page.
    document.setPageSize(page);
    QPainter painter(&writer);
    for (int number = 0; number < document.pageCount(); ++number) {
        if (number > 0) writer.newPage();
        painter.save();
        painter.translate(0, -number * page.height());
        document.drawContents(&painter, QRectF(QPointF(0, number * page.height()), page));
        painter.restore();
    }
}

}  // namespace

QString ReportHtml(const TWorkspace& workspace, const TReportPictures& pictures, const QDateTime& when,
                   TPictureLinks links) {
    const QString project = ProjectName(workspace);
    QString html = QStringLiteral(
                       "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">\n<title>Quillprint report: %1</title>\n"
                       "<style>body{font-family:sans-serif} table{border-collapse:collapse} "
                       "th{text-align:left}</style>\n</head><body>\n<h1>Quillprint report: %1</h1>\n")
                       .arg(project.toHtmlEscaped());
    html += QStringLiteral(
                "<table id=\"settings\" cellpadding=\"2\">\n"
                "<tr><td>Date</td><td>%1</td></tr>\n<tr><td>Project</td><td>%2</td></tr>\n"
                "<tr><td>Locale</td><td>%3</td></tr>\n<tr><td>Balance</td><td>%4</td></tr>\n"
                "<tr><td>Each text</td><td>%5</td></tr>\n")
                .arg(when.toString(QStringLiteral("yyyy-MM-dd HH:mm")), Html(workspace.Project().Folder()),
                     LocaleText(workspace.LocaleName()), OnOff(workspace.Options().Balance()),
                     OnOff(workspace.Options().EachText()));
    // Named only when on, so a report made without it is what it always was.
    if (workspace.Options().SplitWordsByLanguage())
        html += QStringLiteral("<tr><td>Split words by language</td><td>on</td></tr>\n");
    if (const std::u16string shown = workspace.Results().ShownTextLabel(); !shown.empty())
        html += QStringLiteral("<tr><td>Text shown</td><td>%1</td></tr>\n").arg(Html(shown));
    html += QStringLiteral("</table>\n");

    html += QStringLiteral("<h2>Candidates</h2>\n") + CandidatesHtml(workspace);
    html += QStringLiteral("<h2>Result</h2>\n") +
            TableHtml(workspace.Results().ResultTable(), QStringLiteral("result"),
                      [&workspace](int32_t row) { return workspace.Results().ResultCellColour(0, row); });
    html += PictureHtml(pictures.ResultChart, kResultChartPicture, QStringLiteral("Result chart"), links);
    for (const std::u16string& line : workspace.Results().TrustLines())
        html += QStringLiteral("<p class=\"trust\">%1</p>\n").arg(Html(line));
    html += TopPhrasesHtml(workspace);

    if (!workspace.Results().TextOutcomes().empty()) {
        html += QStringLiteral("<h2>Texts</h2>\n") +
                CellColouredTableHtml(
                    workspace.Results().TextsTable(), QStringLiteral("texts"),
                    [&workspace](int32_t col, int32_t row) { return workspace.Results().TextsCellColour(col, row); });
        html += PictureHtml(pictures.TextsHeatMap, kTextsHeatMapPicture, QStringLiteral("Texts heat map"), links);
    }
    // Only a validation of the project and settings the results come from.
    if (const auto& report = workspace.Results().ValidationTable(); report && workspace.ValidationMatchesResults()) {
        html += QStringLiteral("<h2>Validation</h2>\n") +
                TableHtml(*report, QStringLiteral("validation"),
                          [&report](int32_t row) { return ResultCellColour(*report, 0, row); });
        html += PictureHtml(pictures.ConfusionMatrix, kConfusionMatrixPicture, QStringLiteral("Confusion matrix"),
                            links);
        html += QStringLiteral("<p>%1</p>\n")
                    .arg(Html(ConfusionReading(ConfusionMatrixOf(*workspace.Results().ValidationReport()))));
    }
    if (const auto& validation = workspace.Results().CrossValidation()) {
        const auto plain = [](int32_t) { return TScoreColour::Ordinary; };
        html += QStringLiteral("<h2>Cross-validation</h2>\n") +
                TableHtml(CrossValidationFiguresGrid(*validation), QStringLiteral("crossfigures"), plain) +
                QStringLiteral("<p></p>\n") +
                TableHtml(CandidateFiguresGrid(*validation), QStringLiteral("crosscandidates"), plain) +
                QStringLiteral("<p></p>\n") +
                TableHtml(ConfusionGrid(*validation), QStringLiteral("crossconfusion"), plain) +
                QStringLiteral("<p></p>\n") +
                TableHtml(CrossChecksGrid(*validation), QStringLiteral("crosschecks"), plain);
    }
    return html + QStringLiteral("</body></html>\n");
}

namespace {

void WriteReportTo(QIODevice& file, bool asHtml, const TWorkspace& workspace, const TReportPictures& pictures,
                   const QDateTime& when) {
    if (asHtml) {
        file.write(ReportHtml(workspace, pictures, when, TPictureLinks::DataUrls).toUtf8());
        return;
    }
    QPdfWriter writer(&file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    writer.setTitle(QStringLiteral("Quillprint report: ") + ProjectName(workspace));
    writer.setCreator(QStringLiteral("Quillprint"));
    WritePdfPages(writer, ReportHtml(workspace, pictures, when, TPictureLinks::ResourceNames), pictures);
}

}  // namespace

std::optional<QString> WriteReport(const QString& path, const TWorkspace& workspace, const TReportPictures& pictures,
                                   const QDateTime& when) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    const bool asHtml = suffix == QLatin1String("html") || suffix == QLatin1String("htm");
    // A device or a pipe (/dev/null, /dev/stdout, a named pipe) is written
    // to as it is: a save would put a new file in its place, and /dev/null
    // would be a file from then on.
    if (const QFileInfo target(path); target.exists() && !target.isFile() && !target.isDir()) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly)) return device.errorString();
        WriteReportTo(device, asHtml, workspace, pictures, when);
        if (!device.flush() || device.error() != QFileDevice::NoError) return device.errorString();
        return std::nullopt;
    }
    // Otherwise made in memory, then written as a whole beside the target and
    // put in its place: never through a link, never half.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        WriteReportTo(buffer, asHtml, workspace, pictures, when);
    }
    return WriteFileBytes(path, bytes);
}

}  // namespace quillprint
