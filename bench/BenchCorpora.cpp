#include "BenchCorpora.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>

#include "engine/Text.h"

namespace quillprint::bench {
namespace {

const std::string kFederalistDir = std::string(QUILLPRINT_DATA_DIR) + "/federalist";

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("Cannot read " + path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string PaperPath(int paper) {
    std::ostringstream path;
    path << kFederalistDir << "/papers/fp" << (paper < 10 ? "0" : "") << paper << ".txt";
    return path.str();
}

// Paper number to author, from authors.tsv.
std::map<int, std::string> FederalistAuthors() {
    std::istringstream table(ReadFile(kFederalistDir + "/authors.tsv"));
    std::map<int, std::string> authors;
    std::string header;
    std::getline(table, header);
    int paper = 0;
    std::string author;
    while (table >> paper >> author) authors[paper] = author;
    return authors;
}

// Pseudo-words of lower-case syllables, one per vocabulary rank.
std::u16string VocabularyWord(int32_t rank) {
    static const char* const kSyllables[] = {"ka", "lo", "mi", "ne", "tu", "ra", "si", "po",
                                             "de", "fa", "gu", "he", "jo", "be", "vi", "wu"};
    std::string word;
    do {
        word += kSyllables[rank % 16];
        rank /= 16;
    } while (rank > 0);
    return FromUtf8(word);
}

}  // namespace

const TBenchCorpus& FederalistCorpus() {
    static const TBenchCorpus corpus = [] {
        TBenchCorpus result;
        for (const char* name : {"Hamilton", "Madison", "Jay"}) result.Candidates.push_back({FromUtf8(name), {}});
        for (const auto& [paper, author] : FederalistAuthors()) {
            const std::u16string text = FromUtf8(ReadFile(PaperPath(paper)));
            if (paper == 49) result.TestText = text;
            for (TCandidateText& candidate : result.Candidates) {
                if (ToUtf8(candidate.Name) != author) continue;
                // Texts of one author are joined line after line, as a calculation run does.
                if (!candidate.Text.empty()) candidate.Text += u"\r\n";
                candidate.Text += text;
            }
        }
        return result;
    }();
    return corpus;
}

std::u16string FederalistOpening(int32_t count) {
    std::u16string opening;
    int32_t words = 0;
    for (int paper = 1; paper <= 85 && words < count; ++paper) {
        std::istringstream text(ReadFile(PaperPath(paper)));
        std::string word;
        while (words < count && text >> word) {
            if (words++ > 0) opening += u' ';
            std::erase(word, '"');
            opening += FromUtf8(word);
        }
    }
    return opening;
}

TBenchCorpus FederalistWithCopy(int32_t copyWords) {
    TBenchCorpus corpus = FederalistCorpus();
    // Without quotes no quoted item can begin inside the copy and make its
    // words differ from the original's.
    for (TCandidateText& candidate : corpus.Candidates) std::erase(candidate.Text, u'"');
    std::erase(corpus.TestText, u'"');
    std::istringstream hamilton(ToUtf8(corpus.Candidates.front().Text));
    std::string word;
    for (int32_t skipped = 0; skipped < 1000 && hamilton >> word; ++skipped) {
    }
    for (int32_t words = 0; words < copyWords && hamilton >> word; ++words) corpus.TestText += u" " + FromUtf8(word);
    return corpus;
}

TBenchCorpus SyntheticCorpus(int32_t candidateCount, int32_t wordsPerCandidate, int32_t testWords,
                             uint32_t seed) {
    constexpr int32_t kVocabularySize = 30000;
    std::vector<double> cumulative(kVocabularySize);
    double total = 0;
    for (int32_t rank = 0; rank < kVocabularySize; ++rank) {
        total += 1.0 / (rank + 1.0);
        cumulative[static_cast<size_t>(rank)] = total;
    }
    std::mt19937 random(seed);
    auto text = [&](int32_t length) {
        std::u16string result;
        for (int32_t i = 0; i < length; ++i) {
            const double draw = (random() / 4294967296.0) * total;
            const auto rank = std::upper_bound(cumulative.begin(), cumulative.end(), draw) - cumulative.begin();
            if (i > 0) result += u' ';
            result += VocabularyWord(static_cast<int32_t>(std::min<ptrdiff_t>(rank, kVocabularySize - 1)));
        }
        return result;
    };
    TBenchCorpus corpus;
    for (int32_t k = 0; k < candidateCount; ++k)
        corpus.Candidates.push_back({FromUtf8("Candidate " + std::to_string(k + 1)), text(wordsPerCandidate)});
    corpus.TestText = text(testWords);
    return corpus;
}

}  // namespace quillprint::bench
