// The report of the command "Validation": one row per candidate with the
// lines held back, the candidate ranked first and the true candidate's score
// and rank, then the tally; beside it the same as a confusion matrix with a
// one-line reading. Modeless, so the user can keep it beside the
// window; the table copies like the window's tables.
#pragma once

#include <QDialog>

#include "workspace/Grid.h"
#include "workspace/ValidationReport.h"

class QLabel;
class QPushButton;

namespace quillprint {

class TConfusionMatrixView;
class TGridModel;
class TGridView;

class TValidationReportDialog : public QDialog {
    Q_OBJECT
public:
    explicit TValidationReportDialog(QWidget* parent = nullptr);
    ~TValidationReportDialog() override;

    // Shows `report` (its table is kept) in place of the previous one.
    void setReport(const TValidationReport& report);
    const TGrid& report() const { return FReport; }
    TGridView* table() const { return FTable; }
    QPushButton* copyButton() const { return FCopyButton; }
    QPushButton* saveButton() const { return FSaveButton; }
    TConfusionMatrixView* matrix() const { return FMatrix; }
    QLabel* reading() const { return FReading; }

    // Puts the table on the clipboard in the window's copy format.
    void copyReport();

signals:
    // The user asked to save the table to a file ("Save as…").
    void saveRequested();

private:
    // The dialog's size for the report shown: its rows, within the screen.
    QSize fittedSize() const;
    // The width that shows every column of the table.
    int tableWidth() const;
    QRect screenArea() const;

    TGrid FReport{5, 1};
    TGridModel* FModel = nullptr;
    TGridView* FTable = nullptr;
    QPushButton* FCopyButton = nullptr;
    QPushButton* FSaveButton = nullptr;
    TConfusionMatrixView* FMatrix = nullptr;
    QLabel* FReading = nullptr;
};

}  // namespace quillprint
