#include "workspace/ChatExportFile.h"

#include <memory>
#include <unordered_set>

#include "engine/ChatExtractor.h"
#include "workspace/ChatExport.h"

namespace quillprint {

TChatExportFile::TChatExportFile(const std::filesystem::path& path, const std::string& legacyCodePage)
    : FLines(path, legacyCodePage) {}

void TChatExportFile::ForEachMessage(const std::function<void(std::u16string& message)>& take) const {
    std::u16string message;
    bool inMessage = false;
    FLines.ForEach([&](std::u16string& line) {
        if (!MessageEntry(line).empty()) {
            if (inMessage) take(message);
            message = std::move(line);
            inMessage = true;
        } else if (inMessage) {
            message += u' ';
            message += line;
        } else {
            take(line);  // a line before the first message stays a line of its own
        }
    });
    if (inMessage) take(message);
}

std::vector<std::u16string> TChatExportFile::Entries() const {
    std::vector<std::u16string> firstAppearance;
    std::unordered_set<std::u16string> seen;
    ForEachMessage([&](const std::u16string& message) {
        const std::u16string_view entry = MessageEntry(message);
        if (!entry.empty() && seen.emplace(entry).second) firstAppearance.emplace_back(entry);
    });
    return EntriesInSplitterOrder(firstAppearance);
}

void TChatExportFile::Split(const std::vector<std::u16string>& entries,
                            const std::function<void(size_t participant, std::u16string_view line)>& take) const {
    TAuthorExtractorViber extractor;
    for (const std::u16string& entry : entries) extractor.Authors().push_back(std::make_unique<TAuthor>(entry, u""));
    std::vector<std::u16string> one(1);
    ForEachMessage([&](std::u16string& message) {
        one.front() = std::move(message);
        extractor.Execute(one);
        // At most one participant took the line; it is handed on at once.
        for (size_t i = 0; i < extractor.Authors().size(); ++i) {
            auto& text = extractor.Authors()[i]->OwnWords();
            if (text.empty()) continue;
            take(i, text.front());
            text.clear();
            break;
        }
    });
}

}  // namespace quillprint
