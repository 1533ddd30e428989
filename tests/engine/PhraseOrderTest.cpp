// Phrase order by the partition sort, and the containment filter on lists
// built by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "EngineTestHelpers.h"
#include "engine/PhraseOrder.h"
#include "engine/Quillprint.h"
#include "engine/WordSplitter.h"

namespace quillprint::testing {
namespace {

// Phrase records over words kept here, with the fields the filter reads.
class TPhraseSet {
public:
    TPhrase* Add(std::u16string_view text, int32_t countAuthors, int32_t countWords = -1, int32_t instances = 2) {
        const TWordList words = SplitWords(text);
        FCorpora.push_back(words);
        TPhrase& phrase = FPhrases.emplace_back(&FCorpora.back(), 0, static_cast<int32_t>(words.size()));
        if (countWords >= 0) phrase.SetCountWords(countWords);
        phrase.SetCountInstances(instances);
        phrase.SetCountAuthors(countAuthors);
        const std::u16string value = phrase.Value();
        phrase.SetValueLength(static_cast<int32_t>(value.size()));
        for (const std::u16string& word : words)
            if (word.find(u' ') != std::u16string::npos) phrase.SetHasBlankInWord(true);
        FList.push_back(&phrase);
        return &phrase;
    }
    // Phrases used by one author only: the filter passes them by.
    void AddFillers(int count) {
        for (int i = 0; i < count; ++i) Add(u"filler", 1);
    }
    std::vector<TPhrase*>& List() { return FList; }

private:
    std::deque<TWordList> FCorpora;
    std::deque<TPhrase> FPhrases;
    std::vector<TPhrase*> FList;
};

TEST(PartitionSort, TiesComeOutInItsOwnOrder) {
    TPhraseSet set;
    for (const char16_t* name : {u"a", u"b", u"c", u"d", u"e"}) set.Add(name, 2);
    std::vector<TPhrase*> phrases = set.List();
    PartitionSortPhrases(phrases);
    EXPECT_EQ(ValuesOf(phrases), (std::vector<std::u16string>{u"d", u"e", u"c", u"a", u"b"}));
    PartitionSortPhrases(phrases);
    EXPECT_EQ(ValuesOf(phrases), (std::vector<std::u16string>{u"a", u"b", u"c", u"d", u"e"}));
}

TEST(PartitionSort, MoreWordsThenMoreInstancesFirst) {
    TPhraseSet set;
    set.Add(u"one", 2, 1, 5);
    set.Add(u"three words here", 2, 3, 2);
    set.Add(u"two words", 2, 2, 2);
    set.Add(u"two more", 2, 2, 9);
    set.Add(u"single", 2, 1, 2);
    std::vector<TPhrase*> phrases = set.List();
    PartitionSortPhrases(phrases);
    EXPECT_EQ(ValuesOf(phrases),
              (std::vector<std::u16string>{u"three words here", u"two more", u"two words", u"one", u"single"}));
}

// Sorting the parts of the first partitions side by side leaves every
// phrase, ties too, where the single pass puts it.
TEST(PartitionSort, SideBySideAsInOnePass) {
    TPhraseSet set;
    uint32_t state = 3;
    for (int p = 0; p < 100'000; ++p) {
        state = state * 1103515245u + 12345u;
        std::u16string text(1, static_cast<char16_t>(u'a' + p % 26));
        for (uint32_t w = (state >> 16) % 5; w > 0; --w) text += u" w";
        set.Add(text, 2, -1, static_cast<int32_t>(1 + (state >> 8) % 7));
    }
    std::vector<TPhrase*> onePass = set.List();
    PartitionSortPhrases(onePass);
    std::vector<TPhrase*> sideBySide = set.List();
    PartitionSortPhrases(sideBySide, nullptr, ThreadedParts(3));
    EXPECT_EQ(sideBySide, onePass);
}

TEST(PartitionSort, ShortListsStayAsTheyAre) {
    std::vector<TPhrase*> none;
    PartitionSortPhrases(none);
    EXPECT_TRUE(none.empty());
    TPhraseSet set;
    set.Add(u"x", 2);
    PartitionSortPhrases(set.List());
    EXPECT_EQ(ValuesOf(set.List()), (std::vector<std::u16string>{u"x"}));
}

struct TContainmentCase {
    const char* Name;
    std::u16string Outer;
    int32_t OuterAuthors;
    std::u16string Inner;
    int32_t InnerAuthors;
    bool InnerDiscarded;
};

class ContainmentTest : public ::testing::TestWithParam<TContainmentCase> {};

TEST_P(ContainmentTest, DiscardsOnlyTwoAuthorPhrasesFoundInside) {
    TPhraseSet set;
    TPhrase* outer = set.Add(GetParam().Outer, GetParam().OuterAuthors);
    TPhrase* inner = set.Add(GetParam().Inner, GetParam().InnerAuthors);
    ApplyContainmentFilter(set.List());
    EXPECT_TRUE(outer->Valid());
    EXPECT_EQ(inner->Valid(), !GetParam().InnerDiscarded);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ContainmentTest,
    ::testing::Values(
        // "at" lies inside "cat sat" although not at a word start.
        TContainmentCase{"InsideAWord", u"cat sat", 2, u"at", 2, true},
        TContainmentCase{"WholeWords", u"think that we can", 2, u"that we", 2, true},
        TContainmentCase{"NotInside", u"cat sat", 2, u"dog", 2, false},
        TContainmentCase{"CaseMatters", u"Été vu", 2, u"été", 2, false},
        TContainmentCase{"OuterUsedByThree", u"cat sat", 3, u"at", 2, false},
        TContainmentCase{"InnerUsedByOne", u"cat sat", 2, u"at", 1, false},
        TContainmentCase{"InnerUsedByThree", u"cat sat", 2, u"at", 3, false},
        // A quoted item's blank matches a word boundary of the other text.
        TContainmentCase{"BlankInsideQuotedItem", u"x \"a b\"", 2, u"a b", 2, true},
        TContainmentCase{"EmptyTextNeverOccurs", u"cat sat", 2, u"\"\"", 2, false},
        TContainmentCase{"LongerTextNotInside", u"at", 2, u"cat sat", 2, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Containment, WindowIsTheNextThousandPhrases) {
    TPhraseSet set;
    set.Add(u"cat sat", 2);
    set.AddFillers(999);
    TPhrase* thousandth = set.Add(u"at", 2);
    TPhrase* thousandFirst = set.Add(u"sat", 2);
    ApplyContainmentFilter(set.List());
    EXPECT_FALSE(thousandth->Valid());
    EXPECT_TRUE(thousandFirst->Valid());
}

TEST(Containment, DiscardedPhraseDiscardsNothing) {
    // "red fox" falls to "big red fox"; "fox", beyond the first phrase's
    // window, would fall to "red fox" only if that were still valid.
    TPhraseSet set;
    set.Add(u"big red fox", 2);
    TPhrase* middle = set.Add(u"red fox", 2);
    set.AddFillers(999);
    TPhrase* last = set.Add(u"fox", 2);
    ApplyContainmentFilter(set.List());
    EXPECT_FALSE(middle->Valid());
    EXPECT_TRUE(last->Valid());
}

TEST(Containment, ValidPhraseDiscardsBeyondTheFirstWindow) {
    TPhraseSet set;
    set.Add(u"big red fox", 2);
    TPhrase* middle = set.Add(u"red fox", 3);
    set.AddFillers(999);
    TPhrase* inner = set.Add(u"fox", 2);
    TPhrase* outer = set.Add(u"fox den", 2);
    set.Add(u"den", 2);
    ApplyContainmentFilter(set.List());
    EXPECT_TRUE(middle->Valid());
    EXPECT_TRUE(inner->Valid());
    EXPECT_TRUE(outer->Valid());
    EXPECT_FALSE(set.List().back()->Valid());
}

// The filter's shortcuts by word id (phrases of one length keyed by their
// middle words, a shorter phrase's middle words looked for in the longer
// one) must decide as the comparison of the texts does. Every stretch of 2
// to 6 words of one corpus whose words end and begin other words ("cat" and
// "at", "then" and "he"), so that equal texts, texts inside texts of as many
// words and groups of one length longer than the window all occur; filtered
// with word ids and again without them, in order and side by side.
TEST(Containment, WordIdShortcutsDecideAsTheTexts) {
    const char16_t* vocabulary[] = {u"cat", u"at", u"hat", u"that", u"the", u"then", u"he", u"and", u"sand", u"a"};
    TWordList corpus;
    std::vector<int32_t> ids;
    uint32_t state = 7;
    for (int w = 0; w < 1200; ++w) {
        state = state * 1103515245u + 12345u;
        ids.push_back(static_cast<int32_t>((state >> 16) % 10));
        corpus.emplace_back(vocabulary[ids.back()]);
    }
    std::deque<TPhrase> records;
    std::vector<TPhrase*> phrases;
    for (int32_t words = 2; words <= 6; ++words) {
        for (int32_t start = 0; start + words <= static_cast<int32_t>(corpus.size()); ++start) {
            TPhrase& phrase = records.emplace_back(&corpus, start, words);
            phrase.SetValueLength(static_cast<int32_t>(phrase.Value().size()));
            phrase.SetCountAuthors(2);
            phrase.SetCountInstances(2);
            phrases.push_back(&phrase);
        }
    }
    PartitionSortPhrases(phrases);
    const auto filtered = [&](const int32_t* wordIds, const TParallelFor& runner) {
        for (TPhrase* phrase : phrases) {
            phrase->SetValid(true);
            phrase->SetWordIds(wordIds);
        }
        ApplyContainmentFilter(phrases, nullptr, runner);
        std::vector<bool> valid;
        for (const TPhrase* phrase : phrases) valid.push_back(phrase->Valid());
        return valid;
    };
    const std::vector<bool> byTexts = filtered(nullptr, {});
    ASSERT_GT(std::count(byTexts.begin(), byTexts.end(), false), 1000);
    EXPECT_EQ(filtered(ids.data(), {}), byTexts);
    EXPECT_EQ(filtered(ids.data(), ThreadedParts(3)), byTexts);
}

}  // namespace
}  // namespace quillprint::testing

namespace quillprint::testing {
namespace {

// Whole-word containment compared in place must agree with its definition
// on text: " " + outer + " " contains " " + inner + " ". Phrases of a real
// extraction, with quoted items that hold blanks and empty items, so the
// comparison runs piece by piece as well as word by word.
TEST(ContainmentAsWords, AgreesWithThePaddedTexts) {
    for (const char16_t* text : {u"a b c a b c d a b x b c", u"x \"a b\" c \"\" d \"a b\" c \"\" d a b c a \"b c\" a"}) {
        TQuillprint engine(kTestLocale);
        engine.AddAuthor(u"One", text);
        engine.AddAuthor(u"Two", text);
        engine.Detect(text);
        const auto& phrases = engine.Authors().front()->Phrases();
        ASSERT_GE(phrases.size(), 10u);
        for (const TPhrase* inner : phrases) {
            for (const TPhrase* outer : phrases) {
                const bool expected =
                    (u" " + outer->Value() + u" ").find(u" " + inner->Value() + u" ") != std::u16string::npos;
                EXPECT_EQ(PhraseOccursInsideAsWords(*inner, *outer), expected)
                    << ToUtf8(inner->Value()) << " in " << ToUtf8(outer->Value());
            }
        }
    }
}

}  // namespace
}  // namespace quillprint::testing
