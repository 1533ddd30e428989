// The chart of the page "Result": one horizontal bar per candidate, ranked
// as the results table, coloured by the table's score bands, with the band
// limits as faint lines and, for a balanced run, the spread of the draws as
// a whisker and the draws won in the label.
#pragma once

#include <QtCharts/QChartView>
#include <vector>

#include "workspace/ChartData.h"

namespace quillprint {

class TResultChart : public QChartView {
    Q_OBJECT
public:
    explicit TResultChart(QWidget* parent = nullptr);

    // Shows `bars` (empty: an empty chart) in place of the previous ones.
    void setBars(std::vector<TScoreBar> bars);
    const std::vector<TScoreBar>& bars() const { return FBars; }
    // The label of a bar with its full name.
    static QString barLabel(const TScoreBar& bar);
    // The label on the chart's axis: a name too long for the chart's width
    // elided in its middle.
    QString shownLabel(const TScoreBar& bar) const;
    // What hovering a bar tells: the full name and the score with one
    // decimal, since the bands follow the unrounded score.
    static QString barToolTip(const TScoreBar& bar);
    // How tall the chart wants to be so that every label stays readable.
    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The room for a whole label on the axis at the chart's width.
    int nameWidth() const;
    void rebuild();
    void barHovered(bool entered, int category);

    std::vector<TScoreBar> FBars;
    // nameWidth() when the labels were made.
    int FNameWidth = 0;
};

}  // namespace quillprint
