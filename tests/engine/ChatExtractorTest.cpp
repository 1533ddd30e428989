#include <gtest/gtest.h>

#include <memory>
#include <random>
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
    for (const auto& author : extractor.Authors()) texts.push_back(author->OwnWords());
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
    EXPECT_EQ(extractor.Authors()[0]->OwnWords(), (TWordList{u"one", u"two"}));
}

// The rule as written, one entry after another, to compare with.
std::vector<TWordList> ExtractLiterally(const std::vector<std::u16string>& entries,
                                        const std::vector<std::u16string>& lines) {
    std::vector<TWordList> texts(entries.size());
    for (const std::u16string& line : lines)
        for (size_t i = 0; i < entries.size(); ++i) {
            const size_t hit = entries[i].empty() ? std::u16string::npos : line.find(entries[i]);
            if (hit == std::u16string::npos) continue;
            texts[i].push_back(line.substr(hit + entries[i].size()));
            break;
        }
    return texts;
}

// Large groups take a faster search; it must give every line to the same
// participant, from the same place. Entries of a three-letter alphabet hold,
// repeat and overlap one another; some are empty.
TEST(ChatExtractor, LargeGroupsGiveEveryLineToTheSameParticipant) {
    std::mt19937 random(16);
    const auto text = [&random](size_t maxLength) {
        std::u16string s(std::uniform_int_distribution<size_t>(0, maxLength)(random), u'a');
        for (char16_t& c : s) c = u"ab,"[random() % 3];
        return s;
    };
    for (int round = 0; round < 200; ++round) {
        std::vector<std::u16string> entries(std::uniform_int_distribution<size_t>(1, 40)(random));
        for (auto& entry : entries) entry = text(5);
        std::vector<std::u16string> lines(30);
        for (auto& line : lines) line = text(30);
        ASSERT_EQ(Extract(entries, lines), ExtractLiterally(entries, lines)) << "round " << round;
    }
}

}  // namespace
}  // namespace quillprint::testing
