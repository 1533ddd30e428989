#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "EngineTestHelpers.h"
#include "engine/ChatExtractor.h"

namespace quillprint::testing {
namespace {

// Runs the extractor over `lines` with participants Ann and Bob (in that
// order, entries as given) and returns each participant's lines.
std::vector<TWordList> Extract(const std::vector<std::u16string>& entries, const std::vector<std::u16string>& lines) {
    TAuthorExtractorViber extractor;
    for (const std::u16string& entry : entries) extractor.Authors().push_back(std::make_unique<TAuthor>(entry, u""));
    extractor.Execute(lines);
    std::vector<TWordList> texts;
    for (const auto& author : extractor.Authors()) texts.push_back(author->Text());
    return texts;
}

const std::vector<std::u16string> kAnnAndBob = {u"Ann,+100,", u"Bob,+200,"};

struct TChatCase {
    const char* Name;
    std::vector<std::u16string> Entries;
    std::vector<std::u16string> Lines;
    std::vector<TWordList> Texts;
};

class ChatExtractorTest : public ::testing::TestWithParam<TChatCase> {};

TEST_P(ChatExtractorTest, GivesEachLineToTheFirstMatchingParticipant) {
    EXPECT_EQ(Extract(GetParam().Entries, GetParam().Lines), GetParam().Texts);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChatExtractorTest,
    ::testing::Values(
        TChatCase{"Conversation",
                  kAnnAndBob,
                  {u"Ann,+100,Hello", u"Bob,+200,Hi Ann", u"how are you", u"Bob,+200,call Ann,+100,now"},
                  {{u"Hello", u"now"}, {u"Hi Ann"}}},
        TChatCase{"TextBeforeTheEntryIsDropped", kAnnAndBob, {u"12:00 Ann,+100, spaced "}, {{u" spaced "}, {}}},
        TChatCase{"EntryEndingTheLineGivesAnEmptyEntry", kAnnAndBob, {u"Ann,+100,"}, {{u""}, {}}},
        TChatCase{"LetterCaseCounts", kAnnAndBob, {u"ann,+100,Hello"}, {{}, {}}},
        TChatCase{"FirstOccurrenceOnly", kAnnAndBob, {u"Ann,+100,x Ann,+100,y"}, {{u"x Ann,+100,y"}, {}}},
        TChatCase{"EntryWithoutClosingComma", {u"Ann,+100", u"Bob,+200,"}, {u"Ann,+100,Hello"}, {{u",Hello"}, {}}},
        TChatCase{"EmptyEntryAndEmptyLineNeverMatch", {u"", u"Bob,+200,"}, {u"", u"Bob,+200,hi"}, {{}, {u"hi"}}},
        TChatCase{"NoParticipants", {}, {u"Ann,+100,Hello"}, {}},
        TChatCase{"NoLines", kAnnAndBob, {}, {{}, {}}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ChatExtractor, LaterCallsAppend) {
    TAuthorExtractorViber extractor;
    extractor.Authors().push_back(std::make_unique<TAuthor>(u"Ann,+100,", u""));
    extractor.Execute({u"Ann,+100,one"});
    extractor.Execute({u"Ann,+100,two"});
    EXPECT_EQ(extractor.Authors()[0]->Text(), (TWordList{u"one", u"two"}));
}

}  // namespace
}  // namespace quillprint::testing
