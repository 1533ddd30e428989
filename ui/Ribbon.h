// A command ribbon built from Qt widgets: title area with the application
// menu button, the quick-access toolbar and the caption; a tab row; and one
// panel of groups per tab. Qt has no ribbon of its own.
#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class QStackedWidget;
class QTabBar;
class QToolButton;
class QVBoxLayout;

namespace quillprint {

class TQuickAccessCustomizeDialog;
class TQuickAccessToolbar;
class TRibbonGroup;

class TRibbon : public QWidget {
    Q_OBJECT
public:
    explicit TRibbon(QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    QString caption() const;
    // The open project's name, shown before the caption in the title bar
    // ("FederalistShort — Lumeno Quillprint"); empty for none.
    void setDocumentName(const QString& name);
    // The title bar's text: the document name and the caption.
    QString title() const;

    // Adds a tab with an empty panel and returns the panel's index.
    int addTab(const QString& caption);
    TRibbonGroup* addGroup(int tab, const QString& caption);

    // The commands the customisation dialog offers.
    void setCommandSet(const QList<QAction*>& commands);
    QList<QAction*> commandSet() const { return FCommandSet; }

    TQuickAccessToolbar* quickAccessToolbar() const { return FQuickAccess; }
    QToolButton* applicationMenuButton() const { return FAppMenuButton; }
    QTabBar* tabBar() const { return FTabs; }

    bool isMinimized() const { return FMinimized; }
    void setMinimized(bool minimized);
    bool isQuickAccessBelow() const { return FQuickAccessBelow; }
    void setQuickAccessBelow(bool below);

    // Shows the (modeless) customisation dialog, creating it on first use.
    TQuickAccessCustomizeDialog* showCustomizeDialog();

    // The right-click menu for a click on `command`'s button, or on no button
    // when `command` is null. The caller owns the menu.
    QMenu* createContextMenu(QAction* command, QWidget* parent);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Commands dropped anywhere on the bar that holds the quick-access
    // toolbar, not only on its buttons, go to the toolbar.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void appendQuickAccessMenuEntries(QMenu* menu);
    // The entry that moves the quick-access toolbar (captioned `moveText`),
    // a separator and the toggle "Minimize the Ribbon".
    void appendPlacementEntries(QMenu* menu, const QString& moveText);
    void updateHeight();
    void updateTitle();

    QVBoxLayout* FLayout = nullptr;
    QWidget* FTitleBar = nullptr;
    QToolButton* FAppMenuButton = nullptr;
    QLabel* FCaption = nullptr;
    // The application menu button and the quick-access toolbar above.
    QWidget* FLeftRow = nullptr;
    // Centres the caption over the whole width where it fits beside the
    // toolbar, else in the room right of it, elided.
    void placeCaption();
    QString FCaptionText;
    QString FDocumentName;
    QTabBar* FTabs = nullptr;
    QStackedWidget* FPanels = nullptr;
    QWidget* FBelowBar = nullptr;
    TQuickAccessToolbar* FQuickAccess = nullptr;
    QWidget* FQuickAccessAboveSlot = nullptr;
    QList<QAction*> FCommandSet;
    QPointer<TQuickAccessCustomizeDialog> FCustomizeDialog;
    bool FMinimized = false;
    bool FQuickAccessBelow = false;
};

}  // namespace quillprint
