// The clean-up applied to every text before it is split into words.
#pragma once

#include <string>
#include <string_view>

namespace quillprint {

// Removes , . ; ! ? ( ) and " - ", halves runs of blanks in one pass, trims
// code units 0 to 32 at both ends and lower-cases "A" to "Z".
std::u16string NormalizeText(std::u16string_view text);

}  // namespace quillprint
