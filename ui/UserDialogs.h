// The modal dialogs and the desktop shell the window uses, behind small
// interfaces so tests can answer them without a person at the screen.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "workspace/ChatExport.h"

class QWidget;

namespace quillprint {

class TUserDialogs {
public:
    virtual ~TUserDialogs() = default;
    // A modal message box with a fixed text.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // The application's general error box.
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
    // The modal folder chooser; nothing when the user cancels.
    virtual std::optional<QString> ChooseFolder(QWidget* parent, const QString& caption,
                                                const QString& startFolder) = 0;
    // The file chooser for a chat export; nothing when the user cancels.
    // Dialogs that do not offer it answer as if cancelled.
    virtual std::optional<QString> ChooseChatExport(QWidget* /*parent*/, const QString& /*startFolder*/) {
        return std::nullopt;
    }
    // The participants dialog (TExtractDialog) over `participants` of the
    // export `exportName`: the checked participants in the listed order, with
    // their names; nothing when the user cancels.
    virtual std::optional<std::vector<TParticipantChoice>> ChooseParticipants(
        QWidget* /*parent*/, const QString& /*exportName*/, const std::vector<TChatParticipant>& /*participants*/) {
        return std::nullopt;
    }
    // The modal save dialog: the file the user chose (it may exist; the
    // dialog asked before replacing it), nothing when the user cancels.
    // `filters` as QFileDialog takes them ("PDF document (*.pdf);;...").
    virtual std::optional<QString> ChooseSaveFile(QWidget* /*parent*/, const QString& /*caption*/,
                                                  const QString& /*startPath*/, const QString& /*filters*/) {
        return std::nullopt;
    }
    // A modal question with the buttons Yes and No (the default); true for
    // Yes. Dialogs that do not offer it answer No, which keeps everything.
    virtual bool AskYesNo(QWidget* /*parent*/, const QString& /*text*/) { return false; }
};

class TDesktopShell {
public:
    virtual ~TDesktopShell() = default;
    // Opens a document with the program the desktop associates with it.
    // False when the file is missing or no program could be started to show it.
    virtual bool OpenDocument(const QString& path) = 0;
};

// The real ones: QMessageBox, QFileDialog and QDesktopServices.
class TQtUserDialogs : public TUserDialogs {
public:
    void ShowMessage(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const QString& text) override;
    std::optional<QString> ChooseFolder(QWidget* parent, const QString& caption,
                                        const QString& startFolder) override;
    std::optional<QString> ChooseChatExport(QWidget* parent, const QString& startFolder) override;
    std::optional<std::vector<TParticipantChoice>> ChooseParticipants(
        QWidget* parent, const QString& exportName, const std::vector<TChatParticipant>& participants) override;
    std::optional<QString> ChooseSaveFile(QWidget* parent, const QString& caption, const QString& startPath,
                                          const QString& filters) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
};

class TQtDesktopShell : public TDesktopShell {
public:
    bool OpenDocument(const QString& path) override;
};

}  // namespace quillprint
