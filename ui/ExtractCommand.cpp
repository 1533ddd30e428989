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

    std::vector<std::u16string> entries;
    for (const TParticipantChoice& choice : *choices) entries.push_back(choice.Entry);
    auto messages = std::make_shared<const TLines>(std::move(chat.Messages));
    startWindowJob<std::vector<TLines>>(
        [messages, entries = std::move(entries)](std::stop_token) { return ExtractChatTexts(*messages, entries); },
        [this, exportName, choices = *choices](TJobResult<std::vector<TLines>>& extracted) {
            Guarded([&] {
                std::vector<TLines> texts = extracted.Take();
                std::vector<TExtractedAuthor> authors;
                std::optional<TLines> unknownText;
                for (size_t i = 0; i < choices.size(); ++i) {
                    if (choices[i].IsUnknownText)
                        unknownText = std::move(texts[i]);
                    else
                        authors.push_back({choices[i].Name, std::move(texts[i])});
                }
                FWorkspace->AddExtractedAuthors(exportName.toStdU16String(), authors, unknownText);
            });
        });
}

}  // namespace quillprint
