// The validation report as a picture: each tested candidate (row) against
// the candidate the program named for its held-back lines (column); the
// diagonal holds the recognised ones.
#pragma once

#include "ui/CellMatrixView.h"
#include "workspace/ChartData.h"

namespace quillprint {

class TConfusionMatrixView : public TCellMatrixView {
    Q_OBJECT
public:
    explicit TConfusionMatrixView(QWidget* parent = nullptr);
    void setConfusionMatrix(const TConfusionMatrix& matrix);

protected:
    // The cell colours follow a change of the palette.
    void changeEvent(QEvent* event) override;

private:
    TConfusionMatrix FMatrix;
};

}  // namespace quillprint
