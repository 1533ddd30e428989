// Chat exports (one message per line: date, time, name, phone, message,
// comma-separated): finding the participants and splitting the messages into
// one text per participant with the engine's chat splitter.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "workspace/ExtractionResult.h"
#include "workspace/TextReader.h"

namespace quillprint {

// One participant entry of an export.
struct TChatParticipant {
    std::u16string Entry;  // "Name,+4477009001," exactly as it stands in the lines
    std::u16string Name;   // a name to show and to label the author with; distinct within one export
    int32_t Lines = 0;     // messages the splitter gives this participant
};

// What the user keeps of a participant: its entry, the name to label the new
// author with, and whether its lines are the text to attribute instead.
struct TParticipantChoice {
    std::u16string Entry;
    std::u16string Name;
    bool IsUnknownText = false;
};

struct TChatExport {
    TLines Messages;                            // one message per line
    std::vector<TChatParticipant> Participants; // in the splitter's order
};

// The participant entry that starts a message line: after a date field and a
// time field, the name (anything, commas included) up to the first ",+",
// digits and a comma. Empty when the line does not start a message.
std::u16string_view MessageEntry(std::u16string_view line);

// Joins each line that does not start a message to the message before it,
// with a blank, so a message written over several lines stays one line.
// Lines before the first message stay as they are.
TLines JoinMessageLines(const TLines& lines);

// Reads the messages of decoded export lines and lists every distinct entry
// that starts a message, with the number of messages the splitter gives it.
// An entry that holds another entry (same phone, a longer name ending in the
// other name) goes before it, since the splitter gives a line to the first
// listed entry found anywhere in it. Entries that get no message are left out.
TChatExport ReadChatExport(const TLines& lines);

// The entries in the order the splitter must try them: an entry that holds
// another goes before it (see ReadChatExport).
std::vector<std::u16string> EntriesInSplitterOrder(const std::vector<std::u16string>& firstAppearance);

// The participants of `entries` (in splitter order) that got lines, `lines`
// giving each entry's count, with the names ReadChatExport gives them.
std::vector<TChatParticipant> NamedParticipants(const std::vector<std::u16string>& entries,
                                                const std::vector<int32_t>& lines);

// Runs the splitter over `messages` with `entries` in this order; one text
// per entry.
std::vector<TLines> ExtractChatTexts(const TLines& messages, const std::vector<std::u16string>& entries);

// Splits `messages` among the participants the user chose, in the order
// chosen, each keeping its lines in memory (the window's "Extract").
TExtractionResult ExtractChosenParticipants(const TLines& messages, std::u16string exportName,
                                            const std::vector<TParticipantChoice>& choices);

// Reads the export file by the text reading rule and then ReadChatExport.
// Throws TFileReadError.
TChatExport ReadChatExportFile(const std::filesystem::path& path, const std::string& legacyCodePage);

// Names already in use, compared without regard to letter case.
class TNameSet {
public:
    void Add(std::u16string_view name);
    bool Contains(std::u16string_view name) const;
    // `wanted` with its blanks trimmed (or `fallback` when that leaves
    // nothing), made different from every name of the set by appending
    // " (2)", " (3)" and so on; the result joins the set.
    std::u16string Unique(std::u16string_view wanted, std::u16string_view fallback = u"Participant");

private:
    std::unordered_set<std::u16string> FFolded;
};

// `name` as a folder or file name any platform accepts: path separators,
// characters Windows forbids and control characters (C0, DEL, C1) become "_", as does a
// leading "." (which would hide it) or trailing blank or dot.
std::u16string SafeFileName(std::u16string_view name);

}  // namespace quillprint
