#include "workspace/ChartData.h"

#include "engine/Text.h"
#include "workspace/ResultTable.h"
#include "workspace/ValidationReport.h"

namespace quillprint {

namespace {

// The report's "Ranked first" of a tested row names a candidate; the first
// row of that name is its column.
int32_t IndexOfName(const std::vector<std::u16string>& names, const std::u16string& name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return static_cast<int32_t>(i);
    return -1;
}

}  // namespace

std::vector<TScoreBar> ResultChartBars(const TResultRanking& ranking, bool coloured,
                                       const std::vector<std::vector<double>>& drawScores) {
    std::vector<TScoreBar> bars;
    for (const TRankedCandidate& candidate : ranking.Rows) {
        // The test author's row reads "The same as Unknown text": no bar.
        if (candidate.IsTestAuthor()) continue;
        TScoreBar bar;
        bar.Name = candidate.Name;
        bar.Percent = static_cast<int32_t>(WholePercent(candidate.Score));
        // The table colours by the row's score in single precision.
        const auto tableScore = static_cast<float>(candidate.Score);
        bar.Colour = coloured && tableScore != 0.0f ? ScoreColour(tableScore) : TScoreColour::Ordinary;
        const int32_t author = candidate.EngineIndex;
        for (const std::vector<double>& draw : drawScores) {
            if (author < 0 || static_cast<size_t>(author) >= draw.size()) continue;
            // Whiskers are capped as the bars are, so they never pass 99%.
            const double shown = ShownScore(draw[static_cast<size_t>(author)]) * 100;
            if (!bar.LowestPercent || shown < *bar.LowestPercent) bar.LowestPercent = shown;
            if (!bar.HighestPercent || shown > *bar.HighestPercent) bar.HighestPercent = shown;
        }
        bar.DrawsWon = ranking.Balanced ? candidate.DrawsWon : -1;
        bar.ExactPercent = candidate.Score * 100;
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

TConfusionMatrix ConfusionMatrixOf(const TValidationReport& report) {
    TConfusionMatrix matrix;
    for (const TValidationRow& row : report.Rows) matrix.Names.push_back(row.Name);
    // A report that tested every m-th candidate can name one it did not
    // test: that one gets a column, and a row without runs.
    for (const TValidationRow& row : report.Rows)
        if (row.Tested() && IndexOfName(matrix.Names, row.RankedFirst) < 0) matrix.Names.push_back(row.RankedFirst);
    const size_t n = matrix.Names.size();
    matrix.Counts.assign(n, std::vector<int32_t>(n, 0));
    matrix.Tested.assign(n, false);
    for (size_t i = 0; i < report.Rows.size(); ++i) {
        const TValidationRow& row = report.Rows[i];
        matrix.Tested[i] = row.Tested();
        if (!row.Tested()) continue;
        ++matrix.TestedCount;
        const int32_t named = IndexOfName(matrix.Names, row.RankedFirst);
        if (named < 0) continue;
        ++matrix.Counts[i][static_cast<size_t>(named)];
        if (row.Recognised()) ++matrix.RecognisedCount;
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
