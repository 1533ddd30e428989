// The participant that --unknown names.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "workspace/ChatExport.h"

namespace quillprint::cli {

// The positions of the participants `wanted` names: the one whose entry or
// name it is; otherwise every participant shown as `wanted` plus its phone
// ("Ann +4477…" for each of two entries named Ann), which makes it ambiguous
// when there are several. Empty when it names none.
std::vector<size_t> ParticipantsNamed(const std::vector<TChatParticipant>& participants, std::u16string_view wanted);

}  // namespace quillprint::cli
