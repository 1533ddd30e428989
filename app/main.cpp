// Program start: the application, its title, the main window and its event
// loop. The program reads no command line.
#include <QApplication>

#include "ui/Form1.h"
#include "ui/Icons.h"
#include "ui/UserDialogs.h"
#include "ui/WindowFont.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // The user's settings (the recent projects) are kept under these names.
    QApplication::setOrganizationName(QStringLiteral("Lumeno"));
    QApplication::setApplicationName(QStringLiteral("Quillprint"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quillprint"));
    QApplication::setWindowIcon(quillprint::ApplicationIcon());
    // Menus and dialogs are windows of their own; they use the window's font too.
    QApplication::setFont(quillprint::WindowFont());

    quillprint::TQtUserDialogs dialogs;
    quillprint::TQtDesktopShell shell;
    quillprint::TForm1 form(dialogs, shell);
    form.show();
    return QApplication::exec();
}
