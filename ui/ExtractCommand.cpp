// "Extract": a chat export chosen by the user becomes new candidate authors
// (or, for one participant, a new text to attribute) through the
// participants dialog. Reading and splitting run as jobs of the pool; the
// window's commands wait meanwhile, and the window stays responsive.
#include <QDir>
#include <QFileInfo>

#include "ui/BusyCursor.h"
#include "ui/Form1.h"
#include "ui/UserDialogs.h"
#include "ui/WindowJobs.h"
#include "workspace/ChatExport.h"
#include "workspace/ProjectFolder.h"
#include "workspace/Workspace.h"

namespace quillprint {

void TForm1::btExtractClick() {
    if (windowJobRunning() || calculationRunning()) return;
    // The file chooser opens in the project folder, or else beside the examples.
    QString startFolder = QString::fromStdU16String(FWorkspace->Project().Folder());
    if (startFolder.isEmpty() || !QFileInfo(startFolder).isDir()) startFolder = FExecutableDir + "Examples";
    const std::optional<QString> file = FDialogs.ChooseChatExport(this, startFolder);
    if (!file) return;
    const QString exportName = QFileInfo(*file).fileName();
    const std::filesystem::path path = ToFsPath(QDir::toNativeSeparators(*file).toStdU16String());
    const std::string codePage = LegacyCodePageFor(FWorkspace->LocaleName());

    startWindowJob<TChatExport>([path, codePage](std::stop_token) { return ReadChatExportFile(path, codePage); },
                                [this, exportName](TJobResult<TChatExport>& read) {
                                    Guarded([&] { chooseParticipants(exportName, read.Take()); });
                                });
}

void TForm1::chooseParticipants(const QString& exportName, TChatExport chat) {
    if (chat.Participants.empty()) {
        FDialogs.ShowMessage(this, tr("No line of \"%1\" starts with a participant entry (date, time, name, "
                                      "\"+\" with the phone number's digits, each followed by a comma). Nothing "
                                      "was added.")
                                       .arg(exportName));
        return;
    }
    const auto choices = FDialogs.ChooseParticipants(this, exportName, chat.Participants);
    if (!choices || choices->empty()) return;

    auto messages = std::make_shared<const TLines>(std::move(chat.Messages));
    startWindowJob<TExtractionResult>(
        [messages, exportName = exportName.toStdU16String(), choices = *choices](std::stop_token) {
            return ExtractChosenParticipants(*messages, exportName, choices);
        },
        [this](TJobResult<TExtractionResult>& extracted) {
            Guarded([&] { FWorkspace->AddExtractedAuthors(extracted.Take()); });
        });
}

}  // namespace quillprint
