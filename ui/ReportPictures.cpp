#include "ui/ReportPictures.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include "ui/ConfusionMatrixView.h"
#include "ui/ResultChart.h"
#include "ui/TextsHeatMap.h"
#include "workspace/ChartData.h"
#include "workspace/Workspace.h"

namespace quillprint {

namespace {

// `widget` drawn at twice its size into an image, so it stays sharp on
// paper and on high-density screens.
QImage Picture(QWidget& widget, const QSize& size) {
    widget.resize(size);
    widget.ensurePolished();
    QImage image(size * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    widget.render(&image);
    return image;
}

}  // namespace

TReportPictures ReportPictures(const TWorkspace& workspace, const QFont& font) {
    const QPalette light = QApplication::style()->standardPalette();
    TReportPictures pictures;
    TResultChart chart;
    chart.setFont(font);
    chart.setPalette(light);
    // The picture's width first: the labels are shortened to fit it.
    constexpr int kChartWidth = 560;
    chart.resize(kChartWidth, chart.height());
    chart.setBars(workspace.Results().ResultBars());
    if (!chart.bars().empty())
        pictures.ResultChart = Picture(chart, QSize(kChartWidth, 70 + 34 * static_cast<int>(chart.bars().size())));
    if (!workspace.Results().TextOutcomes().empty()) {
        TTextsHeatMap map;
        map.setFont(font);
        map.setPalette(light);
        map.setHeatMap(TextsHeatMap(workspace.Results().TextOutcomes()));
        pictures.TextsHeatMap = Picture(map, map.sizeHint());
    }
    if (const auto& report = workspace.Results().ValidationReport(); report && workspace.ValidationMatchesResults()) {
        TConfusionMatrixView matrix;
        matrix.setFont(font);
        matrix.setPalette(light);
        matrix.setConfusionMatrix(ConfusionMatrixOf(*report));
        pictures.ConfusionMatrix = Picture(matrix, matrix.sizeHint());
    }
    return pictures;
}


}  // namespace quillprint
