// Feeds arbitrary UTF-16 text (lone surrogates, NUL and all) to the word
// splitter, the normalisation and a small whole calculation, and checks what
// must hold for any text. Small calculations are also compared with the
// literal extraction.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "LiteralExtraction.h"
#include "engine/EngineError.h"
#include "engine/Normalization.h"
#include "engine/Quillprint.h"
#include "engine/WordSplitter.h"
#include "workspace/JobPool.h"

namespace {

using namespace quillprint;

void Require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}

std::u16string TextOf(const uint8_t* data, size_t size) {
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

void CheckNormalization(const std::u16string& text) {
    const std::u16string normalized = NormalizeText(text);
    Require(normalized.size() <= text.size(), "normalisation never lengthens");
    for (char16_t c : normalized) {
        Require(c != u',' && c != u'.' && c != u';' && c != u'!' && c != u'?' && c != u'(' && c != u')',
                "removed marks are gone");
        Require(c < u'A' || c > u'Z', "A to Z are lower-cased");
    }
    if (!normalized.empty()) Require(normalized.front() > 32 && normalized.back() > 32, "ends trimmed");
}

void CheckSplitting(const std::u16string& text) {
    const TWordList words = SplitWords(text);
    for (const std::u16string& word : words)
        Require(word.find(u'\0') == std::u16string::npos, "the text ends at NUL");
    TWordList appended{u"x"};
    AppendWords(text, appended);
    Require(appended.size() == words.size() + 1, "AppendWords appends the same words");
}

// The same calculation with its independent parts spread over three of the
// pool's threads gives the same summary and the same phrases.
void CheckThreadedRunAgrees(const std::vector<std::u16string>& pieces, const std::u16string& summary,
                            const TQuillprint& engine) {
    TQuillprint threaded("en_US");
    threaded.SetParallelFor(PoolRunner(3));
    for (size_t i = 0; i + 1 < pieces.size(); ++i) threaded.AddAuthor(u"Candidate", pieces[i]);
    Require(threaded.Detect(pieces.back()) == summary, "three threads give the summary of one");
    Require(threaded.Phrases().size() == engine.Phrases().size(), "three threads find as many phrases as one");
    for (size_t i = 0; i < engine.Phrases().size(); ++i)
        Require(threaded.Phrases()[i]->Value() == engine.Phrases()[i]->Value() &&
                    threaded.Phrases()[i]->CountInstances() == engine.Phrases()[i]->CountInstances(),
                "three threads find the phrases of one, in its order");
}

// Up to three candidates and the test text, cut from the input at U+0007.
void CheckCalculation(const std::u16string& text) {
    std::vector<std::u16string> pieces{u""};
    for (char16_t c : text) {
        if (c == u'\a' && pieces.size() < 4)
            pieces.emplace_back();
        else
            pieces.back().push_back(c);
    }
    TQuillprint engine("en_US");
    for (size_t i = 0; i + 1 < pieces.size(); ++i) engine.AddAuthor(u"Candidate", pieces[i]);
    std::u16string summary;
    try {
        summary = engine.Detect(pieces.back());
    } catch (const TPassageTooLongError&) {
        return;
    }
    CheckThreadedRunAgrees(pieces, summary, engine);
    size_t lines = 0;
    for (char16_t c : summary) lines += c == u'\r';
    Require(lines == pieces.size() - 1, "one summary line per candidate");
    for (const TPhrase* phrase : engine.Phrases()) {
        int32_t sum = 0;
        int32_t authors = 0;
        for (int32_t count : phrase->AuthorsCounts()) {
            sum += count;
            authors += count > 0;
        }
        Require(phrase->CountInstances() >= 2 && sum == phrase->CountInstances(), "instances add up");
        Require(authors == phrase->CountAuthors(), "CountAuthors counts the authors");
        Require(phrase->Valid(), "the final list holds valid phrases only");
    }

    if (engine.WordsAll().WordCount() > 400) return;  // the literal extraction is quadratic
    std::vector<TWordList> words;
    for (const auto& author : engine.Authors()) words.push_back(ListOf(author->Text()));
    const testing::TLiteralResult literal = testing::ExtractPhrasesLiterally(words, engine.Collation());
    Require(literal.Phrases.size() == engine.Phrases().size(), "same number of phrases as the literal extraction");
    for (size_t i = 0; i < literal.Phrases.size(); ++i) {
        const TPhrase& phrase = *engine.Phrases()[i];
        const testing::TLiteralPhrase& expected = *literal.Phrases[i];
        Require(phrase.Value() == expected.Value && phrase.CountWords() == expected.CountWords &&
                    phrase.CountInstances() == expected.CountInstances && phrase.Unique() == expected.Unique,
                "same phrase as the literal extraction");
    }
    for (size_t a = 0; a < words.size(); ++a)
        Require(engine.Authors()[a]->Phrases().size() == literal.AuthorPhrases[a].size(),
                "same author lists as the literal extraction");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string text = TextOf(data, size);
    CheckNormalization(text);
    CheckSplitting(text);
    CheckCalculation(text);
    return 0;
}
