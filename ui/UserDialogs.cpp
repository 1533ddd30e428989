#include "ui/UserDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace quillprint {

void TQtUserDialogs::ShowMessage(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, QApplication::applicationDisplayName(), text);
}

void TQtUserDialogs::ShowError(QWidget* parent, const QString& text) {
    QMessageBox::critical(parent, QApplication::applicationDisplayName(), text);
}

std::optional<QString> TQtUserDialogs::ChooseFolder(QWidget* parent, const QString& caption,
                                                    const QString& startFolder) {
    const QString folder = QFileDialog::getExistingDirectory(parent, caption, startFolder);
    if (folder.isEmpty()) return std::nullopt;
    return folder;
}

void TQtDesktopShell::OpenDocument(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace quillprint
