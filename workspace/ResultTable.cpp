#include "workspace/ResultTable.h"

#include <algorithm>

#include "engine/Quillprint.h"
#include "engine/ScoreFormat.h"
#include "engine/Text.h"

namespace quillprint {

namespace {

std::u16string Decimal(int64_t value) { return FromUtf8(std::to_string(value)); }

std::u16string Verdict(double d) {
    if (d == 2) return u"The same as Unknown text";
    if (d >= 0.75 && d < 2) return u"Most likely";
    if (d >= 0.5 && d < 0.75) return u"Maybe";
    if (d < 0.5) return u"Hardly";
    return {};  // above 2: the engine gives no such score
}

// The word count, with a note when the average is more than twice or less
// than half of it (ratio in single precision).
std::u16string WordsCell(int32_t wordCount, int32_t average, bool isLastRow) {
    std::u16string text = Decimal(wordCount);
    if (isLastRow) return text;
    const float ratio = wordCount > 0 ? static_cast<float>(average) / static_cast<float>(wordCount) : 0.0f;
    if (ratio > 2 || ratio < 0.5f) text += u"  !Too far from average(" + Decimal(average) + u")";
    return text;
}

}  // namespace

TGrid NewResultGrid() {
    TGrid grid(4, 6);
    grid.SetCell(0, 0, u"Author");
    grid.SetCell(1, 0, u"Probability");
    grid.SetCell(2, 0, u"Description");
    grid.SetCell(3, 0, u"Words");
    return grid;
}

std::u16string FormatPercent(double d) {
    return Decimal(RoundHalfEven(static_cast<long double>(d) * 100)) + u"%";
}

void LoadGridResults(const TQuillprint& engine, TGrid& sgResult, std::vector<TAuthorChoice>& cbAuthors) {
    std::vector<const TAuthor*> ranked;
    for (const auto& author : engine.Authors()) ranked.push_back(author.get());
    // Highest score first. Ties may come in any order; a stable sort keeps the
    // engine's order so that runs are reproducible.
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const TAuthor* left, const TAuthor* right) { return left->Koef() > right->Koef(); });
    // The test author, scored 2, leads; it belongs at the end.
    if (!ranked.empty()) std::rotate(ranked.begin(), ranked.begin() + 1, ranked.end());

    sgResult.SetRowCount(static_cast<int32_t>(ranked.size()) + 1);
    cbAuthors.clear();
    const int32_t average = engine.AverageWordCounts();
    for (size_t i = 0; i < ranked.size(); ++i) {
        const TAuthor& author = *ranked[i];
        const int32_t row = static_cast<int32_t>(i) + 1;
        double d = author.Koef();
        if (d > 0.99 && d < 2) d = 0.99;  // candidates are never shown above 99 %
        sgResult.SetCell(0, row, author.Name());
        sgResult.SetCell(1, row, d == 2 ? u"The same as Unknown text" : FormatPercent(d));
        sgResult.SetRowScore(row, static_cast<float>(d));
        sgResult.SetCell(2, row, Verdict(d));
        sgResult.SetCell(3, row, WordsCell(author.WordCount(), average, i + 1 == ranked.size()));
    }

    const auto& authors = engine.Authors();
    for (size_t k = 0; k < authors.size(); ++k) cbAuthors.push_back({authors[k]->Name(), static_cast<int32_t>(k)});
}

}  // namespace quillprint
