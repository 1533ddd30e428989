#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>

#include "TempProject.h"
#include "engine/Text.h"
#include "workspace/TextReader.h"

namespace quillprint {
namespace {

using testing::TTempFolder;
using namespace std::chrono_literals;

struct TDecodeCase {
    const char* Name;
    std::string Bytes;
    TLines Expected;
};

void PrintTo(const TDecodeCase& c, std::ostream* out) { *out << c.Name; }

class DecodeText : public ::testing::TestWithParam<TDecodeCase> {};

TEST_P(DecodeText, GivesTheExpectedLines) {
    EXPECT_EQ(quillprint::DecodeText(GetParam().Bytes, "windows-1252"), GetParam().Expected);
}

// The lines of a file read one at a time, as a large chat export is read.
TLines ReadLineByLine(const std::filesystem::path& path) {
    TLines lines;
    TTextFileLines(path, "windows-1252").ForEach([&](std::u16string& line) { lines.push_back(line); });
    return lines;
}

TEST_P(DecodeText, GivesTheSameLinesReadLineByLine) {
    TTempFolder folder;
    EXPECT_EQ(ReadLineByLine(folder.Write("text.txt", GetParam().Bytes)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    ReadingRule, DecodeText,
    ::testing::Values(
        TDecodeCase{"Empty", "", {}}, TDecodeCase{"LineBreaks", "a\r\nb\rc\nd", {u"a", u"b", u"c", u"d"}},
        // A final break makes no empty last line; a blank line before it stays.
        TDecodeCase{"FinalBreak", "a\r\n", {u"a"}}, TDecodeCase{"BlankLastLine", "a\r\n\r\n", {u"a", u""}},
        TDecodeCase{"LoneBreakPairReversed", "a\n\rb", {u"a", u"", u"b"}},
        TDecodeCase{"Utf8WithoutMark", "caf\xC3\xA9 \xE2\x82\xAC", {u"caf\u00E9 \u20AC"}},
        // Past a long stretch of ASCII, in the same block and the next.
        TDecodeCase{"Utf8AfterLongAscii",
                    std::string(40, 'a') + "\xC3\xA9" + std::string(70, 'b') + "\r\nc\xE2\x82\xAC",
                    {std::u16string(40, u'a') + u"\u00E9" + std::u16string(70, u'b'), u"c\u20AC"}},
        TDecodeCase{"Utf8AsciiOnly",
                    std::string(65, 'x') + "\n" + std::string(30, 'y'),
                    {std::u16string(65, u'x'), std::u16string(30, u'y')}},
        // UTF-8 validity is judged on the whole file, also after the NUL.
        TDecodeCase{"InvalidAfterNul", std::string("caf\xC3\xA9\0\xFF", 7), {u"caf\u00C3\u00A9"}},
        TDecodeCase{"Utf8Mark",
                    "\xEF\xBB\xBF"
                    "caf\xC3\xA9",
                    {u"caf\u00E9"}},
        TDecodeCase{"Utf8MarkInvalidBytes",
                    "\xEF\xBB\xBF"
                    "a\xFF"
                    "b",
                    {u"a\uFFFDb"}},
        // Not valid UTF-8, so every byte is a windows-1252 character; the
        // unassigned 0x81 becomes the C1 control of the same value.
        TDecodeCase{"Windows1252", "caf\xE9 \x80\x81", {u"caf\u00E9 \u20AC\u0081"}},
        TDecodeCase{"Utf16LittleEndian",
                    std::string("\xFF\xFE"
                                "a\0\xE9\0\r\0\n\0b\0",
                                12),
                    {u"a\u00E9", u"b"}},
        TDecodeCase{"Utf16BigEndian", std::string("\xFE\xFF\0a\x20\xAC", 6), {u"a\u20AC"}},
        TDecodeCase{"Utf16OddTrailingByte",
                    std::string("\xFF\xFE"
                                "a\0b",
                                5),
                    {u"a"}},
        // Without a mark UTF-16 is 8-bit text that ends at its first zero byte.
        TDecodeCase{"Utf16WithoutMark", std::string("a\0b\0", 4), {u"a"}},
        TDecodeCase{"CutAtNul", std::string("one\ntwo\0three\nfour", 18), {u"one", u"two"}},
        // Validity is judged before the cut: the invalid byte after the NUL
        // sends the whole file to windows-1252.
        TDecodeCase{"ValidityBeforeCut", std::string("\xC3\xA9\0\xFF", 4), {u"\u00C3\u00A9"}},
        TDecodeCase{"BinaryIsDecodedNotRefused", std::string("\x89PNG\r\n\x1A\n\0\0", 10), {u"\u2030PNG", u"\u001A"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(LegacyCodePage, FollowsTheLanguage) {
    const std::pair<const char*, const char*> pages[] = {
        {"en_US", "windows-1252"}, {"", "windows-1252"},         {"C", "windows-1252"},
        {"ru_RU.UTF-8", "windows-1251"}, {"pl_PL", "windows-1250"}, {"el_GR", "windows-1253"},
        {"th_TH.UTF-8", "windows-874"}, {"vi_VN", "windows-1258"},  {"ja_JP.UTF-8", "windows-932"},
        {"ko_KR", "windows-949"},        {"zh_CN.UTF-8", "windows-936"}, {"zh_SG", "windows-936"},
        {"zh_TW.UTF-8", "windows-950"},  {"zh_HK", "windows-950"},   {"zh_Hant_MO", "windows-950"},
    };
    for (const auto& [locale, page] : pages) EXPECT_EQ(LegacyCodePageFor(locale), page) << locale;
}

// A file in the legacy code page of a language, read as a user of that
// language reads it. Each fixture has two lines; the double-byte ones hold
// characters whose second byte is an ASCII letter or the backslash, which
// a byte-by-byte reading would tear apart.
struct TCodePageFixture {
    const char* Name;
    const char* Locale;
    std::string Bytes;
    TLines Expected;
};

void PrintTo(const TCodePageFixture& c, std::ostream* out) { *out << c.Name; }

class LegacyCodePageFile : public ::testing::TestWithParam<TCodePageFixture> {};

TEST_P(LegacyCodePageFile, IsReadInTheCodePageOfTheLanguage) {
    TTempFolder folder;
    const auto path = folder.Write("legacy.txt", GetParam().Bytes);
    EXPECT_EQ(ReadTextFile(path, LegacyCodePageFor(GetParam().Locale)), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, LegacyCodePageFile,
    ::testing::Values(
        TCodePageFixture{"Cyrillic1251", "ru_RU", "\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xEC\xE8\xF0", {u"Привет", u"мир"}},
        TCodePageFixture{"Thai874", "th_TH", "\xCA\xC7\xD1\xCA\xB4\xD5\r\n\xE4\xB7\xC2", {u"สวัสดี", u"ไทย"}},
        // Vietnamese writes some tones as combining marks after the letter.
        TCodePageFixture{"Vietnamese1258", "vi_VN", "Vi\xEA\xF2t\r\n\xF0\xE3", {u"Vi\u00EA\u0323t", u"\u0111\u0103"}},
        // 表 is 95 5C; the half-width ｱ is the single byte B1.
        TCodePageFixture{"Japanese932", "ja_JP", "\x93\xFA\x96\x7B\x95\x5C\r\n\xB1" "a", {u"日本表", u"\uFF71a"}},
        // 丂 is 81 40, a GBK extension beyond GB 2312.
        TCodePageFixture{"SimplifiedChinese936", "zh_CN", "\xD6\xD0\xCE\xC4\r\n\x81\x40", {u"中文", u"丂"}},
        // 갂 is 81 41, a Unified Hangul Code extension beyond KS X 1001.
        TCodePageFixture{"Korean949", "ko_KR", "\xC7\xD1\xB1\xB9\r\n\x81\x41", {u"한국", u"갂"}},
        // 功 is A5 5C.
        TCodePageFixture{"TraditionalChinese950", "zh_TW", "\xA4\xA4\xA4\xE5\r\n\xA5\x5C", {u"中文", u"功"}},
        // A lead byte without its trail byte becomes U+FFFD and keeps the
        // line break after it; the text still ends at its first NUL.
        TCodePageFixture{"BrokenDoubleByte", "ja_JP", std::string("\x93\n\x93\xFA\0\x96\x7B", 7),
                         {u"\uFFFD", u"日"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(JoinLines, EndsEveryLineWithCrLf) {
    EXPECT_EQ(JoinLines({u"a", u"", u"b"}), u"a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinLines({}), u"");
}

TEST(ReadTextFile, ReadsAFileByTheRule) {
    TTempFolder folder;
    const auto path = folder.Write("text.txt", "\xFF\xFE" + std::string("h\0i\0", 4));
    EXPECT_EQ(ReadTextFile(path, "windows-1252"), TLines{u"hi"});
}

// A file holds what it held when it was opened: bytes beyond that size
// (a file that keeps growing, or one of the system's files that claim no
// size) are not read.
TEST(ReadTextFile, ReadsUpToTheSizeAtOpenTime) {
    // Reads of /proc/self/status give about a kilobyte; its size says 0.
    ASSERT_EQ(std::filesystem::file_size("/proc/self/status"), 0u);
    EXPECT_EQ(ReadTextFile("/proc/self/status", "windows-1252"), TLines{});
    TTempFolder folder;
    // A block and a bit, so the size is met across reads.
    const std::string text(1 << 20, 'a');
    EXPECT_EQ(ReadTextFile(folder.Write("big.txt", text + "\nb"), "windows-1252"), (TLines{FromUtf8(text), u"b"}));
}

// Whatever keeps a file from being read, the message names it and the
// system's reason.
TEST(ReadTextFile, FileThatCannotBeReadGivesTheMessageWithTheReason) {
    TTempFolder folder;
    const auto unreadable = folder.Path() / "unreadable.txt";
    // Reads of /proc/self/mem fail with an I/O error, even for root.
    std::filesystem::create_symlink("/proc/self/mem", unreadable);
    const std::pair<std::filesystem::path, std::string> cases[] = {
        {folder.Path() / "gone.txt", "No such file or directory"},
        {folder.MakeFolder("a folder"), "Is a directory"},
        {unreadable, "Input/output error"},
    };
    for (const auto& [path, reason] : cases) {
        try {
            ReadTextFile(path, "windows-1252");
            ADD_FAILURE() << "no error for " << path;
        } catch (const TFileReadError& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot open file \"" + path.string() + "\". " + reason);
        }
    }
}

TEST(ReadTextFile, ReadsAFiftyMegabyteFile) {
    TTempFolder folder;
    std::string bytes;
    const std::string line = "the quick brown fox jumps over the lazy dog\r\n";
    while (bytes.size() < 50'000'000) bytes += line;
    bytes += "last";
    const auto path = folder.Write("big.txt", bytes);
    const TLines lines = ReadTextFile(path, "windows-1252");
    ASSERT_EQ(lines.size(), bytes.size() / line.size() + 1);
    EXPECT_EQ(lines.front(), u"the quick brown fox jumps over the lazy dog");
    EXPECT_EQ(lines.back(), u"last");
}

// The file is read in pieces of 1 MiB; what the pieces make must be what the
// whole file decoded at once makes. `head` fills the file up to just before
// the first piece ends, so `tail` straddles the boundary.
constexpr size_t kPieceBytes = 1 << 20;

struct TPieceCase {
    const char* Name;
    std::string Head;
    std::string Tail;
    std::u16string LastLine;
};

void PrintTo(const TPieceCase& c, std::ostream* out) { *out << c.Name; }

class ReadInPieces : public ::testing::TestWithParam<TPieceCase> {};

TEST_P(ReadInPieces, GivesWhatTheWholeFileGives) {
    constexpr size_t kPiece = 1 << 20;
    std::string bytes = GetParam().Head;
    bytes += std::string(kPiece - 2 - bytes.size(), 'x') + "\n";
    bytes += GetParam().Tail;
    TTempFolder folder;
    const auto path = folder.Write("text.txt", bytes);
    const TLines lines = ReadTextFile(path, "windows-1252");
    EXPECT_EQ(lines, quillprint::DecodeText(bytes, "windows-1252"));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), GetParam().LastLine);
}

TEST_P(ReadInPieces, GivesTheSameLinesReadLineByLine) {
    constexpr size_t kPiece = 1 << 20;
    std::string bytes = GetParam().Head;
    bytes += std::string(kPiece - 2 - bytes.size(), 'x') + "\n";
    bytes += GetParam().Tail;
    TTempFolder folder;
    EXPECT_EQ(ReadLineByLine(folder.Write("text.txt", bytes)), quillprint::DecodeText(bytes, "windows-1252"));
}

INSTANTIATE_TEST_SUITE_P(Boundary, ReadInPieces,
                         ::testing::Values(
                             // A character of three bytes split between the pieces.
                             TPieceCase{"Utf8SplitSequence", "", "\xE2\x82\xAC end", u"\u20AC end"},
                             TPieceCase{"Utf8MarkSplitSequence", "\xEF\xBB\xBF", "\xE2\x82\xAC end", u"\u20AC end"},
                             // An invalid byte after the first NUL still makes the file 8-bit.
                             TPieceCase{"InvalidAfterNul", "caf\xC3\xA9\n", "a\0\xFF", u"a"},
                             TPieceCase{"ValidAfterNul", "caf\xC3\xA9\n", "a\0\xC3\xA9", u"a"},
                             // A sequence cut short by the end of the file is invalid.
                             TPieceCase{"TruncatedAtTheEnd", "\xC3\xA9\n", "a\xE2\x82", u"a\u00E2\u201A"},
                             // CR LF split between two pieces is one line break.
                             TPieceCase{"CrLfSplit", std::string(kPieceBytes - 3, 'y') + "\r", "end", u"end"}),
                         [](const auto& info) { return std::string(info.param.Name); });

// A text cut short, grown or rewritten while it was read was once taken as
// whatever part had been read; one deleted meanwhile is still read whole.
TEST(ReadTextFile, AFileThatChangesWhileItIsReadIsRefused) {
    namespace fs = std::filesystem;
    std::string bytes;
    while (bytes.size() < (3u << 20)) bytes += "the cat sat on the mat\n";
    const struct {
        const char* Name;
        std::function<void(const fs::path&)> Change;
        bool Refused;
    } cases[] = {
        {"truncated", [](const fs::path& path) { fs::resize_file(path, 10); }, true},
        {"grown", [](const fs::path& path) { std::ofstream(path, std::ios::app) << "more words\n"; }, true},
        {"rewritten", [](const fs::path& path) { fs::last_write_time(path, fs::last_write_time(path) + 1s); }, true},
        {"deleted", [](const fs::path& path) { fs::remove(path); }, false},
    };
    for (const auto& [name, change, refused] : cases) {
        TTempFolder folder;
        const fs::path path = folder.Write("text.txt", bytes);
        bool changed = false;
        // Named explicitly: clang before 16 cannot capture a structured binding.
        const auto once = [&changed, &path, &change = change] {
            if (!std::exchange(changed, true)) change(path);
        };
        try {
            const TLines lines = ReadTextFile(path, "windows-1252", once);
            EXPECT_FALSE(refused) << name;
            EXPECT_EQ(lines, quillprint::DecodeText(bytes, "windows-1252")) << name;
        } catch (const TFileReadError& error) {
            EXPECT_TRUE(refused) << name;
            EXPECT_EQ(std::string(error.what()),
                      "Cannot open file \"" + path.string() + "\". It changed while it was being read")
                << name;
        }
        EXPECT_TRUE(changed) << name;
    }
}

TEST(ReadTextFile, APipeIsRefusedWithoutWaitingForAWriter) {
    // A pipe put where a text was listed: opening it for reading would wait
    // for a writer forever. The read runs in a child that an alarm ends.
    TTempFolder folder;
    const auto path = folder.Path() / "pipe.txt";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        alarm(5);
        try {
            ReadTextFile(path, "windows-1252");
        } catch (const TFileReadError& error) {
            _exit(std::string(error.what()) == "Cannot open file \"" + path.string() + "\". Not a regular file" ? 0 : 2);
        }
        _exit(3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the read blocked";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace quillprint
