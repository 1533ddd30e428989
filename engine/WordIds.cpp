#include "engine/WordIds.h"

#include <algorithm>
#include <array>
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
    FSlots.assign(slots, TSlot());
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

uint64_t TWordIds::HeadOf(std::u16string_view word)
{
    uint64_t head = 0;
    const size_t units = std::min<size_t>(word.size(), 4);
    for (size_t i = 0; i < units; ++i)
        head |= static_cast<uint64_t>(word[i]) << (16 * i);
    return head;
}

size_t TWordIds::SlotOf(std::u16string_view word, uint64_t hash) const
{
    const uint64_t head = HeadOf(word);
    for (size_t slot = hash & FMask;; slot = (slot + 1) & FMask) {
        const TSlot& entry = FSlots[slot];
        if (entry.Entry == 0)
            return slot;
        if (entry.Head != head || entry.Length != word.size())
            continue;
        if (word.size() <= 4)
            return slot;
        // Past the first four code units, the rest is compared in the store.
        const size_t start = FStarts[static_cast<size_t>(entry.Entry - 1)];
        if (std::equal(word.begin() + 4, word.end(), FStore.begin() + static_cast<std::ptrdiff_t>(start + 4)))
            return slot;
    }
}

int32_t TWordIds::Intern(std::u16string_view word)
{
    return Intern(word, Hash(word));
}

void TWordIds::InternAll(std::span<const std::u16string> words, int32_t* ids)
{
    constexpr size_t kAhead = 8;
    std::array<uint64_t, kAhead> hashes{};
    const auto askAhead = [&](size_t i) {
        const uint64_t hash = Hash(words[i]);
        hashes[i % kAhead] = hash;
#if defined(__GNUC__)
        __builtin_prefetch(&FSlots[hash & FMask]);
#endif
    };
    for (size_t i = 0; i < words.size() && i < kAhead; ++i)
        askAhead(i);
    for (size_t i = 0; i < words.size(); ++i) {
        const uint64_t hash = hashes[i % kAhead];
        if (i + kAhead < words.size())
            askAhead(i + kAhead);
        ids[i] = Intern(words[i], hash);
    }
}

int32_t TWordIds::Intern(std::u16string_view word, uint64_t hash)
{
    size_t slot = SlotOf(word, hash);
    if (FSlots[slot].Entry != 0)
        return FSlots[slot].Entry - 1;
    if (Size() >= static_cast<size_t>(std::numeric_limits<int32_t>::max() - 1)
        || word.size() > std::numeric_limits<uint32_t>::max())
        throw std::length_error("TWordIds: too many distinct words, or one too long");
    // At most half full: probes stay short.
    if ((Size() + 1) * 2 > FSlots.size()) {
        Grow();
        slot = SlotOf(word, hash);
    }
    const auto id = static_cast<int32_t>(Size());
    FStore.insert(FStore.end(), word.begin(), word.end());
    FStarts.push_back(FStore.size());
    FSlots[slot] = {HeadOf(word), static_cast<uint32_t>(word.size()), id + 1};
    return id;
}

int32_t TWordIds::Find(std::u16string_view word) const
{
    return FSlots[SlotOf(word, Hash(word))].Entry - 1;
}

void TWordIds::Grow()
{
    std::vector<TSlot> old(FSlots.size() * 2);
    old.swap(FSlots);
    FMask = FSlots.size() - 1;
    for (const TSlot& entry : old) {
        if (entry.Entry == 0)
            continue;
        size_t slot = Hash(Word(entry.Entry - 1)) & FMask;
        while (FSlots[slot].Entry != 0)
            slot = (slot + 1) & FMask;
        FSlots[slot] = entry;
    }
}

}  // namespace quillprint
