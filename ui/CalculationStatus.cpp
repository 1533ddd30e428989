#include "ui/CalculationStatus.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace quillprint {

TCalculationStatus::TCalculationStatus(QWidget* parent)
    : QWidget(parent), FText(new QLabel(this)), FBar(new QProgressBar(this)), FCancel(new QPushButton(tr("Cancel"), this)) {
    setObjectName("calculationStatus");
    FText->setObjectName("calculationText");
    FBar->setObjectName("calculationProgress");
    FCancel->setObjectName("calculationCancel");
    FBar->setFixedWidth(220);
    FBar->setTextVisible(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 0);
    layout->addWidget(FText, 1);
    layout->addWidget(FBar);
    layout->addWidget(FCancel);
    FBar->hide();
    FCancel->hide();
    connect(FCancel, &QPushButton::clicked, this, &TCalculationStatus::cancelRequested);
}

void TCalculationStatus::showStarted() {
    FText->setText(tr("Calculating…"));
    FBar->setRange(0, 0);
    FBar->show();
    FCancel->setEnabled(true);
    FCancel->show();
}

void TCalculationStatus::showProgress(const TRunProgress& progress) {
    FText->setText(describe(progress));
    // The steps that can be counted move the bar; the others keep it busy.
    int value = 0, maximum = 0;
    if (progress.Phase == TRunPhase::Reading || progress.Phase == TRunPhase::Texts ||
        progress.Phase == TRunPhase::Checks) {
        value = progress.Done;
        maximum = progress.Total;
    } else if (progress.Candidates > 0) {
        value = progress.Candidate - 1;
        maximum = progress.Candidates;
    } else if (progress.Draws > 1) {
        value = progress.Draw - 1;
        maximum = progress.Draws;
    }
    FBar->setRange(0, maximum);
    FBar->setValue(value);
}

void TCalculationStatus::showEnded(const QString& message) {
    FBar->hide();
    FCancel->hide();
    FText->setText(message);
}

QString TCalculationStatus::describe(const TRunProgress& progress) {
    QString step;
    switch (progress.Phase) {
    case TRunPhase::Reading: step = tr("reading text %1 of %2").arg(progress.Done).arg(progress.Total); break;
    case TRunPhase::FindingPhrases: step = tr("finding phrases"); break;
    case TRunPhase::Scoring: step = tr("scoring"); break;
    case TRunPhase::Texts: step = tr("text %1 of %2 done").arg(progress.Done).arg(progress.Total); break;
    case TRunPhase::Checks: step = tr("checks: %1 of %2").arg(progress.Done).arg(progress.Total); break;
    }
    if (progress.Phase != TRunPhase::Reading && progress.Phase != TRunPhase::Texts &&
        progress.Phase != TRunPhase::Checks) {
        if (progress.Draws > 1) step = tr("draw %1 of %2: %3").arg(progress.Draw).arg(progress.Draws).arg(step);
        if (progress.Candidates > 0)
            step = tr("candidate %1 of %2: %3").arg(progress.Candidate).arg(progress.Candidates).arg(step);
    }
    step[0] = step[0].toUpper();
    return step;
}

}  // namespace quillprint
