#include "engine/Text.h"

#include <unicode/unistr.h>

#include <new>

namespace quillprint {

std::u16string FromUtf8(std::string_view utf8)
{
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    // ICU gives an empty (bogus) string when it cannot allocate; every
    // non-empty input has at least one character.
    if (text.isBogus() || (text.isEmpty() && !utf8.empty()))
        throw std::bad_alloc();
    return std::u16string(text.getBuffer(), static_cast<size_t>(text.length()));
}

std::string ToUtf8(std::u16string_view utf16)
{
    const icu::UnicodeString text(false, utf16.data(), static_cast<int32_t>(utf16.size()));
    std::string result;
    text.toUTF8String(result);
    // ICU appends nothing when it cannot allocate its buffer; every code
    // unit gives at least one byte.
    if (result.empty() && !utf16.empty())
        throw std::bad_alloc();
    return result;
}

void LowerAsciiLetters(std::u16string& text)
{
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    }
}

}  // namespace quillprint
