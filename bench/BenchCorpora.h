// Inputs of the engine benchmarks: the Federalist papers and generated texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillprint::bench {

struct TCandidateText {
    std::u16string Name;
    std::u16string Text;
};

struct TBenchCorpus {
    std::vector<TCandidateText> Candidates;
    std::u16string TestText;
};

// Hamilton, Madison and Jay with all their papers, paper 49 as the test text.
const TBenchCorpus& FederalistCorpus();

// The first `count` words of the Federalist papers in paper order, joined by
// single blanks. Double quotes are dropped, so the one quotation of paper 2
// stays ordinary words: the passage then measures the phrase count alone.
std::u16string FederalistOpening(int32_t count);

// The Federalist corpus without double quotes, its test text (paper 49)
// followed by a verbatim copy of `copyWords` words of Hamilton's papers.
TBenchCorpus FederalistWithCopy(int32_t copyWords);

// `candidateCount` candidates of `wordsPerCandidate` words and a test text of
// `testWords` words, drawn from a Zipf-like vocabulary with a fixed seed.
TBenchCorpus SyntheticCorpus(int32_t candidateCount, int32_t wordsPerCandidate,
                             int32_t testWords, uint32_t seed);

}  // namespace quillprint::bench
