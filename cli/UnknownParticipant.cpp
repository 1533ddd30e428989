#include "cli/UnknownParticipant.h"

#include <string>

namespace quillprint::cli {

namespace {

// True when `participant` is shown as `name` followed by its phone, as a
// name that several entries share is shown.
bool SharesName(const TChatParticipant& participant, std::u16string_view name) {
    const std::u16string& entry = participant.Entry;
    const size_t plus = entry.size() < 2 ? std::u16string::npos : entry.rfind(u",+", entry.size() - 2);
    if (plus == std::u16string::npos) return false;
    const std::u16string_view phone = std::u16string_view(entry).substr(plus + 1, entry.size() - plus - 2);
    return participant.Name == std::u16string(name) + u" " + std::u16string(phone);
}

}  // namespace

std::vector<size_t> ParticipantsNamed(const std::vector<TChatParticipant>& participants, std::u16string_view wanted) {
    for (size_t i = 0; i < participants.size(); ++i)
        if (participants[i].Entry == wanted || participants[i].Name == wanted) return {i};
    std::vector<size_t> shared;
    for (size_t i = 0; i < participants.size(); ++i)
        if (SharesName(participants[i], wanted)) shared.push_back(i);
    return shared;
}

}  // namespace quillprint::cli
