// The status bar's part that follows a calculation: what it is doing, a
// progress bar and the button "Cancel"; afterwards how the run ended.
#pragma once

#include <QWidget>

#include "workspace/RunRequest.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace quillprint {

class TCalculationStatus : public QWidget {
    Q_OBJECT
public:
    explicit TCalculationStatus(QWidget* parent = nullptr);

    // A run began: the bar and "Cancel" appear.
    void showStarted();
    void showProgress(const TRunProgress& progress);
    // The run ended: the bar and "Cancel" go, `message` stays.
    void showEnded(const QString& message);

    QLabel* text() const { return FText; }
    QProgressBar* bar() const { return FBar; }
    QPushButton* cancelButton() const { return FCancel; }

    // The text shown for `progress`, such as "Draw 3 of 9: finding phrases".
    static QString describe(const TRunProgress& progress);

signals:
    void cancelRequested();

private:
    QLabel* FText;
    QProgressBar* FBar;
    QPushButton* FCancel;
};

}  // namespace quillprint
