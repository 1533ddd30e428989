// The picture of the page "Texts": disputed texts (rows, as in the table)
// against candidates (columns), each cell shaded by the candidate's
// probability for that text, the most likely candidate of each text marked.
#pragma once

#include "ui/CellMatrixView.h"
#include "workspace/ChartData.h"

namespace quillprint {

class TTextsHeatMap : public TCellMatrixView {
    Q_OBJECT
public:
    explicit TTextsHeatMap(QWidget* parent = nullptr);
    void setHeatMap(const THeatMap& map);
};

}  // namespace quillprint
