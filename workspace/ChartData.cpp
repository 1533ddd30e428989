#include "workspace/ChartData.h"

#include <charconv>

#include "engine/Text.h"
#include "workspace/ResultTable.h"
#include "workspace/ValidationReport.h"

namespace quillprint {

namespace {

// A whole number written in decimal, with an optional minus sign.
std::optional<int32_t> ParseWhole(std::u16string_view text) {
    if (text.empty() || text.size() > 11) return std::nullopt;
    std::string ascii;
    for (const char16_t c : text) {
        if (c > 0x7F) return std::nullopt;
        ascii += static_cast<char>(c);
    }
    int32_t value = 0;
    const auto [end, error] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (error != std::errc{} || end != ascii.data() + ascii.size()) return std::nullopt;
    return value;
}

// The report's "Ranked first" of a tested row names a candidate; the first
// row of that name is its column.
int32_t IndexOfName(const std::vector<std::u16string>& names, const std::u16string& name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int32_t>(i);
    return -1;
}

}  // namespace

std::vector<TScoreBar> ResultChartBars(const TGrid& sgResult, const std::function<TScoreColour(int32_t)>& colourOf,
                                       const std::vector<std::vector<double>>& drawScores,
                                       const std::vector<double>& scores) {
    std::vector<TScoreBar> bars;
    const bool drawsColumn = sgResult.ColCount() > kDrawsWonColumn;
    for (int32_t row = 1; row < sgResult.RowCount(); ++row) {
        // The test author's row reads "The same as Unknown text": no bar.
        const std::u16string& probability = sgResult.Cell(1, row);
        if (probability.empty() || probability.back() != u'%') continue;
        const std::optional<int32_t> percent = ParseWhole(std::u16string_view(probability).substr(0, probability.size() - 1));
        if (!percent) continue;
        TScoreBar bar;
        bar.Name = sgResult.Cell(0, row);
        bar.Percent = *percent;
        bar.Colour = colourOf ? colourOf(row) : TScoreColour::Ordinary;
        const int32_t author = sgResult.RowAuthor(row);
        for (const std::vector<double>& draw : drawScores) {
            if (author < 0 || static_cast<size_t>(author) >= draw.size()) continue;
            // Whiskers are capped as the bars are, so they never pass 99%.
            const double shown = ShownScore(draw[static_cast<size_t>(author)]) * 100;
            if (!bar.LowestPercent || shown < *bar.LowestPercent) bar.LowestPercent = shown;
            if (!bar.HighestPercent || shown > *bar.HighestPercent) bar.HighestPercent = shown;
        }
        if (drawsColumn) bar.DrawsWon = ParseWhole(sgResult.Cell(kDrawsWonColumn, row)).value_or(-1);
        if (author >= 0 && static_cast<size_t>(author) < scores.size())
            bar.ExactPercent = ShownScore(scores[static_cast<size_t>(author)]) * 100;
        bars.push_back(std::move(bar));
    }
    return bars;
}

THeatMap TextsHeatMap(const std::vector<TTextOutcome>& outcomes) {
    THeatMap map;
    for (const TTextOutcome& outcome : outcomes) {
        if (map.Candidates.empty() && !outcome.Failed())
            for (const TCandidateOutcome& candidate : outcome.Candidates) map.Candidates.push_back(candidate.Name);
    }
    for (const TTextOutcome& outcome : outcomes) {
        map.Texts.push_back(outcome.Label);
        std::vector<int32_t> percents;
        int32_t mostLikely = -1;
        if (!outcome.Failed() && !outcome.Candidates.empty()) {
            for (const TCandidateOutcome& candidate : outcome.Candidates)
                percents.push_back(static_cast<int32_t>(WholePercent(ShownScore(candidate.Score))));
            mostLikely = static_cast<int32_t>(outcome.Ranking().front());
        }
        map.Percents.push_back(std::move(percents));
        map.MostLikely.push_back(mostLikely);
    }
    return map;
}

TConfusionMatrix ConfusionMatrixOf(const TGrid& validationReport) {
    TConfusionMatrix matrix;
    // The last row is the tally.
    const int32_t candidates = validationReport.RowCount() - 2;
    if (candidates <= 0 || validationReport.ColCount() < 5) return matrix;
    for (int32_t row = 1; row <= candidates; ++row) matrix.Names.push_back(validationReport.Cell(0, row));
    const size_t n = matrix.Names.size();
    matrix.Counts.assign(n, std::vector<int32_t>(n, 0));
    for (size_t i = 0; i < n; ++i) {
        const int32_t row = static_cast<int32_t>(i) + 1;
        // Only a tested candidate has a rank.
        const bool tested = !validationReport.Cell(4, row).empty();
        matrix.Tested.push_back(tested);
        if (!tested) continue;
        ++matrix.TestedCount;
        const int32_t named = IndexOfName(matrix.Names, validationReport.Cell(2, row));
        if (named < 0) continue;
        ++matrix.Counts[i][static_cast<size_t>(named)];
        if (validationReport.Cell(4, row) == u"1") ++matrix.RecognisedCount;
    }
    return matrix;
}

std::u16string ConfusionReading(const TConfusionMatrix& matrix) {
    std::u16string reading = RecognisedText(matrix.RecognisedCount, matrix.TestedCount);
    std::u16string misses;
    for (size_t i = 0; i < matrix.Names.size(); ++i) {
        for (size_t j = 0; j < matrix.Names.size(); ++j) {
            if (i == j || matrix.Counts[i][j] == 0) continue;
            misses += (misses.empty() ? u"; " : u", ") + matrix.Names[i] + u"'s lines went to " + matrix.Names[j];
        }
    }
    return reading + misses;
}

}  // namespace quillprint
