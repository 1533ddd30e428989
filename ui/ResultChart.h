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
    // The label of bar `index` on the chart's axis.
    static QString barLabel(const TScoreBar& bar);

protected:
    void changeEvent(QEvent* event) override;

private:
    void rebuild();

    std::vector<TScoreBar> FBars;
};

}  // namespace quillprint
