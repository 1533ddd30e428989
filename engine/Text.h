// Small helpers for the engine's UTF-16 strings.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillprint {

// A list of words (or, for chat participants, of lines) in text order.
using TWordList = std::vector<std::u16string>;
// A stretch of such a list, read-only (an author's words inside the
// combined corpus, for instance).
using TWordSpan = std::span<const std::u16string>;

// A stretch of words copied into a list of its own.
inline TWordList ListOf(TWordSpan words)
{
    return {words.begin(), words.end()};
}

// Conversions between the engine's UTF-16 strings and UTF-8, through ICU.
// Ill-formed input becomes U+FFFD. Throws std::bad_alloc when memory runs
// out (rather than giving a shorter text).
std::u16string FromUtf8(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);

// A C0 control (U+0000 to U+001F), DEL (U+007F) or a C1 control (U+0080 to
// U+009F): a character that may drive a terminal rather than show.
constexpr bool IsControlCharacter(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Lower-cases the 26 letters "A" to "Z"; every other code unit unchanged.
void LowerAsciiLetters(std::u16string& text);

}  // namespace quillprint
