#include "cli/CliExtract.h"

#include <filesystem>
#include <fstream>
#include <new>

#include "cli/CliOutput.h"
#include "cli/UnknownParticipant.h"
#include "engine/Collation.h"
#include "engine/Text.h"
#include "workspace/ChatExport.h"
#include "workspace/ProjectFolder.h"
#include "workspace/TextReader.h"

namespace quillprint::cli {

namespace fs = std::filesystem;

namespace {

// A tab or line break inside an entry would break the row apart.
std::string TsvField(std::u16string_view text) {
    std::string field = ToUtf8(text);
    for (char& c : field)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return field;
}

// Every line followed by CR LF, in UTF-8 with a byte-order mark so that any
// system reads it back the same.
void WriteText(const fs::path& path, const TLines& lines) {
    std::ofstream file(path, std::ios::binary);
    file << "\xEF\xBB\xBF" << ToUtf8(JoinLines(lines));
    file.close();
    if (!file) throw std::runtime_error("Cannot write file \"" + path.string() + "\".");
}

bool IsEmptyFolderOrMissing(const fs::path& dir) {
    std::error_code error;
    if (!fs::exists(dir, error)) return !error;
    return fs::is_directory(dir, error) && fs::is_empty(dir, error) && !error;
}

// Why --unknown `wanted` names no single participant.
std::string UnknownParticipantRefusal(const std::string& wanted, const std::vector<TChatParticipant>& participants,
                                      const std::vector<size_t>& named) {
    std::string text = "quillprint-cli: --unknown \"" + VisibleUtf8(FromUtf8(wanted)) + "\" ";
    if (named.empty()) return text + "is neither the entry nor the name of a participant (see --participants).\n";
    text += "is ambiguous: it names";
    for (size_t i = 0; i < named.size(); ++i)
        text += (i ? ", \"" : " \"") + VisibleUtf8(participants[named[i]].Entry) + '"';
    return text + "; give one of these entries.\n";
}

}  // namespace

int RunExtract(const TCliOptions& options, std::ostream& out, std::ostream& err) {
    const std::string localeName = options.LocaleName.empty() ? DefaultLocaleName() : options.LocaleName;
    const fs::path exportPath = ToFsPath(FromUtf8(options.ExtractFile));
    const fs::path into = ToFsPath(FromUtf8(options.IntoDir));
    if (!options.IntoDir.empty() && !IsEmptyFolderOrMissing(into)) {
        err << "quillprint-cli: \"" << options.IntoDir
            << "\" is not an empty folder; --into writes only into a new or empty folder.\n";
        return 2;
    }
    // What the extraction is doing, in the words of the out-of-memory message.
    const char* step = "reading it";
    try {
        const TChatExport chat = ReadChatExport(ReadTextFile(exportPath, LegacyCodePageFor(localeName)));
        if (chat.Participants.empty()) {
            err << "quillprint-cli: no message line of \"" << options.ExtractFile
                << "\" starts with a participant entry (date, time, name, \"+\" and phone digits, each "
                   "followed by a comma); nothing was extracted.\n";
            return 1;
        }
        if (options.Participants) {
            out << "Entry\tLines\n";
            for (const TChatParticipant& participant : chat.Participants)
                out << TsvField(participant.Entry) << '\t' << participant.Lines << '\n';
            return 0;
        }

        std::optional<size_t> unknown;
        if (!options.UnknownParticipant.empty()) {
            const std::vector<size_t> named =
                ParticipantsNamed(chat.Participants, FromUtf8(options.UnknownParticipant));
            if (named.size() != 1) {
                err << UnknownParticipantRefusal(options.UnknownParticipant, chat.Participants, named);
                return 2;
            }
            unknown = named.front();
        }

        step = "splitting it by participant";
        std::vector<std::u16string> entries;
        for (const TChatParticipant& participant : chat.Participants) entries.push_back(participant.Entry);
        const std::vector<TLines> texts = ExtractChatTexts(chat.Messages, entries);
        const fs::path fileName = ToFsPath(SafeFileName(FromFsPath(exportPath.filename())));

        step = "writing the project folder";
        fs::create_directories(into);
        fs::create_directory(into / "Unknown");
        TNameSet folders;
        folders.Add(u"Unknown");
        out << "Folder\tLines\n";
        for (size_t i = 0; i < chat.Participants.size(); ++i) {
            if (unknown == i) continue;
            const std::u16string folder = folders.Unique(SafeFileName(chat.Participants[i].Name));
            fs::create_directory(into / ToFsPath(folder));
            WriteText(into / ToFsPath(folder) / fileName, texts[i]);
            out << TsvField(folder) << '\t' << texts[i].size() << '\n';
        }
        if (unknown) WriteText(into / "Unknown" / fileName, texts[*unknown]);
        out << "Unknown\t" << (unknown ? texts[*unknown].size() : 0) << '\n';
        return 0;
    } catch (const std::bad_alloc&) {
        err << "quillprint-cli: not enough memory to extract \"" << options.ExtractFile << "\": it ran out while "
            << step << ".\n";
        return 1;
    } catch (const std::exception& error) {
        err << "quillprint-cli: " << error.what() << '\n';
        return 1;
    }
}

}  // namespace quillprint::cli
