// The text reading rule: how a file of the project becomes lines of UTF-16 text.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillprint {

using TLines = std::vector<std::u16string>;

// A file that cannot be read. what() is UTF-8 for the user:
// Cannot open file "<full path>". <the system's reason>
class TFileReadError : public std::runtime_error {
public:
    TFileReadError(const std::filesystem::path& path, const std::string& reason);
};

// The legacy Windows code page that stands in for the ANSI code page of a
// locale ("windows-1252" for Western European languages, "C" and unknown
// locales; 874, 1250, 1251, 1253 to 1258 for the languages that use those;
// the double-byte pages 932, 936, 949 and 950 for Japanese, Chinese and
// Korean).
std::string LegacyCodePageFor(const std::string& localeName);

// Decodes a whole file's bytes: a byte-order mark (EF BB BF, FF FE, FE FF)
// decides; without one, valid UTF-8 is UTF-8 and anything else is read byte by
// byte (character by character in a double-byte page) in `legacyCodePage`.
// The text ends at its first NUL; lines split at
// CR LF, lone CR and lone LF; a final line break makes no empty last line.
TLines DecodeText(std::string_view bytes, const std::string& legacyCodePage);

// Reads and decodes the file at `path`; throws TFileReadError, also when the
// file grew, shrank or was rewritten while it was being read (a text half
// old and half new is no text of anyone's). A file deleted meanwhile is read
// whole. `betweenReads`, for tests, runs after each block read.
TLines ReadTextFile(const std::filesystem::path& path, const std::string& legacyCodePage,
                    const std::function<void()>& betweenReads = {});

// A file read line by line by the text reading rule, holding only the line
// being read: for files too large to hold whole. The decoding is settled
// when it is opened (a file without a byte-order mark is read through once
// to tell UTF-8 from the legacy code page), and only the bytes it had then
// are ever read, so every pass over a file that keeps changing sees the
// same extent.
class TTextFileLines {
public:
    // Throws TFileReadError.
    TTextFileLines(const std::filesystem::path& path, const std::string& legacyCodePage);
    ~TTextFileLines();
    TTextFileLines(const TTextFileLines&) = delete;
    TTextFileLines& operator=(const TTextFileLines&) = delete;

    // Hands every line to `take`, in order: the lines ReadTextFile gives;
    // `take` may move the line away. Throws TFileReadError.
    void ForEach(const std::function<void(std::u16string& line)>& take) const;

private:
    enum class TEncoding { Utf8, Utf16LE, Utf16BE, Legacy };
    std::u16string Decode(std::string_view bytes) const;

    std::filesystem::path FPath;
    std::string FCodePage;
    int FFd = -1;
    int64_t FStart = 0;  // after the byte-order mark
    int64_t FEnd = 0;    // the size at opening
    TEncoding FEncoding = TEncoding::Legacy;
};

// Every line, the last one included, followed by CR LF.
std::u16string JoinLines(const TLines& lines);

// The file's first block holds a NUL byte (without a UTF-16 byte-order mark)
// or starts as an image, PDF, archive, office document or program does: it
// is most likely no text, though it is still read as one. False when the
// file cannot be read.
bool LooksBinary(const std::filesystem::path& path);

}  // namespace quillprint
