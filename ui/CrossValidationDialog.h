// The command "Cross-validation": the length of the held-out excerpts, and
// the outcome of the last checks (accuracy, per candidate, the confusion
// matrix and every check). Modeless, like the validation report, so that it
// can stay beside the window while the checks run in the background.
#pragma once

#include <QDialog>
#include <optional>

#include "workspace/ChartData.h"
#include "workspace/CrossValidation.h"
#include "workspace/Grid.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace quillprint {

class TConfusionMatrixView;
class TGridModel;
class TGridView;

class TCrossValidationDialog : public QDialog {
    Q_OBJECT
public:
    explicit TCrossValidationDialog(QWidget* parent = nullptr);
    ~TCrossValidationDialog() override;

    // The excerpt asked for: nothing for "as long as the disputed text",
    // 0 for whole texts.
    std::optional<int64_t> excerptWords() const;
    void setExcerptWords(std::optional<int64_t> words);
    // Shows `validation` in place of the previous outcome.
    void setValidation(const TCrossValidation& validation);
    // The list of checks, as copied and saved.
    const TGrid& checks() const { return FChecks; }
    QPushButton* runButton() const { return FRunButton; }
    QLabel* figures() const { return FFigures; }
    TGridView* candidatesTable() const { return FCandidatesTable; }
    TGridView* checksTable() const { return FChecksTable; }
    TConfusionMatrixView* matrix() const { return FMatrix; }

signals:
    // "Run checks" was pressed.
    void runRequested();
    // "Save as…" was pressed: save the list of checks.
    void saveRequested();

private:
    TGrid FCandidates{5, 1};
    TGrid FChecks{8, 1};
    QCheckBox* FAsDisputed = nullptr;
    QSpinBox* FExcerpt = nullptr;
    QPushButton* FRunButton = nullptr;
    QLabel* FFigures = nullptr;
    TGridModel* FCandidatesModel = nullptr;
    TGridModel* FChecksModel = nullptr;
    TGridView* FCandidatesTable = nullptr;
    TGridView* FChecksTable = nullptr;
    TConfusionMatrixView* FMatrix = nullptr;
};

// The confusion matrix of the checks: true author down, ranked first across.
TConfusionMatrix ConfusionMatrixOf(const TCrossValidation& validation);

}  // namespace quillprint
