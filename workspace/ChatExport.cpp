#include "workspace/ChatExport.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "engine/Author.h"
#include "engine/ChatExtractor.h"
#include "engine/Text.h"

namespace quillprint {

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\u00A0' || c == u'\u202F'; }

// The end of a leading field made only of characters `allowed` accepts and
// holding at least one digit, at the comma that closes it; npos otherwise.
// Stops at the first character that cannot belong to the field, so a long
// line that is no message costs next to nothing.
template <typename Allowed>
size_t FieldEnd(std::u16string_view line, size_t from, Allowed allowed) {
    bool digit = false;
    for (size_t i = from; i < line.size(); ++i) {
        const char16_t c = line[i];
        if (c == u',') return digit ? i : std::u16string_view::npos;
        if (IsDigit(c)) digit = true;
        else if (!allowed(c)) return std::u16string_view::npos;
    }
    return std::u16string_view::npos;
}

bool IsDateCharacter(char16_t c) { return c == u'/' || c == u'.' || c == u'-' || IsBlank(c); }

// "14:05", "14:05:33", "2:05 PM", "2:05 p.m.".
bool IsTimeCharacter(char16_t c) {
    return c == u':' || c == u'.' || IsBlank(c) || c == u'A' || c == u'a' || c == u'P' || c == u'p' || c == u'M' ||
           c == u'm';
}

// The digits of an entry ("Name,+123," gives "123").
std::u16string_view PhoneOf(std::u16string_view entry) {
    const size_t plus = entry.rfind(u",+", entry.size() - 2);
    return entry.substr(plus + 2, entry.size() - plus - 3);
}

// The name an entry shows: blanks trimmed, one pair of surrounding double
// quotes taken off (a doubled quote inside stands for one).
std::u16string DisplayName(std::u16string_view entry) {
    std::u16string_view name = entry.substr(0, entry.size() - PhoneOf(entry).size() - 3);
    while (!name.empty() && IsBlank(name.front())) name.remove_prefix(1);
    while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
    if (name.size() >= 2 && name.front() == u'"' && name.back() == u'"') {
        std::u16string unquoted;
        for (size_t i = 1; i + 1 < name.size(); ++i) {
            unquoted += name[i];
            if (name[i] == u'"' && name[i + 1] == u'"') ++i;
        }
        return unquoted;
    }
    return std::u16string(name);
}

std::u16string Fold(std::u16string_view text) {
    icu::UnicodeString folded(false, text.data(), static_cast<int32_t>(text.size()));
    folded.foldCase();
    return std::u16string(folded.getBuffer(), static_cast<size_t>(folded.length()));
}

// Puts every entry in front of the earlier listed entries it holds. An entry
// ends with the first ",+digits," after its name, so one entry can only hold
// another as a proper suffix: the same phone after the end of its name.
std::vector<std::u16string> SplitterOrder(const std::vector<std::u16string>& firstAppearance) {
    std::vector<std::u16string> order;
    std::unordered_set<std::u16string_view> placed;
    for (const std::u16string& entry : firstAppearance) {
        size_t position = order.size();
        const size_t nameLength = entry.size() - PhoneOf(entry).size() - 3;
        for (size_t cut = 1; cut <= nameLength; ++cut) {
            if (!placed.count(std::u16string_view(entry).substr(cut))) continue;
            const auto held = std::find(order.begin(), order.end(), std::u16string_view(entry).substr(cut));
            position = std::min(position, static_cast<size_t>(held - order.begin()));
        }
        order.insert(order.begin() + static_cast<std::ptrdiff_t>(position), entry);
        placed.insert(entry);
    }
    return order;
}

}  // namespace

std::u16string_view MessageEntry(std::u16string_view line) {
    constexpr auto npos = std::u16string_view::npos;
    const size_t dateEnd = FieldEnd(line, 0, IsDateCharacter);
    if (dateEnd == npos) return {};
    const size_t timeEnd = FieldEnd(line, dateEnd + 1, IsTimeCharacter);
    if (timeEnd == npos) return {};
    const size_t nameStart = timeEnd + 1;
    // The first ",+" with digits and a comma after it ends the name.
    for (size_t plus = line.find(u",+", nameStart); plus != npos; plus = line.find(u",+", plus + 1)) {
        size_t end = plus + 2;
        while (end < line.size() && IsDigit(line[end])) ++end;
        if (end > plus + 2 && end < line.size() && line[end] == u',') return line.substr(nameStart, end + 1 - nameStart);
    }
    return {};
}

TLines JoinMessageLines(const TLines& lines) {
    TLines messages;
    messages.reserve(lines.size());
    bool inMessage = false;
    for (const std::u16string& line : lines) {
        if (!MessageEntry(line).empty()) {
            messages.push_back(line);
            inMessage = true;
        } else if (inMessage) {
            messages.back() += u' ';
            messages.back() += line;
        } else {
            messages.push_back(line);
        }
    }
    return messages;
}

std::vector<TLines> ExtractChatTexts(const TLines& messages, const std::vector<std::u16string>& entries) {
    TAuthorExtractorViber extractor;
    for (const std::u16string& entry : entries) extractor.Authors().push_back(std::make_unique<TAuthor>(entry, u""));
    extractor.Execute(messages);
    std::vector<TLines> texts;
    texts.reserve(entries.size());
    for (const auto& participant : extractor.Authors()) texts.push_back(std::move(participant->OwnWords()));
    return texts;
}

TExtractionResult ExtractChosenParticipants(const TLines& messages, std::u16string exportName,
                                            const std::vector<TParticipantChoice>& choices) {
    std::vector<std::u16string> entries;
    for (const TParticipantChoice& choice : choices) entries.push_back(choice.Entry);
    std::vector<TLines> texts = ExtractChatTexts(messages, entries);
    TExtractionResult result{std::move(exportName), {}};
    for (size_t i = 0; i < choices.size(); ++i) {
        const auto lines = static_cast<int32_t>(texts[i].size());
        result.Participants.push_back(
            {choices[i].Entry, choices[i].Name, lines, choices[i].IsUnknownText, std::move(texts[i])});
    }
    return result;
}

std::vector<std::u16string> EntriesInSplitterOrder(const std::vector<std::u16string>& firstAppearance) {
    return SplitterOrder(firstAppearance);
}

std::vector<TChatParticipant> NamedParticipants(const std::vector<std::u16string>& entries,
                                                const std::vector<int32_t>& lines) {
    // Names shown by default: two entries with one name tell their phones apart.
    std::unordered_map<std::u16string, int> nameUses;
    for (const std::u16string& entry : entries) ++nameUses[Fold(DisplayName(entry))];
    TNameSet taken;
    taken.Add(u"Unknown");
    std::vector<TChatParticipant> participants;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (lines[i] == 0) continue;
        std::u16string name = DisplayName(entries[i]);
        const std::u16string phone = u"+" + std::u16string(PhoneOf(entries[i]));
        if (name.empty())
            name = phone;
        else if (nameUses[Fold(name)] > 1)
            name += u" " + phone;
        participants.push_back({entries[i], taken.Unique(name), lines[i]});
    }
    return participants;
}

TChatExport ReadChatExport(const TLines& lines) {
    TChatExport chat;
    chat.Messages = JoinMessageLines(lines);

    std::vector<std::u16string> firstAppearance;
    {
        std::unordered_set<std::u16string_view> seen;
        for (const std::u16string& message : chat.Messages) {
            const std::u16string_view entry = MessageEntry(message);
            if (!entry.empty() && seen.insert(entry).second) firstAppearance.emplace_back(entry);
        }
    }
    const std::vector<std::u16string> entries = SplitterOrder(firstAppearance);
    const std::vector<TLines> texts = ExtractChatTexts(chat.Messages, entries);
    std::vector<int32_t> counts;
    for (const TLines& text : texts) counts.push_back(static_cast<int32_t>(text.size()));
    chat.Participants = NamedParticipants(entries, counts);
    return chat;
}

TChatExport ReadChatExportFile(const std::filesystem::path& path, const std::string& legacyCodePage) {
    return ReadChatExport(ReadTextFile(path, legacyCodePage));
}

void TNameSet::Add(std::u16string_view name) { FFolded.insert(Fold(name)); }

bool TNameSet::Contains(std::u16string_view name) const { return FFolded.count(Fold(name)) > 0; }

std::u16string TNameSet::Unique(std::u16string_view wanted, std::u16string_view fallback) {
    std::u16string_view base = wanted;
    while (!base.empty() && IsBlank(base.front())) base.remove_prefix(1);
    while (!base.empty() && IsBlank(base.back())) base.remove_suffix(1);
    if (base.empty()) base = fallback;
    std::u16string name(base);
    for (int number = 2; Contains(name); ++number)
        name = std::u16string(base) + u" (" + FromUtf8(std::to_string(number)) + u")";
    Add(name);
    return name;
}

std::u16string SafeFileName(std::u16string_view name) {
    std::u16string safe(name);
    for (char16_t& c : safe)
        if (IsControlCharacter(c) || std::u16string_view(u"/\\:*?\"<>|").find(c) != std::u16string_view::npos) c = u'_';
    if (!safe.empty() && safe.front() == u'.') safe.front() = u'_';
    if (!safe.empty() && (safe.back() == u' ' || safe.back() == u'.')) safe.back() = u'_';
    if (safe.empty()) safe = u"_";
    return safe;
}

}  // namespace quillprint
