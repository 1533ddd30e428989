// Generated sample texts for tests that need phrases repeated across authors.
#pragma once

#include <cstdint>
#include <string>

namespace quillprint::testing {

// The next number of a small linear congruential sequence: the same inputs
// on every machine and standard library, unlike the <random> distributions.
inline uint32_t NextRandom(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state;
}

// `lines` lines of nine words drawn from a small vocabulary, so that phrases
// repeat across authors; `seed` gives each author habits of its own.
inline std::string Sample(uint32_t seed, int lines) {
    static const char* const words[] = {"the", "upon", "whole", "we",     "are", "told", "that", "it",
                                        "is",  "of",   "great", "moment", "to",  "a",    "free", "people"};
    std::string text;
    uint32_t state = seed;
    for (int l = 0; l < lines; ++l) {
        for (int w = 0; w < 9; ++w) {
            text += words[(NextRandom(state) >> 24) % (4 + seed % 12)];
            text += ' ';
        }
        text += "\n";
    }
    return text;
}

}  // namespace quillprint::testing
