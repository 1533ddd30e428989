// Whether the tree holds texts that exist only in memory, which opening
// another project or starting a new one would lose.
#include <algorithm>

#include "workspace/Project.h"

namespace quillprint {

namespace {

bool HoldsSomething(const TLines& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const std::u16string& line) { return !line.empty(); });
}

}  // namespace

bool TProject::HasTypedTexts() const {
    for (const auto& author : FTree.Authors())
        for (const auto& text : author->Texts()) {
            if (!text->Text()) continue;
            // The text on show may hold edits not yet written back to it.
            const bool shown = text.get() == FShownEntry;
            if (HoldsSomething(shown ? FTextView.Lines() : text->Text()->Lines)) return true;
        }
    return false;
}

}  // namespace quillprint
