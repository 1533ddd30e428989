// Small helpers shared by the engine tests.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "engine/ParallelFor.h"
#include "engine/Phrase.h"
#include "engine/Text.h"

namespace quillprint::testing {

// Tests pin the collation and decimal separator to one locale.
inline const std::string kTestLocale = "en_US";

// A phrase as the tests compare it: every field the extraction fills.
struct TPhraseRow {
    std::u16string Value;
    int32_t Words = 0;
    int32_t Instances = 0;
    std::vector<int32_t> Counts;
    int32_t Unique = -1;
    int32_t Authors = 0;

    bool operator==(const TPhraseRow&) const = default;
};

inline void PrintTo(const TPhraseRow& row, std::ostream* out) {
    *out << '"' << ToUtf8(row.Value) << "\" words " << row.Words << " instances " << row.Instances << " counts";
    for (int32_t count : row.Counts) *out << ' ' << count;
    *out << " unique " << row.Unique << " authors " << row.Authors;
}

// A runner on `threads` real threads that hands the parts out from the last
// one down, so that a result depending on the order of the parts, or on
// parts touching each other's slots, shows.
inline TParallelFor ThreadedParts(unsigned threads) {
    return [threads](size_t count, const std::function<void(size_t)>& task) {
        std::atomic<size_t> left{count};
        std::vector<std::jthread> pool;
        for (unsigned t = 0; t < threads; ++t)
            pool.emplace_back([&] {
                for (size_t n = left--; n > 0 && n <= count; n = left--) task(n - 1);
            });
    };
}

inline TPhraseRow RowOf(const TPhrase& phrase) {
    return {phrase.Value(), phrase.CountWords(), phrase.CountInstances(), phrase.AuthorsCounts(), phrase.Unique(),
            phrase.CountAuthors()};
}

inline std::vector<std::u16string> ValuesOf(const std::vector<TPhrase*>& phrases) {
    std::vector<std::u16string> values;
    for (const TPhrase* phrase : phrases) values.push_back(phrase->Value());
    return values;
}

}  // namespace quillprint::testing
