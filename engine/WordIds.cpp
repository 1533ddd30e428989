#include "engine/WordIds.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace quillprint {
namespace {

constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

uint64_t Mix(uint64_t h)
{
    h ^= h >> 32;
    h *= 0xD6E8FEB86659FD93ull;
    h ^= h >> 32;
    return h;
}

}  // namespace

TWordIds::TWordIds(size_t expected)
{
    size_t slots = 64;
    while (slots < expected * 2)
        slots *= 2;
    FSlots.assign(slots, 0);
    FMask = slots - 1;
    FStarts.push_back(0);
}

uint64_t TWordIds::Hash(std::u16string_view word)
{
    // Four code units at a time; the length keeps "a" apart from "a\0".
    uint64_t h = word.size() * kMultiplier;
    size_t i = 0;
    for (; i + 4 <= word.size(); i += 4) {
        uint64_t chunk;
        std::memcpy(&chunk, word.data() + i, sizeof chunk);
        h = (h ^ chunk) * kMultiplier;
        h ^= h >> 29;
    }
    uint64_t rest = 0;
    for (size_t shift = 0; i < word.size(); ++i, shift += 16)
        rest |= static_cast<uint64_t>(word[i]) << shift;
    h = (h ^ rest) * kMultiplier;
    return Mix(h);
}

size_t TWordIds::SlotOf(std::u16string_view word, uint64_t hash) const
{
    const auto check = static_cast<uint32_t>(hash >> 32);
    for (size_t slot = hash & FMask;; slot = (slot + 1) & FMask) {
        const int32_t entry = FSlots[slot];
        if (entry == 0)
            return slot;
        const auto id = static_cast<size_t>(entry - 1);
        if (FHashes[id] == check && FStarts[id + 1] - FStarts[id] == word.size()
            && std::equal(word.begin(), word.end(), FStore.begin() + static_cast<std::ptrdiff_t>(FStarts[id])))
            return slot;
    }
}

int32_t TWordIds::Intern(std::u16string_view word)
{
    const uint64_t hash = Hash(word);
    size_t slot = SlotOf(word, hash);
    if (FSlots[slot] != 0)
        return FSlots[slot] - 1;
    if (Size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max() - 1))
        throw std::length_error("TWordIds: too many distinct words");
    // At most half full: probes stay short.
    if ((Size() + 1) * 2 > FSlots.size()) {
        Grow();
        slot = SlotOf(word, hash);
    }
    const auto id = static_cast<int32_t>(Size());
    FStore.insert(FStore.end(), word.begin(), word.end());
    FStarts.push_back(FStore.size());
    FHashes.push_back(static_cast<uint32_t>(hash >> 32));
    FSlots[slot] = id + 1;
    return id;
}

int32_t TWordIds::Find(std::u16string_view word) const
{
    return FSlots[SlotOf(word, Hash(word))] - 1;
}

void TWordIds::Grow()
{
    FSlots.assign(FSlots.size() * 2, 0);
    FMask = FSlots.size() - 1;
    for (size_t id = 0; id < Size(); ++id) {
        const uint64_t hash = Hash(Word(static_cast<int32_t>(id)));
        size_t slot = hash & FMask;
        while (FSlots[slot] != 0)
            slot = (slot + 1) & FMask;
        FSlots[slot] = static_cast<int32_t>(id) + 1;
    }
}

}  // namespace quillprint
