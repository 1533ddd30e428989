// What the window keeps across restarts: its geometry, the widths of its
// splitters, the commands of the quick-access toolbar and whether links out
// of a project are followed.
#include <QAction>
#include <QCloseEvent>
#include <QSettings>
#include <QSplitter>

#include "ui/Form1.h"
#include "ui/QuickAccessToolbar.h"
#include "ui/Ribbon.h"

namespace quillprint {

namespace {

const char* const kGeometryKey = "window/geometry";
const char* const kQuickAccessKey = "window/quickAccess";
const char* const kSplitterKey = "window/splitter/";
const char* const kFollowLinksKey = "project/followLinks";

}  // namespace

void TForm1::restoreSettings() {
    const QSettings settings;
    restoreGeometry(settings.value(kGeometryKey).toByteArray());
    // Off unless the user turned it on: links out of a project stay unread.
    acFollowLinks->setChecked(settings.value(kFollowLinksKey, false).toBool());
    for (QSplitter* splitter : findChildren<QSplitter*>())
        if (!splitter->objectName().isEmpty())
            splitter->restoreState(settings.value(kSplitterKey + splitter->objectName()).toByteArray());
    if (!settings.contains(kQuickAccessKey)) return;
    // The commands by name, in their order; a name no command has any more
    // is passed over.
    const QStringList names = settings.value(kQuickAccessKey).toStringList();
    TQuickAccessToolbar* quickAccess = Ribbon1->quickAccessToolbar();
    for (QAction* command : quickAccess->commands()) quickAccess->setCommandShown(command, false);
    for (const QString& name : names)
        for (QAction* command : commandSet())
            if (command->objectName() == name) quickAccess->addCommand(command);
}

void TForm1::saveSettings() const {
    QSettings settings;
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kFollowLinksKey, acFollowLinks->isChecked());
    for (const QSplitter* splitter : findChildren<QSplitter*>())
        if (!splitter->objectName().isEmpty())
            settings.setValue(kSplitterKey + splitter->objectName(), splitter->saveState());
    QStringList names;
    const TQuickAccessToolbar* quickAccess = Ribbon1->quickAccessToolbar();
    for (QAction* command : quickAccess->commands())
        if (quickAccess->isShown(command)) names.append(command->objectName());
    settings.setValue(kQuickAccessKey, names);
}

void TForm1::closeEvent(QCloseEvent* event) {
    saveSettings();
    QMainWindow::closeEvent(event);
}

}  // namespace quillprint
