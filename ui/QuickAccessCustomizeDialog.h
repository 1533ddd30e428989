// The customisation dialog of the quick-access toolbar: the window's whole
// command set, from which the user adds commands to the toolbar by the
// "Add" button, a double click or by dragging them onto the toolbar.
#pragma once

#include <QDialog>
#include <QList>

class QAction;
class QListWidget;
class QPushButton;

namespace quillprint {

class TQuickAccessToolbar;

class TQuickAccessCustomizeDialog : public QDialog {
    Q_OBJECT
public:
    TQuickAccessCustomizeDialog(const QList<QAction*>& commands, TQuickAccessToolbar* toolbar,
                                QWidget* parent = nullptr);

    QListWidget* commandList() const { return FList; }
    QPushButton* addButton() const { return FAddButton; }

private:
    void addSelected();

    QList<QAction*> FCommands;
    TQuickAccessToolbar* FToolbar;
    QListWidget* FList = nullptr;
    QPushButton* FAddButton = nullptr;
};

}  // namespace quillprint
