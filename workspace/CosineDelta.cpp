#include "workspace/CosineDelta.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>

namespace quillprint {

namespace {

using TCounts = std::unordered_map<std::u16string_view, int64_t>;

TCounts CountEachWord(TWordSpan words) {
    TCounts counts;
    for (const auto& word : words) ++counts[word];
    return counts;
}

// The `limit` most frequent words of all the counts together.
std::vector<std::u16string_view> MostFrequent(const std::vector<TCounts>& counts, size_t limit) {
    TCounts total;
    for (const TCounts& one : counts)
        for (const auto& [word, n] : one) total[word] += n;
    std::vector<std::pair<std::u16string_view, int64_t>> ranked(total.begin(), total.end());
    std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    if (ranked.size() > limit) ranked.resize(limit);
    std::vector<std::u16string_view> words;
    for (const auto& entry : ranked) words.push_back(entry.first);
    return words;
}

double RelativeFrequency(const TCounts& counts, std::u16string_view word, size_t total) {
    if (total == 0) return 0;
    const auto found = counts.find(word);
    return found == counts.end() ? 0.0 : static_cast<double>(found->second) / static_cast<double>(total);
}

double Cosine(const std::vector<double>& a, const std::vector<double>& b) {
    double dot = 0, normA = 0, normB = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        dot += a[i] * b[i];
        normA += a[i] * a[i];
        normB += b[i] * b[i];
    }
    if (normA == 0 || normB == 0) return 0;
    return dot / std::sqrt(normA * normB);
}

}  // namespace

TDeltaRanking CosineDelta(const std::vector<TWordSpan>& candidates, TWordSpan test, size_t profileWords) {
    TDeltaRanking ranking;
    ranking.Similarity.assign(candidates.size(), 0.0);
    if (candidates.empty()) return ranking;
    std::vector<TCounts> counts;
    for (const TWordSpan words : candidates) counts.push_back(CountEachWord(words));
    const TCounts testCounts = CountEachWord(test);
    const std::vector<std::u16string_view> profile = MostFrequent(counts, profileWords);

    // z-scores of each profile word over the candidates (population standard
    // deviation); the disputed text is measured against the same mean and spread.
    const size_t n = candidates.size();
    std::vector<std::vector<double>> z(n);
    std::vector<double> testZ;
    for (const std::u16string_view word : profile) {
        std::vector<double> frequency(n);
        double mean = 0;
        for (size_t c = 0; c < n; ++c) {
            frequency[c] = RelativeFrequency(counts[c], word, candidates[c].size());
            mean += frequency[c];
        }
        mean /= static_cast<double>(n);
        double variance = 0;
        for (const double f : frequency) variance += (f - mean) * (f - mean);
        const double spread = std::sqrt(variance / static_cast<double>(n));
        if (spread == 0) continue;
        for (size_t c = 0; c < n; ++c) z[c].push_back((frequency[c] - mean) / spread);
        testZ.push_back((RelativeFrequency(testCounts, word, test.size()) - mean) / spread);
    }
    for (size_t c = 0; c < n; ++c) ranking.Similarity[c] = Cosine(z[c], testZ);
    ranking.First = static_cast<int32_t>(std::max_element(ranking.Similarity.begin(), ranking.Similarity.end()) -
                                         ranking.Similarity.begin());
    return ranking;
}

std::u16string SecondOpinionText(const TDeltaRanking& ranking, const std::vector<std::u16string>& names,
                                 int32_t phraseFirst) {
    std::vector<size_t> order(ranking.Similarity.size());
    for (size_t c = 0; c < order.size(); ++c) order[c] = c;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return ranking.Similarity[a] > ranking.Similarity[b]; });
    std::u16string text = u"Cosine Delta:";
    for (size_t i = 0; i < order.size(); ++i) text += (i == 0 ? u" " : u", ") + names[order[i]];
    if (phraseFirst < 0 || ranking.First < 0) return text;
    if (phraseFirst == ranking.First) return text + u" (agrees)";
    return text + u" (disagrees: the phrases rank " + names[static_cast<size_t>(phraseFirst)] + u" first)";
}

}  // namespace quillprint
