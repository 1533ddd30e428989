#include "workspace/TextReader.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ustring.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unicode/utf8.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/Text.h"

namespace quillprint {

namespace {
std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
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
    // The ASCII the text begins with (most texts are ASCII throughout) is
    // widened here, a block at a time in loops the compiler turns into
    // vector instructions; ICU decodes from the first other byte on, which
    // begins a sequence of its own either way.
    const auto* const in = reinterpret_cast<const unsigned char*>(bytes.data());
    constexpr size_t kBlock = 32;
    size_t ascii = 0;
    while (bytes.size() - ascii >= kBlock) {
        unsigned high = 0;
        for (size_t i = ascii; i < ascii + kBlock; ++i) high |= in[i];
        if (high >= 0x80) break;
        for (size_t i = ascii; i < ascii + kBlock; ++i) text[i] = in[i];
        ascii += kBlock;
    }
    for (; ascii < bytes.size() && in[ascii] < 0x80; ++ascii) text[ascii] = in[ascii];
    *valid = true;
    if (ascii == bytes.size()) return text;
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(text.data() + ascii, static_cast<int32_t>(text.size() - ascii), &length, bytes.data() + ascii,
                  static_cast<int32_t>(bytes.size() - ascii), &status);
    *valid = U_SUCCESS(status);
    if (!*valid) return {};
    text.resize(ascii + static_cast<size_t>(length));
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

// Whether bytes handed over piece by piece form valid UTF-8 as a whole; a
// sequence split between two pieces is judged once both are in.
class TUtf8Check {
public:
    void Add(std::string_view bytes) {
        if (!FValid) return;
        if (!FCarry.empty()) {
            // Complete the sequence the last piece ended in.
            const auto lead = static_cast<unsigned char>(FCarry.front());
            const size_t need = SequenceLength(lead) - FCarry.size();
            const size_t take = std::min(need, bytes.size());
            FCarry.append(bytes.substr(0, take));
            bytes.remove_prefix(take);
            if (take < need) return;
            Scan(FCarry, FCarry.size());
            FCarry.clear();
            if (!FValid) return;
        }
        const size_t end = CompleteEnd(bytes);
        Scan(bytes, end);
        if (FValid) FCarry.assign(bytes.substr(end));
    }
    // Valid once the last piece is in: nothing left incomplete.
    bool Valid() const { return FValid && FCarry.empty(); }
    bool Failed() const { return !FValid; }

private:
    static size_t SequenceLength(unsigned char lead) { return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2; }

    // Where a last sequence that the bytes end before its end begins.
    static size_t CompleteEnd(std::string_view bytes) {
        size_t end = bytes.size();
        for (size_t p = bytes.size() >= 3 ? bytes.size() - 3 : 0; p < bytes.size(); ++p) {
            const auto lead = static_cast<unsigned char>(bytes[p]);
            if (lead >= 0xC0 && p + SequenceLength(lead) > bytes.size()) end = p;
        }
        return end;
    }

    void Scan(std::string_view bytes, size_t end) {
        const auto length = static_cast<int32_t>(end);
        for (int32_t i = 0; i < length;) {
            // Plain ASCII (and runs of NUL) eight bytes at a time.
            uint64_t word = 0;
            if (i + 8 <= length && (std::memcpy(&word, bytes.data() + i, 8), (word & 0x8080808080808080u) == 0)) {
                i += 8;
                continue;
            }
            if (static_cast<unsigned char>(bytes[static_cast<size_t>(i)]) < 0x80) {
                ++i;
                continue;
            }
            UChar32 c;
            U8_NEXT(bytes.data(), i, length, c);
            if (c < 0) {
                FValid = false;
                return;
            }
        }
    }

    bool FValid = true;
    std::string FCarry;
};

enum class TMark { Undecided, Utf8, Utf16LE, Utf16BE, None };

// Takes a file's bytes piece by piece and keeps only those of its text: the
// byte-order mark goes, and nothing after the first NUL is kept. Without a
// mark the rest of the file is still read, but only to judge whether the
// whole file is valid UTF-8. Memory thus follows the text, not the file.
class TTextBytes {
public:
    explicit TTextBytes(const std::string& legacyCodePage) : FCodePage(legacyCodePage) {}

    void Add(std::string_view piece) {
        if (FMark == TMark::Undecided) {
            FHead.append(piece);
            if (FHead.size() < 3) return;
            Decide();
            const std::string head = std::move(FHead);
            FHead.clear();
            Take(head);
            return;
        }
        Take(piece);
    }

    // Nothing more of the file can change the text.
    bool Complete() const { return FCut && (FMark != TMark::None || FUtf8.Failed()); }

    // The lines of the text, once the whole file (or enough of it) is in.
    TLines Finish() {
        if (FMark == TMark::Undecided) {
            Decide();
            const std::string head = std::move(FHead);
            FHead.clear();
            Take(head);
        }
        std::u16string text;
        switch (FMark) {
            case TMark::Utf8: text = FromUtf8(FText); break;  // ill-formed bytes become U+FFFD
            case TMark::Utf16LE: text = DecodeUtf16(FText, false); break;
            case TMark::Utf16BE: text = DecodeUtf16(FText, true); break;
            default: {
                bool valid = FUtf8.Valid();
                if (valid) text = DecodeUtf8(FText, &valid);
                if (!valid) text = DecodeLegacy(FText, FCodePage);
            }
        }
        std::string().swap(FText);
        return SplitLines(text);
    }

private:
    void Decide() {
        const std::string_view head = FHead;
        if (head.starts_with("\xEF\xBB\xBF")) {
            FMark = TMark::Utf8;
            FHead.erase(0, 3);
        } else if (head.starts_with("\xFF\xFE")) {
            FMark = TMark::Utf16LE;
            FHead.erase(0, 2);
        } else if (head.starts_with("\xFE\xFF")) {
            FMark = TMark::Utf16BE;
            FHead.erase(0, 2);
        } else {
            FMark = TMark::None;
        }
    }

    void Take(std::string_view piece) {
        if (FMark == TMark::None) FUtf8.Add(piece);
        if (FCut) return;
        if (FMark == TMark::Utf16LE || FMark == TMark::Utf16BE) {
            // The text ends at the first code unit 0, at an even offset.
            const size_t before = FText.size();
            FText.append(piece);
            for (size_t i = before & ~size_t{1}; i + 1 < FText.size(); i += 2) {
                if (FText[i] == '\0' && FText[i + 1] == '\0') {
                    FText.resize(i);
                    FCut = true;
                    return;
                }
            }
            return;
        }
        // In UTF-8 and in the legacy code pages a 0 byte is always NUL.
        const size_t nul = piece.find('\0');
        FText.append(piece.substr(0, nul));
        FCut = nul != std::string_view::npos;
    }

    const std::string& FCodePage;
    TMark FMark = TMark::Undecided;
    std::string FHead;
    std::string FText;
    bool FCut = false;
    TUtf8Check FUtf8;
};

#ifndef _WIN32
// Opens without waiting: a pipe put in place of a text after the listing
// would otherwise block in open until some writer appears.
int OpenForReading(const std::filesystem::path& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}
#endif

}  // namespace

TLines DecodeText(std::string_view bytes, const std::string& legacyCodePage) {
    TTextBytes text(legacyCodePage);
    text.Add(bytes);
    return text.Finish();
}

TLines ReadTextFile(const std::filesystem::path& path, const std::string& legacyCodePage,
                    const std::function<void()>& betweenReads) {
    const auto fail = [&path](int error) { throw TFileReadError(path, std::strerror(error)); };
    TTextBytes text(legacyCodePage);
    constexpr size_t kReadSize = 1 << 20;
    std::vector<char> buffer;
#ifdef _WIN32
    buffer.resize(kReadSize);
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(_wfopen(path.c_str(), L"rb"), &std::fclose);
    if (!file) fail(errno);
    while (!text.Complete()) {
        const size_t count = std::fread(buffer.data(), 1, buffer.size(), file.get());
        text.Add(std::string_view(buffer.data(), count));
        if (count < buffer.size()) break;
    }
    if (std::ferror(file.get())) fail(errno);
#else
    const int fd = OpenForReading(path);
    if (fd < 0) fail(errno);
    const std::unique_ptr<const int, void (*)(const int*)> closer(&fd, [](const int* open) { ::close(*open); });
    struct stat status {};
    if (::fstat(fd, &status) != 0) fail(errno);
    if (S_ISDIR(status.st_mode)) fail(EISDIR);
    // Only a regular file is a text: a pipe or a device could wait forever
    // or never end.
    if (!S_ISREG(status.st_mode)) throw TFileReadError(path, "Not a regular file");
    // The text is what the file holds when it is opened: one that keeps
    // growing while it is read is not read without end. The last read, of
    // one byte past that size, still reports an error the file gives.
    auto remaining = static_cast<uint64_t>(std::max<off_t>(status.st_size, 0));
    // A small file needs no more than its size and the byte past it: a whole
    // megabyte, zeroed for every file, once cost more than the reading.
    buffer.resize(static_cast<size_t>(std::min<uint64_t>(remaining + 1, kReadSize)));
    while (!text.Complete()) {
        const size_t wanted = remaining == 0 ? 1 : static_cast<size_t>(std::min<uint64_t>(remaining, buffer.size()));
        const ssize_t count = ::read(fd, buffer.data(), wanted);
        if (count < 0) {
            if (errno == EINTR) continue;
            fail(errno);
        }
        if (count == 0 || remaining == 0) break;
        text.Add(std::string_view(buffer.data(), static_cast<size_t>(count)));
        remaining -= static_cast<uint64_t>(count);
        if (betweenReads) betweenReads();
    }
    // Unless the text ended early, the file must still be what it was when
    // opened: cut short, grown or rewritten meanwhile, what was read is half
    // old and half new. (A file of the system that claims no size, such as
    // those of /proc, keeps its size 0 and its time.)
    struct stat after {};
    const bool changed = ::fstat(fd, &after) != 0 || remaining != 0 || after.st_size != status.st_size ||
                         after.st_mtim.tv_sec != status.st_mtim.tv_sec ||
                         after.st_mtim.tv_nsec != status.st_mtim.tv_nsec;
    if (!text.Complete() && changed) throw TFileReadError(path, "It changed while it was being read");
#endif
    return text.Finish();
}

TTextFileLines::TTextFileLines(const std::filesystem::path& path, const std::string& legacyCodePage)
    : FPath(path), FCodePage(legacyCodePage) {
    const auto fail = [this](int error) { throw TFileReadError(FPath, std::strerror(error)); };
    FFd = OpenForReading(path);
    if (FFd < 0) fail(errno);
    try {
        struct stat status {};
        if (::fstat(FFd, &status) != 0) fail(errno);
        if (S_ISDIR(status.st_mode)) fail(EISDIR);
        if (!S_ISREG(status.st_mode)) throw TFileReadError(path, "Not a regular file");
        FEnd = status.st_size;
        char head[3] = {};
        ssize_t got = 0;
        while ((got = ::pread(FFd, head, sizeof head, 0)) < 0 && errno == EINTR) {
        }
        if (got < 0) fail(errno);
        const std::string_view start(head, static_cast<size_t>(std::min<int64_t>(got, FEnd)));
        if (start.starts_with("\xEF\xBB\xBF")) {
            FEncoding = TEncoding::Utf8;
            FStart = 3;
        } else if (start.starts_with("\xFF\xFE")) {
            FEncoding = TEncoding::Utf16LE;
            FStart = 2;
        } else if (start.starts_with("\xFE\xFF")) {
            FEncoding = TEncoding::Utf16BE;
            FStart = 2;
        } else {
            // Valid UTF-8 as a whole is UTF-8; anything else the legacy page.
            TUtf8Check check;
            std::vector<char> buffer(1 << 20);
            for (int64_t offset = 0; offset < FEnd && !check.Failed();) {
                const ssize_t count =
                    ::pread(FFd, buffer.data(), static_cast<size_t>(std::min<int64_t>(FEnd - offset, 1 << 20)), offset);
                if (count < 0 && errno == EINTR) continue;
                if (count < 0) fail(errno);
                if (count == 0) break;
                check.Add(std::string_view(buffer.data(), static_cast<size_t>(count)));
                offset += count;
            }
            FEncoding = check.Valid() ? TEncoding::Utf8 : TEncoding::Legacy;
        }
    } catch (...) {
        ::close(FFd);
        throw;
    }
}

TTextFileLines::~TTextFileLines() { ::close(FFd); }

std::u16string TTextFileLines::Decode(std::string_view bytes) const {
    switch (FEncoding) {
    case TEncoding::Utf8: return FromUtf8(bytes);
    case TEncoding::Utf16LE: return DecodeUtf16(bytes, false);
    case TEncoding::Utf16BE: return DecodeUtf16(bytes, true);
    case TEncoding::Legacy: break;
    }
    return DecodeLegacy(bytes, FCodePage);
}

void TTextFileLines::ForEach(const std::function<void(std::u16string& line)>& take) const {
    // Lines end at CR LF, lone CR or lone LF, found among the bytes (in
    // UTF-16 among the code units): no other character holds those bytes.
    // The text ends at its first NUL.
    const size_t unit = FEncoding == TEncoding::Utf16LE || FEncoding == TEncoding::Utf16BE ? 2 : 1;
    const auto codeOf = [&](const char* at) -> unsigned {
        const auto first = static_cast<unsigned char>(at[0]);
        if (unit == 1) return first;
        const auto second = static_cast<unsigned char>(at[1]);
        return FEncoding == TEncoding::Utf16LE ? (second << 8 | first) : (first << 8 | second);
    };
    const auto hand = [&take, this](const std::string& bytes) {
        std::u16string decoded = Decode(bytes);
        take(decoded);
    };
    std::vector<char> buffer(1 << 20);
    std::string line;
    bool afterCr = false;
    size_t carried = 0;  // an odd byte of UTF-16 left from the last read
    for (int64_t offset = FStart; offset < FEnd;) {
        const ssize_t count = ::pread(FFd, buffer.data() + carried,
                                      static_cast<size_t>(std::min<int64_t>(FEnd - offset, (1 << 20) - 2)), offset);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) throw TFileReadError(FPath, std::strerror(errno));
        if (count == 0) break;
        offset += count;
        const size_t size = carried + static_cast<size_t>(count);
        const size_t whole = size - size % unit;
        size_t begin = 0;
        for (size_t i = 0; i < whole; i += unit) {
            const unsigned c = codeOf(buffer.data() + i);
            if (c == 0) {
                line.append(buffer.data() + begin, i - begin);
                if (!line.empty()) hand(line);
                return;
            }
            if (c != '\r' && c != '\n') {
                afterCr = false;
                continue;
            }
            const bool secondHalf = c == '\n' && afterCr && begin == i && line.empty();
            afterCr = c == '\r';
            if (!secondHalf) {
                line.append(buffer.data() + begin, i - begin);
                hand(line);
                line.clear();
            }
            begin = i + unit;
        }
        line.append(buffer.data() + begin, whole - begin);
        carried = size - whole;
        if (carried) buffer[0] = buffer[whole];
    }
    if (!line.empty()) hand(line);
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


bool LooksBinary(const std::filesystem::path& path) {
    // One block is enough to tell; the rest of the file is never read here.
    constexpr size_t kBlock = 4096;
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::string head(kBlock, '\0');
    file.read(head.data(), static_cast<std::streamsize>(kBlock));
    head.resize(static_cast<size_t>(file.gcount()));
    if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF")) return false;  // UTF-16 text
    static constexpr std::string_view kSignatures[] = {
        "%PDF",                  // PDF
        "\x89PNG",               // PNG
        "\xFF\xD8\xFF",          // JPEG
        "GIF8",                  // GIF
        "PK\x03\x04",            // ZIP, and the word processors' documents
        "\xD0\xCF\x11\xE0",      // older office documents
        "\x7F" "ELF",            // programs
    };
    for (const std::string_view signature : kSignatures)
        if (head.starts_with(signature)) return true;
    return head.find('\0') != std::string::npos;
}

}  // namespace quillprint
