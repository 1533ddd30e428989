#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TempProject.h"
#include "engine/Text.h"
#include "workspace/TextReader.h"

namespace quillprint {
namespace {

using testing::TTempFolder;

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

INSTANTIATE_TEST_SUITE_P(
    ReadingRule, DecodeText,
    ::testing::Values(
        TDecodeCase{"Empty", "", {}},
        TDecodeCase{"LineBreaks", "a\r\nb\rc\nd", {u"a", u"b", u"c", u"d"}},
        // A final break makes no empty last line; a blank line before it stays.
        TDecodeCase{"FinalBreak", "a\r\n", {u"a"}},
        TDecodeCase{"BlankLastLine", "a\r\n\r\n", {u"a", u""}},
        TDecodeCase{"LoneBreakPairReversed", "a\n\rb", {u"a", u"", u"b"}},
        TDecodeCase{"Utf8WithoutMark", "caf\xC3\xA9 \xE2\x82\xAC", {u"caf\u00E9 \u20AC"}},
        TDecodeCase{"Utf8Mark", "\xEF\xBB\xBF" "caf\xC3\xA9", {u"caf\u00E9"}},
        TDecodeCase{"Utf8MarkInvalidBytes", "\xEF\xBB\xBF" "a\xFF" "b", {u"a\uFFFDb"}},
        // Not valid UTF-8, so every byte is a windows-1252 character; the
        // unassigned 0x81 becomes the C1 control of the same value.
        TDecodeCase{"Windows1252", "caf\xE9 \x80\x81", {u"caf\u00E9 \u20AC\u0081"}},
        TDecodeCase{"Utf16LittleEndian", std::string("\xFF\xFE" "a\0\xE9\0\r\0\n\0b\0", 12), {u"a\u00E9", u"b"}},
        TDecodeCase{"Utf16BigEndian", std::string("\xFE\xFF\0a\x20\xAC", 6), {u"a\u20AC"}},
        TDecodeCase{"Utf16OddTrailingByte", std::string("\xFF\xFE" "a\0b", 5), {u"a"}},
        // Without a mark UTF-16 is 8-bit text that ends at its first zero byte.
        TDecodeCase{"Utf16WithoutMark", std::string("a\0b\0", 4), {u"a"}},
        TDecodeCase{"CutAtNul", std::string("one\ntwo\0three\nfour", 18), {u"one", u"two"}},
        // Validity is judged before the cut: the invalid byte after the NUL
        // sends the whole file to windows-1252.
        TDecodeCase{"ValidityBeforeCut", std::string("\xC3\xA9\0\xFF", 4), {u"\u00C3\u00A9"}},
        TDecodeCase{"BinaryIsDecodedNotRefused", std::string("\x89PNG\r\n\x1A\n\0\0", 10),
                    {u"\u2030PNG", u"\u001A"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(LegacyCodePage, FollowsTheLanguage) {
    EXPECT_EQ(LegacyCodePageFor("en_US"), "windows-1252");
    EXPECT_EQ(LegacyCodePageFor(""), "windows-1252");
    EXPECT_EQ(LegacyCodePageFor("C"), "windows-1252");
    EXPECT_EQ(LegacyCodePageFor("ru_RU.UTF-8"), "windows-1251");
    EXPECT_EQ(LegacyCodePageFor("pl_PL"), "windows-1250");
    EXPECT_EQ(LegacyCodePageFor("el_GR"), "windows-1253");
}

TEST(LegacyCodePage, DecodesCyrillicBytes) {
    EXPECT_EQ(quillprint::DecodeText("\xCF\xF0\xE8\xE2\xE5\xF2", "windows-1251"), TLines{u"Привет"});
}

TEST(JoinLines, EndsEveryLineWithCrLf) {
    EXPECT_EQ(JoinLines({u"a", u"", u"b"}), u"a\r\n\r\nb\r\n");
    EXPECT_EQ(JoinLines({}), u"");
}

TEST(ReadTextFile, ReadsAFileByTheRule) {
    TTempFolder folder;
    const auto path = folder.Write("text.txt", "\xFF\xFE" + std::string("h\0i\0", 4));
    EXPECT_EQ(ReadTextFile(path, "windows-1252"), TLines{u"hi"});
}

TEST(ReadTextFile, MissingFileGivesTheMessageWithTheReason) {
    TTempFolder folder;
    const auto path = folder.Path() / "gone.txt";
    try {
        ReadTextFile(path, "windows-1252");
        FAIL() << "no error";
    } catch (const TFileReadError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + path.string() + "\". No such file or directory");
    }
}

TEST(ReadTextFile, FileThatCannotBeReadGivesTheMessage) {
    TTempFolder folder;
    const auto path = folder.MakeFolder("a folder");
    try {
        ReadTextFile(path, "windows-1252");
        FAIL() << "no error";
    } catch (const TFileReadError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot open file \"" + path.string() + "\". Is a directory");
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

}  // namespace
}  // namespace quillprint
