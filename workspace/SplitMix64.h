// A small seeded random generator whose sequence is fixed by its own code,
// not by the standard library, so the same seed draws the same samples on
// every platform and compiler.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace quillprint {

// SplitMix64 (Steele, Lea and Flood, 2014).
class TSplitMix64 {
public:
    explicit TSplitMix64(uint64_t seed) : FState(seed) {}

    uint64_t Next() {
        uint64_t z = (FState += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, bound), bound > 0. Values from the top partial range are
    // drawn again so that every result is equally likely.
    uint64_t Below(uint64_t bound) {
        const uint64_t limit = UINT64_MAX - UINT64_MAX % bound;
        uint64_t value;
        do value = Next();
        while (value >= limit);
        return value % bound;
    }

    // Fisher-Yates, from the back.
    template <typename T>
    void Shuffle(std::vector<T>& items) {
        for (size_t i = items.size(); i > 1; --i) std::swap(items[i - 1], items[Below(i)]);
    }

private:
    uint64_t FState;
};

}  // namespace quillprint
