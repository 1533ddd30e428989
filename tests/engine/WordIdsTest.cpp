#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineTestHelpers.h"
#include "engine/Collation.h"
#include "engine/WordIds.h"

namespace quillprint::testing {
namespace {

// Equal words share an id, ids count up in the order words first come, and
// words that differ only in length, in a code unit past the first four, or
// in an embedded code 0 stay apart.
TEST(WordIds, NumbersDistinctWordsInOrderOfFirstAppearance) {
    const std::u16string withNul(u"ab\0", 3);
    const std::vector<std::u16string> words{u"the", u"fox",  u"the", u"",    u"foxes", u"foxer",
                                            u"ab",  withNul, u"",    u"fox", u"The",   u"foxes"};
    const std::vector<int32_t> expected{0, 1, 0, 2, 3, 4, 5, 6, 2, 1, 7, 3};
    TWordIds ids;
    for (size_t i = 0; i < words.size(); ++i) EXPECT_EQ(ids.Intern(words[i]), expected[i]) << i;
    ASSERT_EQ(ids.Size(), 8u);
    for (size_t i = 0; i < words.size(); ++i) {
        EXPECT_EQ(ids.Word(expected[i]), words[i]) << i;
        EXPECT_EQ(ids.Find(words[i]), expected[i]) << i;
    }
    EXPECT_EQ(ids.Find(u"a"), -1);
    EXPECT_EQ(ids.Find(u"fox "), -1);
}

// Past its first room the table grows, and every word keeps its id,
// interned one at a time or many at once.
TEST(WordIds, KeepsEveryIdAsItGrows) {
    TWordIds ids;
    std::vector<std::u16string> words;
    for (int i = 0; i < 20'000; ++i)
        words.push_back(u"w" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) +
                        std::u16string(static_cast<size_t>(i / 26 % 9), u'x') +
                        std::u16string(1, static_cast<char16_t>(0x4E00 + i)));
    // All at once, twice over, the table growing on the way.
    std::vector<std::u16string> twice = words;
    twice.insert(twice.end(), words.begin(), words.end());
    std::vector<int32_t> got(twice.size(), -1);
    ids.InternAll(twice, got.data());
    for (size_t i = 0; i < twice.size(); ++i) ASSERT_EQ(got[i], static_cast<int32_t>(i % words.size())) << i;
    for (size_t i = words.size(); i-- > 0;) {
        ASSERT_EQ(ids.Intern(words[i]), static_cast<int32_t>(i));
        ASSERT_EQ(ids.Word(static_cast<int32_t>(i)), words[i]);
    }
    EXPECT_EQ(ids.Size(), words.size());
}

// Ranks follow the collation: letter case ignored, accents kept; words
// whose sort keys are longer than the room first tried, and differ only far
// in, are ranked as well.
TEST(CollationRanks, OrderTheWordsAsTheCollationDoes) {
    const std::u16string longB(300, u'b');
    const std::vector<std::u16string> words{longB + u"a", u"a", longB, u"\u00E4", u"A", std::u16string(300, u'B'),
                                            longB + u"c"};
    std::vector<std::u16string_view> views(words.begin(), words.end());
    const TCollation collation(kTestLocale);
    EXPECT_EQ(collation.Ranks(views), (std::vector<int32_t>{3, 0, 2, 1, 0, 2, 4}));
}

}  // namespace
}  // namespace quillprint::testing
