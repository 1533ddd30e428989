#include "ui/ScrollingBand.h"

#include <QLabel>
#include <QScrollBar>
#include <algorithm>

namespace quillprint {

TScrollingBand::TScrollingBand(QLabel* label, int mostLines, QWidget* parent)
    : QScrollArea(parent), FLabel(label), FMostLines(mostLines) {
    FLabel->setWordWrap(true);
    // Names are shown as they are, never read as markup.
    FLabel->setTextFormat(Qt::PlainText);
    setWidget(FLabel);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // The page shows through, as under a band without scrolling.
    viewport()->setAutoFillBackground(false);
    FLabel->setAutoFillBackground(false);
}

void TScrollingBand::setText(const QString& text) {
    FLabel->setText(text);
    setVisible(!text.isEmpty());
    FHeight = fittedHeight();
    updateGeometry();
}

int TScrollingBand::fittedHeight() const {
    const QMargins margins = FLabel->contentsMargins();
    const int most = FLabel->fontMetrics().lineSpacing() * FMostLines + margins.top() + margins.bottom();
    // Whole lines at the full width; once it scrolls, beside the scroll bar.
    const int whole = FLabel->heightForWidth(width());
    if (whole >= 0 && whole <= most) return whole;
    return most;
}

QSize TScrollingBand::sizeHint() const { return {FLabel->sizeHint().width(), FHeight}; }

QSize TScrollingBand::minimumSizeHint() const { return {0, FHeight}; }

void TScrollingBand::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    // A new width wraps the lines anew.
    if (const int height = fittedHeight(); height != FHeight) {
        FHeight = height;
        updateGeometry();
    }
}

}  // namespace quillprint
