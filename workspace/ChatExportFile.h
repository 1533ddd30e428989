// A chat export read from its file message by message, so that an export of
// any size can be split while memory holds only the message at hand.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "workspace/TextReader.h"

namespace quillprint {

class TChatExportFile {
public:
    // Opens the export and settles its decoding. Throws TFileReadError.
    TChatExportFile(const std::filesystem::path& path, const std::string& legacyCodePage);

    // Every message in order, the lines joined as JoinMessageLines joins
    // them; `take` may move the message away.
    void ForEachMessage(const std::function<void(std::u16string& message)>& take) const;

    // Every distinct entry that starts a message, in splitter order (as
    // ReadChatExport finds them).
    std::vector<std::u16string> Entries() const;

    // Runs the splitter over the messages with `entries` in this order:
    // `take` gets each line a participant is given, with the participant's
    // index in `entries`, in the order of the export.
    void Split(const std::vector<std::u16string>& entries,
               const std::function<void(size_t participant, std::u16string_view line)>& take) const;

private:
    TTextFileLines FLines;
};

}  // namespace quillprint
