// Splitting by language: the runs of scripts written without spaces cut into
// the words of ICU's dictionaries, everything else split as at separators.
// The expected splits were checked by hand against what ICU 72 gives.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineTestHelpers.h"
#include "engine/LanguageWords.h"
#include "engine/Normalization.h"
#include "engine/Quillprint.h"
#include "engine/WordSplitter.h"

namespace quillprint::testing {
namespace {

struct TLanguageCase {
    const char* Name;
    std::string Locale;
    std::u16string Text;
    TWordList Words;
};

class SplitByLanguage : public ::testing::TestWithParam<TLanguageCase> {};

TEST_P(SplitByLanguage, CutsTheRunsIntoDictionaryWords) {
    const TWordSplitter splitter(TWordSplitting::Language, GetParam().Locale);
    EXPECT_EQ(splitter.Split(NormalizeText(GetParam().Text)), GetParam().Words);
}

TEST_P(SplitByLanguage, SpacesLeaveTheRunsWhole) {
    const TWordSplitter splitter(TWordSplitting::Spaces, GetParam().Locale);
    EXPECT_EQ(splitter.Split(NormalizeText(GetParam().Text)), SplitWords(NormalizeText(GetParam().Text)));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitByLanguage,
    ::testing::Values(
        TLanguageCase{
            "ChineseSimplified", "zh_CN", u"他们今天去学校读书。", {u"他们", u"今天", u"去", u"学校", u"读书", u"。"}},
        TLanguageCase{
            "ChineseTraditional", "zh_TW", u"我們今天去學校讀書。", {u"我們", u"今天", u"去", u"學校", u"讀書", u"。"}},
        TLanguageCase{
            "JapaneseKanjiAndKana", "ja_JP", u"日本語の本を読む。", {u"日本語", u"の", u"本", u"を", u"読む", u"。"}},
        // The long vowel mark is no Katakana letter but stays in the word.
        TLanguageCase{"KatakanaLongVowel", "ja_JP", u"コーヒーを飲む", {u"コーヒー", u"を", u"飲む"}},
        TLanguageCase{"Thai", "th_TH", u"แม่ของฉันชอบดอกไม้", {u"แม่", u"ของ", u"ฉัน", u"ชอบ", u"ดอกไม้"}},
        // Latin text, digits and the punctuation between runs stay whole;
        // the normalisation still removes "," and "!" and lower-cases.
        TLanguageCase{"OtherScriptsBetweenRuns",
                      "zh_CN",
                      u"Hello, 你好，“世界”! 2024年的Qt",
                      {u"hello", u"你好", u"，“", u"世界", u"”", u"2024", u"年", u"的", u"qt"}},
        TLanguageCase{"QuotedItemStaysWhole", "zh_CN", u"\"学校 读书\" 学校读书", {u"学校 读书", u"学校", u"读书"}},
        TLanguageCase{"LatinOnly", "en_US", u"The cat's hat - red", {u"the", u"cat's", u"hatred"}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SplitByLanguage, StartsPointAtEachPiece) {
    const std::u16string text = u"ab 学校读书 \"x y\"";
    TWordList words;
    std::vector<size_t> starts;
    TWordSplitter(TWordSplitting::Language, "zh_CN").Append(text, words, &starts);
    EXPECT_EQ(words, (TWordList{u"ab", u"学校", u"读书", u"x y"}));
    EXPECT_EQ(starts, (std::vector<size_t>{0, 3, 5, 8}));
}

TEST(SplitByLanguage, ScriptsWithoutSpaces) {
    for (const char32_t c : {U'学', U'の', U'カ', U'ー', U'ก', U'ກ', U'ក', U'က', U'。', U'𠀀'})
        EXPECT_TRUE(IsScriptWithoutSpaces(c)) << static_cast<uint32_t>(c);
    for (const char32_t c : {U'a', U'7', U'，', U'”', U'한', U'é', U'\u00A0'})
        EXPECT_FALSE(IsScriptWithoutSpaces(c)) << static_cast<uint32_t>(c);
}

// In each language the disputed text shares a phrase with the first
// candidate only. Split at separators, every line is one word and no line
// repeats, so no phrase is found at all.
struct TSharedPhraseCase {
    const char* Name;
    std::string Locale;
    std::u16string First;
    std::u16string Second;
    std::u16string Disputed;
    std::u16string Phrase;
};

class SharedPhrase : public ::testing::TestWithParam<TSharedPhraseCase> {};

std::u16string LongestPhraseOf(const TQuillprint& engine, int32_t candidate) {
    std::u16string longest;
    int32_t words = 0;
    for (const TPhrase* phrase : engine.Phrases()) {
        if (phrase->Unique() == candidate && phrase->CountWords() > words) {
            longest = phrase->Value();
            words = phrase->CountWords();
        }
    }
    return longest;
}

TEST_P(SharedPhrase, FoundOnlyWhenSplitByLanguage) {
    const TSharedPhraseCase& c = GetParam();
    for (const TWordSplitting splitting : {TWordSplitting::Spaces, TWordSplitting::Language}) {
        TQuillprint engine(c.Locale);
        engine.SetWordSplitting(splitting);
        engine.AddAuthor(u"First", c.First);
        engine.AddAuthor(u"Second", c.Second);
        engine.Detect(c.Disputed);
        if (splitting == TWordSplitting::Spaces) {
            EXPECT_TRUE(engine.Phrases().empty());
            EXPECT_EQ(engine.Authors()[0]->Koef(), 0.0);
        } else {
            EXPECT_EQ(LongestPhraseOf(engine, 0), c.Phrase);
            EXPECT_GT(engine.Authors()[0]->Koef(), engine.Authors()[1]->Koef());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SharedPhrase,
    ::testing::Values(TSharedPhraseCase{"ChineseSimplified", "zh_CN", u"我们每天去学校读书", u"他们昨天在家里看电视",
                                        u"他们今天去学校读书。", u"去 学校 读书"},
                      TSharedPhraseCase{"ChineseTraditional", "zh_TW", u"他們每天去學校讀書", u"我們昨天在家裡看電視",
                                        u"我們今天去學校讀書。", u"去 學校 讀書"},
                      TSharedPhraseCase{"Japanese", "ja_JP", u"弟は英語の本を読む", u"姉は毎日テレビを見る",
                                        u"日本語の本を読む。", u"の 本 を 読む"},
                      TSharedPhraseCase{"Thai", "th_TH", u"พ่อของฉันชอบดอกไม้มาก", u"น้องสาวไปตลาดทุกวัน", u"แม่ของฉันชอบดอกไม้",
                                        u"ของ ฉัน ชอบ ดอกไม้"}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace quillprint::testing
