#include "workspace/HeldBackLines.h"

namespace quillprint {

std::u16string HoldBackLines(TLines& lines) {
    const size_t heldBack = lines.size() / 5;
    std::u16string test;
    for (size_t i = 0; i < heldBack; ++i) {
        test += lines.back();
        lines.pop_back();
    }
    return test;
}

}  // namespace quillprint
