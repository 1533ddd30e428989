#include "ui/UserDialogs.h"

#include "ui/ExtractDialog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFileDialog>
#include <QFileInfo>
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

std::optional<QString> TQtUserDialogs::ChooseChatExport(QWidget* parent, const QString& startFolder) {
    const QString file = QFileDialog::getOpenFileName(parent, QObject::tr("Extract authors from a chat export"),
                                                      startFolder,
                                                      QObject::tr("Chat exports (*.txt *.csv);;All files (*)"));
    if (file.isEmpty()) return std::nullopt;
    return file;
}

std::optional<std::vector<TParticipantChoice>> TQtUserDialogs::ChooseParticipants(
    QWidget* parent, const QString& exportName, const std::vector<TChatParticipant>& participants) {
    TExtractDialog dialog(participants, exportName, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.choices();
}

std::optional<QString> TQtUserDialogs::ChooseSaveFile(QWidget* parent, const QString& caption,
                                                      const QString& startPath, const QString& filters) {
    QString selectedFilter;
    QString path = QFileDialog::getSaveFileName(parent, caption, startPath, filters, &selectedFilter);
    if (path.isEmpty()) return std::nullopt;
    // A name typed without an extension gets the one of the chosen filter.
    if (QFileInfo(path).suffix().isEmpty()) {
        const qsizetype star = selectedFilter.indexOf(QLatin1String("(*."));
        if (star >= 0) path += selectedFilter.mid(star + 2).chopped(1);
    }
    return path;
}

bool TQtUserDialogs::AskYesNo(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, QApplication::applicationDisplayName(), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool TQtDesktopShell::OpenDocument(const QString& path) {
    return QFileInfo::exists(path) && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace quillprint
