// A band of wrapped lines below a table: as high as its lines up to a few,
// then it scrolls, so that a long list (forty candidates' names, a warning
// per candidate) never takes the page from the table.
#pragma once

#include <QScrollArea>

class QLabel;

namespace quillprint {

class TScrollingBand : public QScrollArea {
    Q_OBJECT
public:
    // Shows `label` (wrapped, plain text) at most `mostLines` lines high.
    TScrollingBand(QLabel* label, int mostLines, QWidget* parent = nullptr);

    // Shows `text` in the label, the band hidden while it is empty.
    void setText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The band's height for the label's text at the band's width.
    int fittedHeight() const;

    QLabel* FLabel;
    int FMostLines;
    int FHeight = 0;
};

}  // namespace quillprint
