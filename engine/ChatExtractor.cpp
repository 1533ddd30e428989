#include "engine/ChatExtractor.h"

namespace quillprint {

void TAuthorExtractorViber::Execute(const std::vector<std::u16string>& ALines)
{
    for (const std::u16string& line : ALines) {
        for (const auto& author : FAuthors) {
            const std::u16string& entry = author->Name();
            if (entry.empty())
                continue;
            const size_t hit = line.find(entry);
            if (hit == std::u16string::npos)
                continue;
            author->Text().push_back(line.substr(hit + entry.size()));
            break;
        }
    }
}

}  // namespace quillprint
