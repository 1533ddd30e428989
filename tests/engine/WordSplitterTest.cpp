#include <gtest/gtest.h>

#include <stdexcept>
#include <stop_token>
#include <string>
#include <vector>

#include "EngineTestHelpers.h"
#include "engine/EngineError.h"
#include "engine/WordSplitter.h"

namespace quillprint::testing {
namespace {

struct TSplitCase {
    const char* Name;
    std::u16string Text;
    TWordList Words;
};

class WordSplitterTest : public ::testing::TestWithParam<TSplitCase> {};

TEST_P(WordSplitterTest, SplitsIntoTheExpectedWords) {
    EXPECT_EQ(SplitWords(GetParam().Text), GetParam().Words);
}

// Counted first and split into slots (as Detect fills the combined corpus),
// a text gives the same words; whatever the slots held is replaced.
TEST_P(WordSplitterTest, SplitsIntoSlotsAsIntoAList) {
    ASSERT_EQ(CountSplitWords(GetParam().Text), GetParam().Words.size());
    TWordList slots(GetParam().Words.size(), u"stale text of another word");
    SplitWordsInto(GetParam().Text, slots);
    EXPECT_EQ(slots, GetParam().Words);
}

const std::u16string kNul(1, u'\0');

INSTANTIATE_TEST_SUITE_P(
    Cases, WordSplitterTest,
    ::testing::Values(
        TSplitCase{"Empty", u"", {}},
        TSplitCase{"SeparatorsOnly", u" \t\r\n\x01\x1F ", {}},
        TSplitCase{"ControlSeparators", u"  the cat\tsat\r\non  ", {u"the", u"cat", u"sat", u"on"}},
        TSplitCase{"QuotedItemKeepsBlank", u"he said \"good day\" to me", {u"he", u"said", u"good day", u"to", u"me"}},
        TSplitCase{"DoubledQuoteInsideItem", u"\"a\"\"b\"", {u"a\"b"}},
        TSplitCase{"EmptyQuotedItem", u"x \"\" y", {u"x", u"", u"y"}},
        TSplitCase{"UnclosedQuoteTakesTheRest", u"say \"hello there", {u"say", u"hello there"}},
        TSplitCase{"UnclosedQuoteWithDoubledQuotes", u"\"a\"\"b c", {u"a\"b c"}},
        TSplitCase{"QuoteInsideWordIsOrdinary", u"ab\"cd ef", {u"ab\"cd", u"ef"}},
        TSplitCase{"TextAfterClosingQuoteStartsNextWord", u"\"ab\"cd", {u"ab", u"cd"}},
        TSplitCase{"LoneQuote", u"\"", {u""}},
        TSplitCase{"NoBreakSpaceJoins", u"a\u00A0b", {u"a\u00A0b"}},
        TSplitCase{"NulEndsTheText", u"a b" + kNul + u"c d", {u"a", u"b"}},
        TSplitCase{"NulInsideQuotedItem", u"\"a b" + kNul + u"c\" d", {u"a b"}},
        TSplitCase{"LoneSurrogateIsOrdinary", u"a\xD800 b", {u"a\xD800", u"b"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(AppendWords, AppendsAfterExistingWords) {
    TWordList words{u"first"};
    AppendWords(u" second \"third item\"", words);
    EXPECT_EQ(words, (TWordList{u"first", u"second", u"third item"}));
}

TEST(SplitWordsInto, RefusesSlotsOfAnotherCountAndStopsWhenAsked) {
    TWordList few(1);
    TWordList many(3);
    EXPECT_THROW(SplitWordsInto(u"a b", few), std::logic_error);
    EXPECT_THROW(SplitWordsInto(u"a b", many), std::logic_error);
    std::stop_source stop;
    stop.request_stop();
    TWordList two(2);
    EXPECT_THROW(SplitWordsInto(u"a b", two, stop.get_token()), TCalculationCancelled);
}

}  // namespace
}  // namespace quillprint::testing
