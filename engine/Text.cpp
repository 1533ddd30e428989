#include "engine/Text.h"

#include <unicode/unistr.h>

namespace quillprint {

std::u16string FromUtf8(std::string_view utf8)
{
    const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    return std::u16string(text.getBuffer(), static_cast<size_t>(text.length()));
}

std::string ToUtf8(std::u16string_view utf16)
{
    const icu::UnicodeString text(false, utf16.data(), static_cast<int32_t>(utf16.size()));
    std::string result;
    text.toUTF8String(result);
    return result;
}

std::u16string LowerAsciiLetters(std::u16string_view text)
{
    std::u16string result(text);
    for (char16_t& c : result) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return result;
}

}  // namespace quillprint
