// Opening projects: the question before texts kept only in memory are lost,
// the recent project folders beside "Open folder", and folders and text
// files dropped on the window.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "ui/Form1.h"
#include "ui/InputPage.h"
#include "ui/ProjectDrops.h"
#include "ui/UserDialogs.h"
#include "workspace/Workspace.h"

namespace quillprint {

bool TForm1::confirmDiscardTypedTexts() {
    if (!FWorkspace->Project().HasTypedTexts()) return true;
    return FDialogs.AskYesNo(this, tr("The project holds texts typed, pasted or dropped into the window. They are "
                                      "kept in memory only and are lost when another project is opened.\n\n"
                                      "Continue and lose them?"));
}

void TForm1::openProjectFolder(const QString& folder) {
    if (calculationRunning()) return;
    // A folder that is no project is refused before anything is discarded:
    // the open project stays, and the folder does not become a recent one.
    const std::u16string path = QDir::toNativeSeparators(folder).toStdU16String();
    if (const std::optional<std::u16string> refusal = FWorkspace->FolderRefusal(path)) {
        FDialogs.ShowMessage(this, QString::fromStdU16String(*refusal));
        return;
    }
    if (!confirmDiscardTypedTexts()) return;
    Guarded([&] { FWorkspace->OpenFolder(path); });
    FRecentProjects.add(folder);
}

void TForm1::fillRecentProjectsMenu() {
    FRecentProjectsMenu->clear();
    const QStringList folders = FRecentProjects.folders();
    if (folders.isEmpty()) FRecentProjectsMenu->addAction(tr("No recent projects"))->setEnabled(false);
    for (const QString& folder : folders) {
        // "&" would mark an access key.
        QString caption = QDir::toNativeSeparators(folder);
        caption.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* entry = FRecentProjectsMenu->addAction(caption);
        entry->setData(folder);
        connect(entry, &QAction::triggered, this, [this, folder] { openProjectFolder(folder); });
    }
}

void TForm1::createRecentProjectsMenu() {
    FRecentProjectsMenu = new QMenu(this);
    FRecentProjectsMenu->setObjectName("recentProjectsMenu");
    FRecentProjectsMenu->setTitle(tr("Recent projects"));
    connect(FRecentProjectsMenu, &QMenu::aboutToShow, this, &TForm1::fillRecentProjectsMenu);
}

void TForm1::createProjectDrops() {
    TProjectDrops::THooks hooks;
    hooks.Allowed = [this] { return !calculationRunning(); };
    hooks.OpenFolder = [this](const QString& folder) { openProjectFolder(folder); };
    hooks.AddFiles = [this](TTreeNode* author, const QStringList& files) {
        // The tree may have been reloaded since the drop.
        if (calculationRunning() || !FWorkspace->Project().Tree().Contains(author)) return;
        std::vector<std::u16string> paths;
        for (const QString& file : files) paths.push_back(QDir::toNativeSeparators(file).toStdU16String());
        Guarded([&] { FWorkspace->AddTextFiles(*author, paths); });
    };
    FInputPage->acceptDrops(*this, std::move(hooks));
}

}  // namespace quillprint
