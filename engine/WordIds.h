// Ids of distinct words, for comparing words as integers.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillprint {

// Gives every distinct word an id: equal words share one, and ids are
// numbered 0, 1, 2... in the order the words first come. The words are kept
// in a store of their own, one after another, so that looking a word up
// reads that small store rather than the place where the word was first met
// (for a large corpus, a read from anywhere in hundreds of megabytes).
class TWordIds {
public:
    // Room for about `expected` distinct words.
    explicit TWordIds(size_t expected = 0);

    // The id of `word`; the next number when it was not met before.
    int32_t Intern(std::u16string_view word);
    // Intern for each of `words` in order, the ids written to `ids`. The
    // slots of the next few words are asked for ahead, so that looking them
    // up does not wait for memory one word after another.
    void InternAll(std::span<const std::u16string> words, int32_t* ids);
    // The id of `word`, or -1 when it was never interned.
    int32_t Find(std::u16string_view word) const;

    // How many distinct words have ids.
    size_t Size() const { return FStarts.size() - 1; }
    // The word of `id`; valid until the next Intern.
    std::u16string_view Word(int32_t id) const
    {
        const auto i = static_cast<size_t>(id);
        return {FStore.data() + FStarts[i], FStarts[i + 1] - FStarts[i]};
    }

private:
    // A slot of the table: the word's first four code units (zeros past
    // its end) and its length, so that a short word is compared without
    // reading anything else, and its id + 1 (0 for an empty slot).
    struct TSlot {
        uint64_t Head = 0;
        uint32_t Length = 0;
        int32_t Entry = 0;
    };

    int32_t Intern(std::u16string_view word, uint64_t hash);
    static uint64_t Hash(std::u16string_view word);
    static uint64_t HeadOf(std::u16string_view word);
    // The slot of `word` (of hash `hash`): the one holding its id, or the
    // empty one where it would go.
    size_t SlotOf(std::u16string_view word, uint64_t hash) const;
    void Grow();

    std::vector<char16_t> FStore;  // the words, one after another
    std::vector<size_t> FStarts;   // where each id's word begins in FStore, and the end
    std::vector<TSlot> FSlots;     // open addressing, a power of two of them
    size_t FMask = 0;              // FSlots.size() - 1
};

}  // namespace quillprint
