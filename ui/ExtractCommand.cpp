// "Extract": a chat export chosen by the user becomes new candidate authors
// (or, for one participant, a new text to attribute) through the
// participants dialog. Reading and splitting run on a thread of their own.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <future>

#include "ui/BusyCursor.h"
#include "ui/Form1.h"
#include "ui/UserDialogs.h"
#include "workspace/ChatExport.h"
#include "workspace/ProjectFolder.h"
#include "workspace/Workspace.h"

namespace quillprint {

namespace {

// Waits for `work` under the busy cursor; the window repaints meanwhile but
// takes no input until it is done.
template <typename T>
T WaitFor(std::future<T> work) {
    TBusyCursor busy;
    while (work.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return work.get();
}

}  // namespace

void TForm1::btExtractClick() {
    // The file chooser opens in the project folder, or else beside the examples.
    QString startFolder = QString::fromStdU16String(FWorkspace->ProjectDir());
    if (startFolder.isEmpty() || !QFileInfo(startFolder).isDir()) startFolder = FExecutableDir + "Examples";
    const std::optional<QString> file = FDialogs.ChooseChatExport(this, startFolder);
    if (!file) return;
    const QString exportName = QFileInfo(*file).fileName();

    Guarded([&] {
        const TChatExport chat = WaitFor(StartReadingChatExport(
            ToFsPath(QDir::toNativeSeparators(*file).toStdU16String()), LegacyCodePageFor(FWorkspace->LocaleName())));
        if (chat.Participants.empty()) {
            FDialogs.ShowMessage(this, tr("No line of \"%1\" starts with a participant entry (date, time, name, "
                                          "\"+\" with the phone number's digits, each followed by a comma). Nothing "
                                          "was added.")
                                           .arg(exportName));
            return;
        }
        const auto choices = FDialogs.ChooseParticipants(this, exportName, chat.Participants);
        if (!choices || choices->empty()) return;

        std::vector<std::u16string> entries;
        for (const TParticipantChoice& choice : *choices) entries.push_back(choice.Entry);
        std::vector<TLines> texts = WaitFor(StartExtractingChatTexts(chat.Messages, std::move(entries)));

        std::vector<TExtractedAuthor> authors;
        std::optional<TLines> unknownText;
        for (size_t i = 0; i < choices->size(); ++i) {
            if ((*choices)[i].IsUnknownText) unknownText = std::move(texts[i]);
            else authors.push_back({(*choices)[i].Name, std::move(texts[i])});
        }
        FWorkspace->AddExtractedAuthors(exportName.toStdU16String(), authors, unknownText);
    });
}

}  // namespace quillprint
