#include "workspace/TextReader.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "engine/Text.h"

namespace quillprint {

namespace {
std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::FILE* OpenForReading(const std::filesystem::path& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}
}  // namespace

TFileReadError::TFileReadError(const std::filesystem::path& path, const std::string& reason)
    : std::runtime_error("Cannot open file \"" + PathToUtf8(path) + "\". " + reason) {}

namespace {
// Chinese in Taiwan, Hong Kong and Macao, or written in traditional
// characters, uses the Big5 page; elsewhere the GBK page.
std::string ChineseCodePage(const std::string& localeName) {
    const std::string rest = localeName.substr(0, localeName.find_first_of(".@"));
    for (const char* traditional : {"TW", "HK", "MO", "Hant"})
        if (rest.find(traditional) != std::string::npos) return "windows-950";
    return "windows-936";
}
}  // namespace

std::string LegacyCodePageFor(const std::string& localeName) {
    // The language is the part before "_", "-", "." or "@".
    const std::string language = localeName.substr(0, localeName.find_first_of("_-.@"));
    if (language == "zh") return ChineseCodePage(localeName);
    static const std::map<std::string, std::string> codePages = {
        // Central European
        {"cs", "windows-1250"}, {"pl", "windows-1250"}, {"sk", "windows-1250"}, {"sl", "windows-1250"},
        {"hu", "windows-1250"}, {"hr", "windows-1250"}, {"ro", "windows-1250"}, {"bs", "windows-1250"},
        {"sq", "windows-1250"},
        // Cyrillic
        {"ru", "windows-1251"}, {"uk", "windows-1251"}, {"be", "windows-1251"}, {"bg", "windows-1251"},
        {"mk", "windows-1251"}, {"sr", "windows-1251"}, {"kk", "windows-1251"}, {"ky", "windows-1251"},
        {"mn", "windows-1251"}, {"tt", "windows-1251"},
        {"el", "windows-1253"},
        {"tr", "windows-1254"}, {"az", "windows-1254"}, {"uz", "windows-1254"},
        {"he", "windows-1255"}, {"yi", "windows-1255"},
        {"ar", "windows-1256"}, {"fa", "windows-1256"}, {"ur", "windows-1256"},
        {"et", "windows-1257"}, {"lv", "windows-1257"}, {"lt", "windows-1257"},
        {"th", "windows-874"},
        {"vi", "windows-1258"},
        // Double-byte pages
        {"ja", "windows-932"}, {"ko", "windows-949"},
    };
    const auto found = codePages.find(language);
    return found == codePages.end() ? "windows-1252" : found->second;
}

namespace {

// Every byte of a single-byte code page decoded on its own; bytes the code
// page leaves unassigned map to the code point of the same value (so the five
// holes of windows-1252 become C1 controls).
std::array<char16_t, 256> MakeByteTable(const std::string& codePage) {
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b) table[b] = static_cast<char16_t>(b);
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(codePage.c_str(), &status);
    if (U_FAILURE(status)) return table;
    for (int b = 1; b < 256; ++b) {
        ucnv_reset(converter);
        status = U_ZERO_ERROR;
        ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        const char byte = static_cast<char>(b);
        UChar out[4];
        status = U_ZERO_ERROR;
        const int32_t length = ucnv_toUChars(converter, out, 4, &byte, 1, &status);
        if (U_SUCCESS(status) && length == 1) table[b] = out[0];
    }
    ucnv_close(converter);
    return table;
}

const std::array<char16_t, 256>& ByteTable(const std::string& codePage) {
    static std::mutex mutex;
    static std::map<std::string, std::array<char16_t, 256>> tables;
    std::lock_guard lock(mutex);
    auto found = tables.find(codePage);
    if (found == tables.end()) found = tables.emplace(codePage, MakeByteTable(codePage)).first;
    return found->second;
}

std::u16string DecodeUtf8(std::string_view bytes, bool* valid) {
    std::u16string text(bytes.size(), u'\0');  // UTF-16 never needs more units than UTF-8 bytes
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(text.data(), static_cast<int32_t>(text.size()), &length, bytes.data(),
                  static_cast<int32_t>(bytes.size()), &status);
    *valid = U_SUCCESS(status);
    if (!*valid) return {};
    text.resize(static_cast<size_t>(length));
    return text;
}

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string text(bytes.size() / 2, u'\0');  // an odd trailing byte is dropped
    for (size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    }
    return text;
}

// A malformed or unassigned sequence of a double-byte page becomes U+FFFD, a
// visible word character, rather than the page's substitute control, which
// would split the word around it.
void ReplaceWithReplacementCharacter(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                                     UConverterCallbackReason reason, UErrorCode* status) {
    if (reason > UCNV_IRREGULAR) return;  // reset, close or clone: nothing to write
    *status = U_ZERO_ERROR;
    const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, status);
}

// The double-byte pages (932, 936, 949, 950) are decoded as one stream: a
// trail byte may look like an ASCII character (0x5C, the backslash, is the
// second byte of 表 in windows-932).
std::u16string DecodeMultiByte(std::string_view bytes, UConverter* converter) {
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter, ReplaceWithReplacementCharacter, nullptr, nullptr, nullptr, &status);
    // Every byte gives at most one UTF-16 unit in these pages; should one
    // give more, the exact length is known after the first try.
    std::u16string text(bytes.size() + 1, u'\0');
    const auto convert = [&] {
        return ucnv_toUChars(converter, text.data(), static_cast<int32_t>(text.size()), bytes.data(),
                             static_cast<int32_t>(bytes.size()), &status);
    };
    int32_t length = convert();
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        status = U_ZERO_ERROR;
        text.resize(static_cast<size_t>(length) + 1);
        length = convert();
    }
    text.resize(U_SUCCESS(status) ? static_cast<size_t>(length) : 0);
    return text;
}

std::u16string DecodeLegacy(std::string_view bytes, const std::string& codePage) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UConverter, void (*)(UConverter*)> converter(ucnv_open(codePage.c_str(), &status),
                                                                       &ucnv_close);
    if (U_SUCCESS(status) && ucnv_getMaxCharSize(converter.get()) > 1) return DecodeMultiByte(bytes, converter.get());
    const auto& table = ByteTable(codePage);
    std::u16string text(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i) text[i] = table[static_cast<unsigned char>(bytes[i])];
    return text;
}

bool StartsWith(std::string_view bytes, std::string_view mark) { return bytes.substr(0, mark.size()) == mark; }

TLines SplitLines(std::u16string_view text) {
    TLines lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
        lines.emplace_back(text.substr(start, end - start));
        if (end < text.size() && text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ++end;
        start = end + 1;
    }
    return lines;
}

}  // namespace

TLines DecodeText(std::string_view bytes, const std::string& legacyCodePage) {
    std::u16string text;
    if (StartsWith(bytes, "\xEF\xBB\xBF")) {
        text = FromUtf8(bytes.substr(3));  // ill-formed bytes become U+FFFD
    } else if (StartsWith(bytes, "\xFF\xFE")) {
        text = DecodeUtf16(bytes.substr(2), false);
    } else if (StartsWith(bytes, "\xFE\xFF")) {
        text = DecodeUtf16(bytes.substr(2), true);
    } else {
        bool valid = false;
        text = DecodeUtf8(bytes, &valid);
        if (!valid) text = DecodeLegacy(bytes, legacyCodePage);
    }
    const size_t nul = text.find(u'\0');
    return SplitLines(std::u16string_view(text).substr(0, nul));
}

TLines ReadTextFile(const std::filesystem::path& path, const std::string& legacyCodePage) {
    const auto fail = [&path] { throw TFileReadError(path, std::strerror(errno)); };
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenForReading(path), &std::fclose);
    if (!file) fail();
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const size_t count = std::fread(buffer, 1, sizeof buffer, file.get());
        bytes.append(buffer, count);
        if (count < sizeof buffer) break;
    }
    if (std::ferror(file.get())) fail();  // for example a folder (EISDIR)
    return DecodeText(bytes, legacyCodePage);
}

std::u16string JoinLines(const TLines& lines) {
    size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::u16string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

}  // namespace quillprint
