// The report to share: what the window shows of the current results (the
// settings, the candidates, the results table with its chart, the phrases
// behind the answer, the texts and the validation report when there are
// any), as one self-contained HTML file or one A4 PDF.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>
#include <optional>

namespace quillprint {

class TWorkspace;

// The pictures of the report, rendered from the window's pictures; a null
// image is left out.
struct TReportPictures {
    QImage ResultChart;
    QImage TextsHeatMap;
    QImage ConfusionMatrix;
};

// How the report's HTML refers to a picture: a data URL for the HTML file,
// a resource name for the PDF.
enum class TPictureLinks { DataUrls, ResourceNames };

// The report's HTML. Tables are written as the window shows them.
QString ReportHtml(const TWorkspace& workspace, const TReportPictures& pictures, const QDateTime& when,
                   TPictureLinks links);

// Writes the report to `path`, replacing the file in one step: as HTML when
// its extension is .html or .htm, otherwise as PDF. On failure returns the
// reason, and `path` is untouched. A link at `path` is replaced, never
// written through; a device or pipe at `path` is written to,
// never replaced.
std::optional<QString> WriteReport(const QString& path, const TWorkspace& workspace, const TReportPictures& pictures,
                                   const QDateTime& when);

// The resource names the PDF's HTML uses for the pictures.
inline const char* const kResultChartPicture = "quillprint-result-chart.png";
inline const char* const kTextsHeatMapPicture = "quillprint-texts-heat-map.png";
inline const char* const kConfusionMatrixPicture = "quillprint-confusion-matrix.png";

}  // namespace quillprint
