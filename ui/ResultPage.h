// "Result": the candidates ranked, a chart of their scores beside the table,
// a note when the project looks written without spaces, and below the table
// the band that says how far to trust the answer.
#pragma once

#include <vector>

#include "ui/TablePage.h"
#include "workspace/ChartData.h"

class QLabel;

namespace quillprint {

class TResultChart;
class TScrollingBand;

class TResultPage : public TTablePage {
    Q_OBJECT
public:
    explicit TResultPage(QWidget* parent = nullptr);
    // Also fits the columns to names and results.
    void refresh() override;
    void showBars(const std::vector<TScoreBar>& bars);
    // One line each; the band is hidden without any.
    void showTrust(const QStringList& lines);
    // The hint to split words by language, or none.
    void showSplittingHint(bool shown);

private:
    QLabel* FSplittingHint = nullptr;
    TResultChart* FChart = nullptr;
    TScrollingBand* FTrust = nullptr;
};

}  // namespace quillprint
