// One group of a ribbon tab: a row of large buttons and columns of up to
// three small buttons, with the group's caption underneath.
#pragma once

#include <QFrame>

class QAction;
class QHBoxLayout;
class QToolButton;
class QVBoxLayout;

namespace quillprint {

class TRibbonGroup : public QFrame {
    Q_OBJECT
public:
    TRibbonGroup(const QString& caption, QWidget* parent = nullptr);

    // A 32 px icon above its caption, the full height of the group.
    QToolButton* addLargeButton(QAction* action);
    // A 16 px icon beside its caption; three of them stack in one column.
    QToolButton* addSmallButton(QAction* action);

    QString caption() const;

private:
    QToolButton* makeButton(QAction* action);

    QHBoxLayout* FButtonRow = nullptr;
    QVBoxLayout* FSmallColumn = nullptr;
    int FSmallInColumn = 0;
    QString FCaption;
};

}  // namespace quillprint
