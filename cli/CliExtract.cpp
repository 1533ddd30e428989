#include "cli/CliExtract.h"

#include <filesystem>
#include <list>
#include <new>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "cli/CliOutput.h"
#include "cli/UnknownParticipant.h"
#include "engine/Collation.h"
#include "engine/Text.h"
#include "workspace/ChatExport.h"
#include "workspace/ChatExportFile.h"
#include "workspace/ExtractionResult.h"
#include "workspace/ProjectFolder.h"
#include "workspace/SafeWrite.h"
#include "workspace/TextReader.h"

namespace quillprint::cli {

namespace fs = std::filesystem;

namespace {

// A tab or line break inside an entry would break the row apart; other
// controls are shown escaped.
std::string TsvField(std::u16string_view text) {
    std::u16string field(text);
    for (char16_t& c : field)
        if (c == u'\t' || c == u'\n' || c == u'\r') c = u' ';
    return VisibleUtf8(field);
}

// The participants' lines as they come from the export, each participant's
// into a file of its own in the folder being built: in UTF-8 with a
// byte-order mark, every line followed by CR LF, so that any system reads
// it back the same. Memory stays small however large the export: a few
// files are open at a time, each with a bounded buffer.
class TParticipantFiles {
public:
    explicit TParticipantFiles(TNewFolder& folder) : FFolder(folder) {}

    static std::string FileName(size_t participant) { return ".participant-" + std::to_string(participant); }

    void Append(size_t participant, std::u16string_view line) {
        TOpen& open = Opened(participant);
        open.Buffer += ToUtf8(line);
        open.Buffer += "\r\n";
        if (open.Buffer.size() >= kBufferBytes) Flush(open);
    }

    // Every file written out and closed.
    void Finish() {
        for (TOpen& open : FOpen) {
            Flush(open);
            open.File.Close();
        }
        FOpen.clear();
        FByParticipant.clear();
    }

private:
    static constexpr size_t kOpenFiles = 64;
    static constexpr size_t kBufferBytes = 64 * 1024;

    struct TOpen {
        size_t Participant;
        TNewFile File;
        std::string Buffer;
    };

    // The participant's file, open and at the front of the list; the file
    // used longest ago is closed to make room.
    TOpen& Opened(size_t participant) {
        if (const auto found = FByParticipant.find(participant); found != FByParticipant.end()) {
            FOpen.splice(FOpen.begin(), FOpen, found->second);
            return FOpen.front();
        }
        if (FOpen.size() == kOpenFiles) {
            TOpen& last = FOpen.back();
            Flush(last);
            last.File.Close();
            FByParticipant.erase(last.Participant);
            FOpen.pop_back();
        }
        const bool made = !FMade.insert(participant).second;
        TNewFile file = made ? FFolder.AppendToFile(FFolder.Root(), FileName(participant))
                             : FFolder.CreateFile(FFolder.Root(), FileName(participant));
        FOpen.push_front(TOpen{participant, std::move(file), made ? std::string() : std::string("\xEF\xBB\xBF")});
        FByParticipant[participant] = FOpen.begin();
        return FOpen.front();
    }

    static void Flush(TOpen& open) {
        open.File.Write(open.Buffer);
        open.Buffer.clear();
    }

    TNewFolder& FFolder;
    std::list<TOpen> FOpen;
    std::unordered_map<size_t, std::list<TOpen>::iterator> FByParticipant;
    std::unordered_set<size_t> FMade;
};

// --participants: "Entry<TAB>Lines" and a row per participant.
std::string ParticipantsTable(const TExtractionResult& extraction) {
    std::string table = "Entry\tLines\n";
    for (const TExtractedParticipant& participant : extraction.Participants)
        table += TsvField(participant.Entry) + '\t' + std::to_string(participant.Lines) + '\n';
    return table;
}

// --into: "Folder<TAB>Lines", a row per participant's folder and "Unknown"
// last, which holds the lines of the participant that is the text to
// attribute, if any.
std::string FoldersTable(const TExtractionResult& extraction) {
    std::string table = "Folder\tLines\n";
    int32_t unknownLines = 0;
    for (const TExtractedParticipant& participant : extraction.Participants) {
        if (participant.IsUnknownText) {
            unknownLines = participant.Lines;
            continue;
        }
        table += TsvField(participant.Name) + '\t' + std::to_string(participant.Lines) + '\n';
    }
    return table + "Unknown\t" + std::to_string(unknownLines) + '\n';
}

std::string NotEmptyMessage(const std::string& dir) {
    return "quillprint-cli: \"" + VisibleText(dir) +
           "\" is not an empty folder; --into writes only into a new or empty folder.\n";
}

// Why --into may not write at `dir`; empty when it may: missing, or an empty
// folder that is no link (a link could lead anywhere).
std::string IntoProblem(const std::string& name, const fs::path& dir) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(dir, error);
    if (status.type() == fs::file_type::not_found) return {};
    const std::string quoted = "quillprint-cli: \"" + VisibleText(name) + "\"";
    if (fs::is_symlink(status))
        return quoted + " is a link; --into writes only into a new or empty folder, never through a link.\n";
    if (!error && !fs::is_directory(status))
        return quoted + " is not a folder; --into writes only into a new or empty folder.\n";
    if (!error && fs::is_empty(dir, error) && !error) return {};
    return NotEmptyMessage(name);
}

// Why --unknown `wanted` names no single participant.
std::string UnknownParticipantRefusal(const std::string& wanted, const std::vector<TChatParticipant>& participants,
                                      const std::vector<size_t>& named) {
    std::string text = "quillprint-cli: --unknown \"" + VisibleText(wanted) + "\" ";
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
    if (const std::string problem = options.IntoDir.empty() ? std::string() : IntoProblem(options.IntoDir, into);
        !problem.empty()) {
        err << problem;
        return 2;
    }
    // What the extraction is doing, in the words of the out-of-memory message.
    const char* step = "reading it";
    try {
        const TChatExportFile chat(exportPath, LegacyCodePageFor(localeName));
        const std::vector<std::u16string> allEntries = chat.Entries();
        std::optional<TNewFolder> folder;
        std::optional<TParticipantFiles> files;
        if (!options.IntoDir.empty()) {
            // Lines go to the files as the splitter hands them out; which
            // participants get a folder is known at the end.
            folder.emplace(into);
            files.emplace(*folder);
            step = "writing the project folder";
        }
        std::vector<int32_t> counts(allEntries.size(), 0);
        chat.Split(allEntries, [&](size_t participant, std::u16string_view line) {
            ++counts[participant];
            if (files) files->Append(participant, line);
        });
        if (files) files->Finish();
        const std::vector<TChatParticipant> participants = NamedParticipants(allEntries, counts);
        if (participants.empty()) {
            err << "quillprint-cli: no message line of \"" << VisibleText(options.ExtractFile)
                << "\" starts with a participant entry (date, time, name, \"+\" and phone digits, each "
                   "followed by a comma); nothing was extracted.\n";
            return 1;
        }
        // The participants' lines stay in their files; the result holds their counts.
        TExtractionResult extraction{FromFsPath(exportPath.filename()), {}};
        for (const TChatParticipant& participant : participants)
            extraction.Participants.push_back({participant.Entry, participant.Name, participant.Lines, false, {}});
        if (options.Participants) {
            out << ParticipantsTable(extraction);
            return 0;
        }

        if (!options.UnknownParticipant.empty()) {
            const std::vector<size_t> named = ParticipantsNamed(participants, FromUtf8(options.UnknownParticipant));
            if (named.size() != 1) {
                err << UnknownParticipantRefusal(options.UnknownParticipant, participants, named);
                return 2;
            }
            extraction.Participants[named.front()].IsUnknownText = true;
        }

        // The participant files move into their folders, named as the
        // participants are.
        std::unordered_map<std::u16string_view, size_t> indexOf;
        for (size_t i = 0; i < allEntries.size(); ++i) indexOf.emplace(allEntries[i], i);
        const std::string fileName = ToFsPath(SafeFileName(extraction.ExportName)).string();
        const TOpenFolder unknownFolder = folder->MakeFolder(folder->Root(), "Unknown");
        TNameSet folders;
        folders.Add(u"Unknown");
        for (TExtractedParticipant& participant : extraction.Participants) {
            const std::string from = TParticipantFiles::FileName(indexOf.at(participant.Entry));
            if (participant.IsUnknownText) {
                folder->Move(folder->Root(), from, unknownFolder, fileName);
                continue;
            }
            participant.Name = folders.Unique(SafeFileName(participant.Name));
            const TOpenFolder participantFolder =
                folder->MakeFolder(folder->Root(), ToFsPath(participant.Name).string());
            folder->Move(folder->Root(), from, participantFolder, fileName);
        }
        folder->Commit();
        out << FoldersTable(extraction);
        return 0;
    } catch (const TFolderTakenError&) {
        err << NotEmptyMessage(options.IntoDir);
        return 2;
    } catch (const std::bad_alloc&) {
        err << "quillprint-cli: not enough memory to extract \"" << VisibleText(options.ExtractFile)
            << "\": it ran out while " << step << ".\n";
        return 1;
    } catch (const std::exception& error) {
        err << "quillprint-cli: " << VisibleMessage(error.what()) << '\n';
        return 1;
    }
}

}  // namespace quillprint::cli
