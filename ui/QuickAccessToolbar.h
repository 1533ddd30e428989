// The quick-access toolbar of the ribbon: commands shown as icons, and the
// drop-down that customises it. Alt + 1 to 9 runs the command in that place
// among those shown, as in other ribbons; the number shows on the button
// while Alt is held.
#pragma once

#include <QList>
#include <QSet>
#include <QWidget>

class QAction;
class QHBoxLayout;
class QMenu;
class QMimeData;
class QToolButton;

namespace quillprint {

class TQuickAccessToolbar : public QWidget {
    Q_OBJECT
public:
    // Mime type of a command dragged onto the toolbar: the action's object name.
    static const char* const CommandMimeType;

    explicit TQuickAccessToolbar(QWidget* parent = nullptr);

    // The commands a drag may bring (the window's whole command set).
    void setCommandSet(const QList<QAction*>& commands);

    // Shows `command` on the toolbar, appending it when it was never there.
    void addCommand(QAction* command);
    // Hides or shows a command already on the toolbar; it stays in the
    // drop-down list, unchecked, so it can be shown again.
    void setCommandShown(QAction* command, bool shown);
    bool isShown(QAction* command) const;
    // Every command of the toolbar, shown or not, in toolbar order.
    QList<QAction*> commands() const { return FCommands; }

    // Adds the command a drag brought; false when the data names none.
    bool addDroppedCommand(const QMimeData* mime);

    QMenu* dropDownMenu() const { return FMenu; }
    QToolButton* buttonFor(QAction* command) const;
    // The command shown in `place` (from 1), or none.
    QAction* shownCommand(int place) const;

signals:
    // Raised while the drop-down is being built, after the toolbar's own
    // entries, so the ribbon can append its entries.
    void menuBuilding(QMenu* menu);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void rebuildMenu();
    // Gives each shown button its place, for the number it shows.
    void numberButtons();
    QAction* commandFromMime(const QMimeData* mime) const;

    QList<QAction*> FCommands;
    QList<QAction*> FCommandSet;
    QList<QToolButton*> FButtons;
    QSet<QAction*> FHidden;
    QHBoxLayout* FLayout = nullptr;
    QToolButton* FDropDown = nullptr;
    QMenu* FMenu = nullptr;
};

}  // namespace quillprint
