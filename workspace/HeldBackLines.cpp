#include "workspace/HeldBackLines.h"

namespace quillprint {

std::u16string HoldBackLines(TLines& lines) {
    // The last fifth, rounded down: fewer than 5 lines hold nothing back.
    const size_t heldBack = lines.size() / kHeldBackFraction;
    std::u16string test;
    for (size_t i = 0; i < heldBack; ++i) {
        test += lines.back();
        lines.pop_back();
    }
    return test;
}

}  // namespace quillprint
