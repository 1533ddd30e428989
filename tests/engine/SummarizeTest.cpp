// Rebuilding the combined corpus from the authors, and emptying the authors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineTestHelpers.h"
#include "engine/Quillprint.h"

namespace quillprint::testing {
namespace {

class AfterDetect : public ::testing::Test {
protected:
    void SetUp() override {
        engine.AddAuthor(u"Anna", u"The red fox runs home.");
        engine.AddAuthor(u"Boris", u"A grey wolf sleeps \"there  tonight\" \"\" again!");
        engine.AddAuthor(u"Carl", u"Blue sky.");
        engine.Detect(u"The red fox and a grey wolf");
    }
    TQuillprint engine{kTestLocale};
};

TEST_F(AfterDetect, SummarizeCopiesTheWordListsAndRecordsEndPositions) {
    TWordList expected;
    for (const auto& author : engine.Authors())
        expected.insert(expected.end(), author->Text().begin(), author->Text().end());
    const std::vector<std::u16string> phrasesBefore = ValuesOf(engine.Phrases());

    engine.Summarize();

    // Quoted items (a blank inside, or nothing) stay single words.
    EXPECT_EQ(engine.WordsAll().Words(), expected);
    EXPECT_EQ(engine.WordsAll().AuthorIndexes(), (std::vector<int32_t>{5, 12, 14, 21}));
    EXPECT_EQ(ValuesOf(engine.Phrases()), phrasesBefore);
    EXPECT_EQ(engine.WordsAll().Name(), u"All Words");
}

TEST_F(AfterDetect, ClearDestroysTheAuthorsOnly) {
    const int32_t words = engine.WordsAll().WordCount();
    const size_t phrases = engine.Phrases().size();
    engine.Clear();
    EXPECT_TRUE(engine.Authors().empty());
    EXPECT_EQ(engine.Test(), nullptr);
    EXPECT_EQ(engine.WordsAll().WordCount(), words);
    EXPECT_EQ(engine.Phrases().size(), phrases);
    EXPECT_EQ(engine.Phrases().front()->Value(), u"a grey wolf");
}

}  // namespace
}  // namespace quillprint::testing
