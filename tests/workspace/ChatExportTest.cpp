#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Text.h"
#include "workspace/ChatExport.h"

namespace quillprint {
namespace {

struct TEntryCase {
    const char* Line;
    const char* Entry;  // "" when the line starts no message
};

class MessageEntryTest : public ::testing::TestWithParam<TEntryCase> {};

TEST_P(MessageEntryTest, FindsTheEntryAfterDateAndTime) {
    EXPECT_EQ(ToUtf8(MessageEntry(FromUtf8(GetParam().Line))), GetParam().Entry);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MessageEntryTest,
    ::testing::Values(
        TEntryCase{"12/03/2025,14:05,Ann,+100,Hello", "Ann,+100,"},
        TEntryCase{"12/03/2025,14:05,Ann,+100,", "Ann,+100,"},
        // The first ",+digits," ends the name; a later one is message text.
        TEntryCase{"12/03/2025,14:05,Ann,+100,call Bob,+200,now", "Ann,+100,"},
        TEntryCase{"2025-03-12,14:05:33,Smith, John,+4477009,Hi, all", "Smith, John,+4477009,"},
        TEntryCase{"12.03.25, 2:05 PM, Ann,+100,Hi", " Ann,+100,"},
        TEntryCase{"12/03/2025,14:05,\"O'Neil, \"\"Red\"\"\",+1,quoted", "\"O'Neil, \"\"Red\"\"\",+1,"},
        TEntryCase{"12/03/2025,14:05,,+100,no name", ",+100,"},
        TEntryCase{"12/03/2025,14:05,Ann,+1a00,x,+5,y", "Ann,+1a00,x,+5,"},
        // Not a message line: a header, a continuation, a broken phone.
        TEntryCase{"Date,Time,Sender Name,Sender Phone,Message", ""},
        TEntryCase{"and then, at 14:05, Ann,+100, said hi", ""},
        TEntryCase{"12/03/2025,14:05,Ann,+100", ""},
        TEntryCase{"12/03/2025,14:05,Ann,+,hi", ""},
        TEntryCase{"12/03/2025,Ann,+100,hi", ""},
        TEntryCase{",14:05,Ann,+100,hi", ""},
        TEntryCase{"", ""}));

std::vector<std::string> Utf8(const TLines& lines) {
    std::vector<std::string> texts;
    for (const auto& line : lines) texts.push_back(ToUtf8(line));
    return texts;
}

TLines Utf16(const std::vector<std::string>& lines) {
    TLines texts;
    for (const auto& line : lines) texts.push_back(FromUtf8(line));
    return texts;
}

// Entry, name and lines of every participant offered, one string each.
std::vector<std::string> Offered(const TChatExport& chat) {
    std::vector<std::string> rows;
    for (const auto& p : chat.Participants)
        rows.push_back(ToUtf8(p.Entry) + " | " + ToUtf8(p.Name) + " | " + std::to_string(p.Lines));
    return rows;
}

TEST(ChatExport, ListsEachEntryOnceWithItsMessagesAndJoinsContinuationLines) {
    const TChatExport chat = ReadChatExport(Utf16({
        "Date,Time,Sender Name,Sender Phone,Message",
        "01/02/2026,09:00,Ann,+100,Morning all",
        "01/02/2026,09:01,Bob,+200,Hi Ann",
        "the second line of Bob's message",
        "01/02/2026,09:02,Ann,+100,Coffee?",
    }));
    EXPECT_EQ(Offered(chat), (std::vector<std::string>{"Ann,+100, | Ann | 2", "Bob,+200, | Bob | 1"}));
    EXPECT_EQ(Utf8(chat.Messages), (std::vector<std::string>{
                                       "Date,Time,Sender Name,Sender Phone,Message",
                                       "01/02/2026,09:00,Ann,+100,Morning all",
                                       "01/02/2026,09:01,Bob,+200,Hi Ann the second line of Bob's message",
                                       "01/02/2026,09:02,Ann,+100,Coffee?",
                                   }));
    const std::vector<TLines> texts = ExtractChatTexts(chat.Messages, {u"Bob,+200,"});
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(Utf8(texts[0]), std::vector<std::string>{"Hi Ann the second line of Bob's message"});
}

TEST(ChatExport, TheChosenParticipantsKeepTheirNamesLinesAndRoleInTheExtraction) {
    const TChatExport chat = ReadChatExport(Utf16({
        "01/02/2026,09:00,Ann,+100,Morning all",
        "01/02/2026,09:01,Bob,+200,Hi Ann",
        "01/02/2026,09:02,Ann,+100,Coffee?",
        "01/02/2026,09:03,Cy,+300,Late again",
    }));
    // Bob left out, Cy renamed and chosen as the text to attribute.
    const TExtractionResult extraction = ExtractChosenParticipants(
        chat.Messages, u"chat.txt", {{u"Cy,+300,", u"Cyrus", true}, {u"Ann,+100,", u"Ann", false}});
    EXPECT_EQ(extraction.ExportName, u"chat.txt");
    ASSERT_EQ(extraction.Participants.size(), 2u);
    const TExtractedParticipant& cy = extraction.Participants[0];
    EXPECT_EQ(ToUtf8(cy.Entry) + " | " + ToUtf8(cy.Name) + " | " + std::to_string(cy.Lines), "Cy,+300, | Cyrus | 1");
    EXPECT_TRUE(cy.IsUnknownText);
    EXPECT_EQ(Utf8(cy.Text), std::vector<std::string>{"Late again"});
    const TExtractedParticipant& ann = extraction.Participants[1];
    EXPECT_EQ(ann.Lines, 2);
    EXPECT_FALSE(ann.IsUnknownText);
    EXPECT_EQ(Utf8(ann.Text), (std::vector<std::string>{"Morning all", "Coffee?"}));
}

TEST(ChatExport, NamesAreDistinctAndNeverUnknown) {
    const TChatExport chat = ReadChatExport(Utf16({
        "1/2/26,9:00,Ann,+100,a",
        "1/2/26,9:00,ann,+300,b",
        "1/2/26,9:00,\"Smith, \"\"Jo\"\"\",+200,c",
        "1/2/26,9:00,Unknown,+400,d",
        "1/2/26,9:00, ,+500,e",
        "1/2/26,9:00,Ann (2),+600,f",
    }));
    EXPECT_EQ(Offered(chat), (std::vector<std::string>{
                                 "Ann,+100, | Ann +100 | 1",
                                 "ann,+300, | ann +300 | 1",
                                 "\"Smith, \"\"Jo\"\"\",+200, | Smith, \"Jo\" | 1",
                                 "Unknown,+400, | Unknown (2) | 1",
                                 " ,+500, | +500 | 1",
                                 "Ann (2),+600, | Ann (2) | 1",
                             }));
}

TEST(ChatExport, AnEntryHoldingAnotherGoesFirstSoTheSplitterKeepsThemApart) {
    // "Ann,+100," stands inside "Lee Ann,+100,": listed first, Ann would take her lines.
    const TChatExport chat = ReadChatExport(Utf16({
        "1/2/26,8:59,,+100,nameless",
        "1/2/26,9:00,Ann,+100,from Ann",
        "1/2/26,9:01,Bob,+200,from Bob",
        "1/2/26,9:02,Lee Ann,+100,from Lee Ann",
        "1/2/26,9:03,Mary Lee Ann,+100,from Mary",
        "1/2/26,9:04,Ann,+100,Ann again",
    }));
    EXPECT_EQ(Offered(chat), (std::vector<std::string>{
                                 "Mary Lee Ann,+100, | Mary Lee Ann | 1",
                                 "Lee Ann,+100, | Lee Ann | 1",
                                 "Ann,+100, | Ann | 2",
                                 ",+100, | +100 | 1",
                                 "Bob,+200, | Bob | 1",
                             }));
}

TEST(ChatExport, AParticipantTheSplitterGivesNoLineIsNotOffered) {
    // Bob's only message quotes Ann's entry; Ann is listed first and takes it.
    const TChatExport chat = ReadChatExport(Utf16({
        "1/2/26,9:00,Ann,+100,hello",
        "1/2/26,9:01,Bob,+200,forwarded: Ann,+100,hello",
    }));
    EXPECT_EQ(Offered(chat), std::vector<std::string>{"Ann,+100, | Ann | 2"});
}

TEST(ChatExport, NoMessageLineOffersNobody) {
    EXPECT_TRUE(ReadChatExport({}).Participants.empty());
    EXPECT_TRUE(ReadChatExport(Utf16({"just some text", "Ann,+100,no date and time", ""})).Participants.empty());
}

TEST(ChatExport, VeryLongLinesAreReadWhole) {
    const std::string longMessage(4'000'000, 'x');
    const std::string noise(4'000'000, ',');
    const TChatExport chat = ReadChatExport(Utf16({"1/2/26,9:00,Ann,+100," + longMessage, noise, "1/2/26,9:00," + noise}));
    EXPECT_EQ(Offered(chat), std::vector<std::string>{"Ann,+100, | Ann | 1"});
    const std::vector<TLines> texts = ExtractChatTexts(chat.Messages, {u"Ann,+100,"});
    ASSERT_EQ(texts[0].size(), 1u);
    // The two lines that start no message continue Ann's.
    EXPECT_EQ(texts[0][0].size(), longMessage.size() + 2 + noise.size() + 12 + noise.size());
}

struct TFileNameCase {
    const char* Name;
    const char* Safe;
};

TEST(ChatExport, SafeFileNames) {
    for (const TFileNameCase& c :
         {TFileNameCase{"Ann", "Ann"}, TFileNameCase{"a/b\\c:d", "a_b_c_d"}, TFileNameCase{".hidden", "_hidden"},
          TFileNameCase{"..", "__"}, TFileNameCase{"end. ", "end._"}, TFileNameCase{"", "_"},
          TFileNameCase{"q\"<>|?*\t", "q_______"}, TFileNameCase{"Émile", "Émile"},
          // Terminal controls: C0, DEL and C1 (NEL, CSI).
          TFileNameCase{"a\x1b[31mb\a\x7f", "a_[31mb__"}, TFileNameCase{"x\u0085y\u009b2J", "x_y_2J"}})
        EXPECT_EQ(ToUtf8(SafeFileName(FromUtf8(c.Name))), c.Safe) << c.Name;
}

}  // namespace
}  // namespace quillprint
