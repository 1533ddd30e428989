#include "workspace/StylometryTable.h"

#include <algorithm>

#include "engine/Author.h"
#include "engine/PhraseOrder.h"
#include "engine/Text.h"

namespace quillprint {

namespace {

// How far back a longer phrase may stand and still hide a shorter one.
constexpr int32_t kLookBack = 100;

}  // namespace

TGrid NewStylometryGrid() {
    return GridWithHeaders(5, {u"Phrase", u"Count", u"Other Authors use"});
}

int32_t FillStylometry(TAuthor& AAuthor, int32_t authorIndex, TGrid& table) {
    auto& phrases = AAuthor.Phrases();
    const auto phraseCount = static_cast<int32_t>(phrases.size());
    // The header and one row per phrase; a list of kMaxStylometryRows phrases
    // or more gets one row more, which stays empty: the table's set size.
    table.SetRowCount(phraseCount >= kMaxStylometryRows ? kMaxStylometryRows + 2 : phraseCount + 1);
    // Rows this fill does not write would otherwise show another author's phrases.
    for (int32_t row = 1; row < table.RowCount(); ++row)
        for (int32_t col = 0; col < table.ColCount(); ++col) table.SetCell(col, row, {});

    AAuthor.SortPhrases();

    int32_t written = 0;
    for (int32_t k = 0; k < phraseCount && written < kMaxStylometryRows; ++k) {
        const TPhrase& phrase = *phrases[k];
        if (!phrase.Valid()) continue;
        bool hidden = false;
        for (int32_t q = k - 1; q >= std::max(0, k - kLookBack) && !hidden; --q)
            hidden = phrases[q]->CountInstances() == phrase.CountInstances() &&
                     PhraseOccursInsideAsWords(phrase, *phrases[q]);
        if (hidden) continue;
        ++written;
        table.SetCell(0, written, phrase.Value());
        table.SetCell(1, written, Decimal(phrase.AuthorsCount(authorIndex)));
        table.SetCell(2, written, Decimal(phrase.CountAuthors() - 1));
    }
    return written;
}

}  // namespace quillprint
