// "Copied passages": every passage of the unknown text that a candidate's
// text holds word for word, with the candidate, both texts and lines, the
// length and the first words. Choosing a row asks the window to show the
// passage in the unknown text. Modeless, so it can stay beside the window.
#pragma once

#include <QDialog>

#include <vector>

#include "workspace/CopiedPassages.h"
#include "workspace/Grid.h"

class QLabel;

namespace quillprint {

class TGridModel;
class TGridView;

class TCopiedPassagesDialog : public QDialog {
    Q_OBJECT
public:
    explicit TCopiedPassagesDialog(QWidget* parent = nullptr);
    ~TCopiedPassagesDialog() override;

    // Shows `rows`, found with passages of at least `minWords` words.
    void setPassages(std::vector<TCopyRow> rows, int32_t minWords);
    const std::vector<TCopyRow>& passages() const { return FRows; }
    TGridView* table() const { return FTable; }
    QLabel* summary() const { return FSummary; }

    void copyTable();

signals:
    // The user chose passage `index` (0-based in passages()).
    void passageChosen(int index);

private:
    std::vector<TCopyRow> FRows;
    TGrid FGrid{7, 1};
    TGridModel* FModel = nullptr;
    TGridView* FTable = nullptr;
    QLabel* FSummary = nullptr;
};

}  // namespace quillprint
