#include "ui/ResultChart.h"

#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QToolTip>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QHorizontalStackedBarSeries>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

#include "ui/ChartPalette.h"

namespace quillprint {

namespace {

// A straight line through `points`, on both axes of the chart.
QLineSeries* AddLine(QChart* chart, const QList<QPointF>& points, const QPen& pen, QAbstractAxis* x,
                     QAbstractAxis* y) {
    auto* line = new QLineSeries;
    line->append(points);
    line->setPen(pen);
    chart->addSeries(line);
    line->attachAxis(x);
    line->attachAxis(y);
    return line;
}

// The widest a candidate's name is shown on the axis, in average characters,
// and the narrowest, however narrow the chart.
constexpr int kLabelCharacters = 32;
constexpr int kLeastLabelCharacters = 6;
constexpr int kLeastHeight = 160;
// The chart gives its axis of names at most this share of its width, less
// the padding beside the labels, and cuts a longer label to "…".
constexpr double kAxisShare = 0.4;
constexpr int kAxisPadding = 12;
// The chart gives each label its slot of the axis's height less this padding;
// the axis holds two slots more than there are bars.
constexpr int kLabelPadding = 12;
const QMargins kChartMargins(2, 2, 8, 2);

}  // namespace

TResultChart::TResultChart(QWidget* parent) : QChartView(parent) {
    setObjectName("ResultChart");
    setRenderHint(QPainter::Antialiasing);
    setMinimumSize(260, kLeastHeight);
    rebuild();
}

void TResultChart::setBars(std::vector<TScoreBar> bars) {
    FBars = std::move(bars);
    rebuild();
}

QString TResultChart::barLabel(const TScoreBar& bar) {
    QString label = QString::fromStdU16String(bar.Name) + QStringLiteral("  %1%").arg(bar.Percent);
    if (bar.DrawsWon >= 0) label += tr(" (won %1)").arg(bar.DrawsWon);
    return label;
}

int TResultChart::nameWidth() const {
    const QFontMetrics metrics(font());
    const int axis =
        static_cast<int>(kAxisShare * (width() - kChartMargins.left() - kChartMargins.right())) - kAxisPadding;
    // Whole characters only, so the labels change only once the width has
    // changed by a character.
    const int characters = axis / metrics.averageCharWidth();
    return metrics.averageCharWidth() * std::max(kLeastLabelCharacters, std::min(kLabelCharacters, characters));
}

QString TResultChart::shownLabel(const TScoreBar& bar) const {
    const QFontMetrics metrics(font());
    TScoreBar shown = bar;
    shown.Name.clear();
    // The name takes what the percentage and the draws leave of the axis.
    const int width = std::max(nameWidth() - metrics.horizontalAdvance(barLabel(shown)),
                               kLeastLabelCharacters * metrics.averageCharWidth());
    shown.Name = metrics.elidedText(QString::fromStdU16String(bar.Name), Qt::ElideMiddle, width).toStdU16String();
    return barLabel(shown);
}

QString TResultChart::barToolTip(const TScoreBar& bar) {
    QString tip = QString::fromStdU16String(bar.Name);
    if (bar.ExactPercent) tip += QStringLiteral(": %1%").arg(*bar.ExactPercent, 0, 'f', 1);
    else tip += QStringLiteral(": %1%").arg(bar.Percent);
    if (bar.DrawsWon >= 0) tip += tr(" (won %1)").arg(bar.DrawsWon);
    return tip;
}

QSize TResultChart::sizeHint() const {
    const int line = QFontMetrics(font()).height() + kLabelPadding + 4;
    return {360, std::max(kLeastHeight, line * (static_cast<int>(FBars.size()) + 2))};
}

void TResultChart::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    // A narrower or wider chart elides the names anew.
    if (nameWidth() != FNameWidth) rebuild();
}

void TResultChart::barHovered(bool entered, int category) {
    const int n = static_cast<int>(FBars.size());
    // The category axis runs upwards.
    const int k = n - 1 - category;
    if (!entered || k < 0 || k >= n) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(QCursor::pos(), barToolTip(FBars[static_cast<size_t>(k)]), this);
}

void TResultChart::changeEvent(QEvent* event) {
    QChartView::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange) rebuild();
}

void TResultChart::rebuild() {
    const QPalette pal = palette();
    auto* chart = new QChart;
    chart->setTheme(IsDarkPalette(pal) ? QChart::ChartThemeDark : QChart::ChartThemeLight);
    chart->setBackgroundBrush(pal.color(QPalette::Base));
    setBackgroundBrush(pal.color(QPalette::Base));
    chart->setBackgroundRoundness(0);
    chart->setMargins(kChartMargins);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->hide();
    chart->setFont(font());

    auto* axisX = new QValueAxis;
    axisX->setRange(0, 100);
    axisX->setTickCount(5);
    axisX->setLabelFormat("%d%%");
    axisX->setLabelsFont(font());
    axisX->setLabelsBrush(pal.color(QPalette::Text));
    QColor grid = pal.color(QPalette::Mid);
    grid.setAlpha(60);
    axisX->setGridLineColor(grid);
    auto* axisY = new QBarCategoryAxis;
    axisY->setLabelsFont(font());
    axisY->setLabelsBrush(pal.color(QPalette::Text));
    axisY->setGridLineVisible(false);
    chart->addAxis(axisX, Qt::AlignBottom);
    chart->addAxis(axisY, Qt::AlignLeft);
    // The lines run on a hidden value axis that matches the categories: bar
    // k (from the bottom) is centred on k.
    auto* lineAxisY = new QValueAxis;
    lineAxisY->setVisible(false);
    chart->addAxis(lineAxisY, Qt::AlignRight);

    const int n = static_cast<int>(FBars.size());
    if (n > 0) {
        // One set per score band, stacked: each candidate has a value in
        // exactly one of them, so every bar takes the colour of its band.
        const TScoreColour bands[] = {TScoreColour::GreenBold, TScoreColour::Blue, TScoreColour::Ordinary};
        auto* series = new QHorizontalStackedBarSeries;
        series->setBarWidth(0.6);
        QList<QBarSet*> sets;
        for (const TScoreColour band : bands) {
            auto* set = new QBarSet(QString());
            set->setColor(BandColour(band, pal));
            set->setBorderColor(BandColour(band, pal));
            sets.append(set);
        }
        // The category axis runs upwards; the table's first row goes on top.
        QStringList categories;
        for (int k = n - 1; k >= 0; --k) {
            const TScoreBar& bar = FBars[static_cast<size_t>(k)];
            // The axis needs every label once: two names elided alike differ
            // by invisible spaces.
            // The chart draws its labels as rich text: a name's "<" or "&"
            // stays as it is, and so do the two spaces before the percentage.
            QString label = shownLabel(bar).toHtmlEscaped().replace(QStringLiteral("  "), QStringLiteral("&nbsp; "));
            while (categories.contains(label)) label += QChar(0x200B);
            categories.append(label);
            for (int b = 0; b < 3; ++b) sets[b]->append(bar.Colour == bands[b] ? std::max(bar.Percent, 0) : 0);
        }
        series->append(sets);
        connect(series, &QAbstractBarSeries::hovered, this,
                [this](bool entered, int category, QBarSet*) { barHovered(entered, category); });
        axisY->append(categories);
        chart->addSeries(series);
        series->attachAxis(axisX);
        series->attachAxis(axisY);

        // The band limits, faint.
        QColor limit = pal.color(QPalette::Text);
        limit.setAlpha(90);
        QPen limitPen(limit, 1, Qt::DashLine);
        limitPen.setCosmetic(true);
        for (const int percent : {kMaybePercent, kMostLikelyPercent})
            AddLine(chart, {QPointF(percent, -0.5), QPointF(percent, n - 0.5)}, limitPen, axisX, lineAxisY);

        // The draws' spread: lowest to highest, with short caps.
        QPen whiskerPen(pal.color(QPalette::Text), 1.5);
        whiskerPen.setCosmetic(true);
        for (int k = 0; k < n; ++k) {
            const TScoreBar& bar = FBars[static_cast<size_t>(k)];
            if (!bar.LowestPercent || !bar.HighestPercent) continue;
            const double y = n - 1 - k, lo = *bar.LowestPercent, hi = *bar.HighestPercent, cap = 0.15;
            AddLine(chart,
                    {QPointF(lo, y - cap), QPointF(lo, y + cap), QPointF(lo, y), QPointF(hi, y), QPointF(hi, y + cap),
                     QPointF(hi, y - cap)},
                    whiskerPen, axisX, lineAxisY);
        }
    }
    axisY->setVisible(n > 0);
    lineAxisY->setRange(-0.5, std::max(n, 1) - 0.5);

    // Every bar keeps a line of its own: many candidates make the chart
    // taller, and the page scrolls it.
    setMinimumHeight(sizeHint().height());
    updateGeometry();
    FNameWidth = nameWidth();
    QChart* old = this->chart();
    setChart(chart);
    // The view owns only the chart it shows now.
    delete old;
}

}  // namespace quillprint
