// Small helpers for the engine's UTF-16 strings.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillprint {

// A list of words (or, for chat participants, of lines) in text order.
using TWordList = std::vector<std::u16string>;

// Conversions between the engine's UTF-16 strings and UTF-8, through ICU.
// Ill-formed input becomes U+FFFD; nothing throws.
std::u16string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);

// The 26 letters "A" to "Z" lower-cased; every other code unit unchanged.
std::u16string LowerAsciiLetters(std::u16string_view text);

}  // namespace quillprint
