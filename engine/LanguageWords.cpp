#include "engine/LanguageWords.h"

#include <unicode/brkiter.h>
#include <unicode/uscript.h>
#include <unicode/utext.h>
#include <unicode/utf16.h>

#include <array>
#include <stdexcept>

namespace quillprint {
namespace {

constexpr std::array kScriptsWithoutSpaces = {USCRIPT_HAN, USCRIPT_HIRAGANA, USCRIPT_KATAKANA, USCRIPT_THAI,
                                              USCRIPT_LAO, USCRIPT_KHMER,    USCRIPT_MYANMAR};

bool IsListed(UScriptCode script)
{
    for (const UScriptCode listed : kScriptsWithoutSpaces) {
        if (script == listed)
            return true;
    }
    return false;
}

// The code point at `pos` and the index after it; a lone surrogate is a
// code point of its own.
char32_t CodePointAt(std::u16string_view text, size_t& pos)
{
    UChar32 c;
    U16_NEXT(text.data(), pos, text.size(), c);
    return static_cast<char32_t>(c);
}

}  // namespace

bool IsScriptWithoutSpaces(char32_t c)
{
    // Below U+0E00 (Thai) lies no letter of those scripts.
    if (c < 0x0E00)
        return false;
    UErrorCode status = U_ZERO_ERROR;
    const UScriptCode script = uscript_getScript(static_cast<UChar32>(c), &status);
    if (IsListed(script))
        return true;
    if (script != USCRIPT_COMMON && script != USCRIPT_INHERITED)
        return false;
    for (const UScriptCode listed : kScriptsWithoutSpaces) {
        if (uscript_hasScript(static_cast<UChar32>(c), listed))
            return true;
    }
    return false;
}

TLanguageWords::TLanguageWords(std::string localeName) : FLocaleName(std::move(localeName))
{
}

TLanguageWords::~TLanguageWords() = default;

void TLanguageWords::AppendPieces(std::u16string_view word, size_t start, TWordList& words, std::vector<size_t>* starts)
{
    size_t pos = 0;
    while (pos < word.size()) {
        // A run of those scripts, or the text up to the next one.
        const size_t begin = pos;
        size_t next = pos;
        const bool inRun = IsScriptWithoutSpaces(CodePointAt(word, next));
        size_t end = next;
        while (end < word.size()) {
            size_t after = end;
            if (IsScriptWithoutSpaces(CodePointAt(word, after)) != inRun)
                break;
            end = after;
        }
        const std::u16string_view piece = word.substr(begin, end - begin);
        if (inRun) {
            AppendRun(piece, start + begin, words, starts);
        } else {
            if (starts)
                starts->push_back(start + begin);
            words.emplace_back(piece);
        }
        pos = end;
    }
}

void TLanguageWords::AppendRun(std::u16string_view run, size_t start, TWordList& words, std::vector<size_t>* starts)
{
    UErrorCode status = U_ZERO_ERROR;
    if (!FIterator) {
        FIterator.reset(icu::BreakIterator::createWordInstance(icu::Locale(FLocaleName.c_str()), status));
        if (U_FAILURE(status) || !FIterator)
            throw std::runtime_error("Cannot create the word break iterator for locale \"" + FLocaleName + "\"");
    }
    UText* text = utext_openUChars(nullptr, run.data(), static_cast<int64_t>(run.size()), &status);
    FIterator->setText(text, status);
    int32_t from = FIterator->first();
    for (int32_t to = FIterator->next(); to != icu::BreakIterator::DONE; from = to, to = FIterator->next()) {
        if (starts)
            starts->push_back(start + static_cast<size_t>(from));
        words.emplace_back(run.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
    }
    // The iterator keeps no pointer to the closed text: it holds its own
    // shallow clone, which is reset before the next setText.
    utext_close(text);
}

}  // namespace quillprint
