// "Texts": the disputed texts of a run with "Each text", one row each, and
// beside the table a heat map of every text against every candidate.
// Offered only after such a run.
#pragma once

#include <vector>

#include "ui/TablePage.h"
#include "workspace/EachText.h"

namespace quillprint {

class TTextsHeatMap;

class TTextsPage : public TTablePage {
    Q_OBJECT
public:
    explicit TTextsPage(QWidget* parent = nullptr);
    // The heat map of `texts`; row `shown` selected (-1: none) unless it is
    // already (selecting it reports it again, which changes nothing).
    void showTexts(const std::vector<TTextOutcome>& texts, int shown);

signals:
    // The user selected row `row` of the table, or the heat map's row.
    void textSelected(int row);

protected:
    void tableShown() override;

private:
    TTextsHeatMap* FHeatMap = nullptr;
};

}  // namespace quillprint
