#include "engine/PhraseExtraction.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "engine/Author.h"
#include "engine/Cancellation.h"
#include "engine/EngineError.h"
#include "engine/ParallelFor.h"
#include "engine/PhraseOrder.h"
#include "engine/Quillprint.h"
#include "engine/ScoreFormat.h"
#include "engine/Text.h"
#include "engine/WordIds.h"

// Every entry of a sorted list at level k is an instance of a k-word string,
// kept as the corpus position of its last word. All entries that an
// extension list is made from share one identical string, so the collation
// order of their extensions is the collation order of the appended words:
// words are interned once to ids (identity) and collation ranks (order), and
// every comparison below is on integers. Equal-ranked entries keep the order
// the bisecting insertion gives them: the later inserted first.

namespace quillprint {

class TPhraseSearch {
public:
    TPhraseSearch(TWordsAll& corpus, TQuillprint& engine, std::stop_token stop)
        : FCorpus(corpus),
          FEngine(engine),
          FStop(std::move(stop)),
          FWords(corpus.FText),
          FAuthorCount(static_cast<int32_t>(engine.Authors().size())),
          FCancellation(engine.Cancellation())
    {
    }

    void Run()
    {
        InternWords();
        MarkBoundaries();
        SortWords();
        FindPhrases();
    }

private:
    struct TFrame {
        size_t End;         // the list is the walk's Buffer[begin, End)
        size_t Cursor;      // first entry not yet looked at
        int32_t Level;      // words per entry
        int32_t PrefixLength;   // code units of the string shared by an extension list
        bool PrefixHasBlank;    // a word of that string holds a blank
        uint64_t PrefixMask;    // CharMask of that string
    };

    void InternWords()
    {
        const size_t n = FWords.size();
        std::vector<int32_t>& FIds = FCorpus.FWordIds;
        FIds.resize(n);
        TWordIds idOf;
        for (size_t pos = 0; pos < n; pos += 1 << 16) {
            FCancellation.Check();
            const size_t count = std::min<size_t>(n - pos, 1 << 16);
            idOf.InternAll(std::span(FWords).subspan(pos, count), FIds.data() + pos);
        }
        std::vector<std::u16string_view> distinct(idOf.Size());
        for (size_t id = 0; id < distinct.size(); ++id)
            distinct[id] = idOf.Word(static_cast<int32_t>(id));
        FRanks = FEngine.Collation().Ranks(distinct, FCancellation.Token());
        FHasBlank.resize(distinct.size());
        FMasks.resize(distinct.size());
        FLengths.resize(distinct.size());
        bool anyBlank = false;
        for (size_t id = 0; id < distinct.size(); ++id) {
            FLengths[id] = static_cast<int32_t>(distinct[id].size());
            FHasBlank[id] = distinct[id].find(u' ') != std::u16string_view::npos;
            FMasks[id] = CharMaskOf(distinct[id]);
            anyBlank = anyBlank || FHasBlank[id];
        }
        if (anyBlank)
            CutIntoPieces(idOf);
    }

    // The containment filter compares phrases piece by piece when a word
    // holds a blank, as it compares them word by word otherwise. A piece
    // equal to a word takes that word's id, so only the words with a blank
    // need cutting; the other pieces get ids after the words'.
    void CutIntoPieces(const TWordIds& wordIds)
    {
        TWordPieces& pieces = FCorpus.FWordPieces;
        pieces = {};
        pieces.FirstPiece.reserve(FWords.size() + 1);
        pieces.Ids.reserve(FWords.size());
        pieces.Text.reserve(FWords.size());
        const std::vector<int32_t>& ids = FCorpus.FWordIds;
        std::unordered_map<std::u16string_view, int32_t> otherIds;
        const auto pieceId = [&](std::u16string_view piece) {
            if (const int32_t word = wordIds.Find(piece); word >= 0)
                return word;
            const auto id = static_cast<int32_t>(wordIds.Size() + otherIds.size());
            return otherIds.try_emplace(piece, id).first->second;
        };
        for (size_t pos = 0; pos < FWords.size(); ++pos) {
            FCancellation.Tick(1 << 16);
            const std::u16string_view word = FWords[pos];
            pieces.FirstPiece.push_back(static_cast<int32_t>(pieces.Ids.size()));
            if (!FHasBlank[static_cast<size_t>(ids[pos])]) {
                pieces.Ids.push_back(ids[pos]);
                pieces.Text.push_back(word);
                continue;
            }
            size_t begin = 0;
            while (true) {
                const size_t blank = word.find(u' ', begin);
                const std::u16string_view piece = word.substr(begin, blank == std::u16string_view::npos ? std::u16string_view::npos : blank - begin);
                pieces.Ids.push_back(pieceId(piece));
                pieces.Text.push_back(piece);
                if (blank == std::u16string_view::npos)
                    break;
                begin = blank + 1;
            }
        }
        pieces.FirstPiece.push_back(static_cast<int32_t>(pieces.Ids.size()));
    }

    // Which positions have a next word in the same author's text, and which
    // author holds each position.
    void MarkBoundaries()
    {
        const std::vector<int32_t>& starts = FCorpus.AuthorIndexes();
        const auto n = static_cast<int32_t>(FWords.size());
        std::vector<uint8_t> isStart(static_cast<size_t>(n) + 1, 0);
        for (const int32_t start : starts) {
            if (start >= 0 && start <= n)
                isStart[static_cast<size_t>(start)] = 1;
        }
        for (const int32_t cut : FCorpus.Breaks()) {
            if (cut >= 0 && cut <= n)
                isStart[static_cast<size_t>(cut)] = 1;
        }
        FHasNext.assign((static_cast<size_t>(n) + 63) / 64, 0);
        for (int32_t p = 0; p + 1 < n; ++p) {
            FCancellation.Tick(1 << 16);
            if (!isStart[static_cast<size_t>(p) + 1])
                FHasNext[static_cast<size_t>(p) >> 6] |= uint64_t{1} << (p & 63);
        }

        // The author of the first position of every block: AuthorOf goes on
        // from there, so no list holds an entry per position.
        FAuthorAtBlock.resize((static_cast<size_t>(n) >> kAuthorBlockBits) + 1);
        size_t below = 0;
        for (size_t block = 0; block < FAuthorAtBlock.size(); ++block) {
            const auto first = static_cast<int64_t>(block << kAuthorBlockBits);
            while (below < starts.size() && starts[below] <= first)
                ++below;
            FAuthorAtBlock[block] = static_cast<int32_t>(below);
        }
    }

    // The author of position p is the number of start entries not above p
    // (the lookup by the position just after an instance).
    int32_t AuthorOf(int32_t position) const
    {
        const std::vector<int32_t>& starts = FCorpus.AuthorIndexes();
        auto below = static_cast<size_t>(FAuthorAtBlock[static_cast<size_t>(position) >> kAuthorBlockBits]);
        while (below < starts.size() && starts[below] <= position)
            ++below;
        return static_cast<int32_t>(below);
    }

    void SortWords()
    {
        // Words were inserted by ascending position, so equal ones stand in
        // descending position order: a counting sort by collation rank that
        // deals the positions out from the last one. (Counting and dealing
        // parts side by side was tried: on this 2-core machine two threads
        // took about twice the CPU time of the single pass and saved little
        // wall time, as the pass waits on memory either way.)
        std::vector<int32_t>& sorted = FCorpus.FWordsAlphabetic;
        const size_t n = FWords.size();
        sorted.resize(n);
        const size_t ranks = FRanks.size();
        std::vector<int32_t> slot(ranks, 0);
        for (size_t pos = 0; pos < n; ++pos) {
            FCancellation.Tick(1 << 16);
            ++slot[static_cast<size_t>(Rank(static_cast<int32_t>(pos)))];
        }
        int32_t next = 0;
        FRankEnds.resize(ranks);
        for (size_t r = 0; r < ranks; ++r) {
            const int32_t count = slot[r];
            slot[r] = next;
            next += count;
            FRankEnds[r] = next;
        }
        for (size_t pos = n; pos-- > 0;) {
            FCancellation.Tick(1 << 16);
            sorted[static_cast<size_t>(slot[static_cast<size_t>(Rank(static_cast<int32_t>(pos)))]++)] =
                static_cast<int32_t>(pos);
        }
    }

    int32_t Rank(int32_t position) const { return FRanks[static_cast<size_t>(FCorpus.FWordIds[static_cast<size_t>(position)])]; }
    // Whether position p has a next word in the same author's text (one bit
    // a position, so that the table stays in the cache while the walk reads
    // positions all over the corpus).
    bool HasNext(int32_t p) const { return (FHasNext[static_cast<size_t>(p) >> 6] >> (p & 63)) & 1u; }
    int32_t Id(int32_t position) const { return FCorpus.FWordIds[static_cast<size_t>(position)]; }

    // What one walk over part of the sorted list changes; walks over
    // different groups of runs can go on side by side.
    struct TWalk {
        std::vector<int32_t> Buffer;   // the lists of all open levels, one after another
        std::vector<int32_t> Ids;      // per entry of Buffer, the id of its last word
        std::vector<int32_t> ScratchCounts;    // per author, 0 between phrases
        std::vector<int32_t> Touched;          // authors counted for the current phrase
        std::vector<uint64_t> SortKeys;        // scratch of MakeExtensions for long runs
        std::vector<uint64_t> SortSpare;       // the same
        std::vector<int32_t> SortEntries;      // the same
        std::vector<int32_t> SortIds;          // the same
        uint32_t Ticks = 0;                    // steps, for asking about cancellation
    };

    // A phrase as a walk finds it, before it becomes an engine record; its
    // counts are the Touched authors of the walk with their scratch counts.
    struct TFoundPhrase {
        int32_t Start;
        int32_t Words;
        int32_t Instances;
        int32_t Unique;
        int32_t Length;
        int32_t CountAuthors;
        bool HasBlank;
        uint64_t Mask;
    };

    // The phrases of a group of runs, found on a thread of their own.
    struct TGroup {
        size_t Begin = 0;   // the runs are sorted[Begin, End)
        size_t End = 0;
        std::vector<TFoundPhrase> Phrases;
        std::vector<TAuthorCount> Counts;   // CountAuthors entries per phrase, one after another
        int64_t Instances = 0;
        bool OverBudget = false;
    };

    void FindPhrases()
    {
        const std::vector<int32_t>& sorted = FCorpus.FWordsAlphabetic;
        if (sorted.size() < 2)
            return;
        if (FEngine.ParallelFor() && FindPhrasesInGroups())
            return;
        // The groups one after another are the single walk: its runs are
        // independent, and a group's list is a copy of a part of the sorted
        // list rather than of all of it.
        TWalk walk;
        for (const TGroup& group : GroupRuns()) {
            walk.Buffer.assign(sorted.begin() + static_cast<std::ptrdiff_t>(group.Begin),
                               sorted.begin() + static_cast<std::ptrdiff_t>(group.End));
            AddIds(walk);
            Walk(walk,
                 [&](size_t runBegin, size_t runEnd, int32_t level, int32_t length, bool hasBlank, uint64_t mask) {
                     const auto instances = static_cast<int32_t>(runEnd - runBegin);
                     ++FPhraseCount;
                     FInstanceCount += instances;
                     if (FPhraseCount > FEngine.Budget().MaxPhrases || FInstanceCount > FEngine.Budget().MaxInstances)
                         throw TPassageTooLongError(
                             DescribeLongPassage(walk.Buffer[runBegin], walk.Buffer[runBegin + 1], level));
                     const TFoundPhrase found = Count(walk, runBegin, runEnd, level, length, hasBlank, mask);
                     Store(found, walk);
                     return true;
                 });
        }
    }

    // The runs of the first level are independent: each one's phrases come
    // from its own entries only. Groups of whole runs are searched side by
    // side, then stored in list order, which is the order of the single
    // walk. False, with nothing stored, when a group went past the budget
    // or failed: the single walk then meets the same limit or error at the
    // same phrase.
    bool FindPhrasesInGroups()
    {
        std::vector<TGroup> groups = GroupRuns();
        // The groups' lists are made here, on the thread that stores the
        // phrases, with room for a phrase per four words (a tenth is usual):
        // the memory they give back as they are stored then serves the
        // records, where memory taken on a pool thread would stay with that
        // thread. Room never used is never touched.
        for (TGroup& group : groups) {
            group.Phrases.reserve((group.End - group.Begin) / 4);
            group.Counts.reserve(group.End - group.Begin);
        }
        try {
            RunParts(FEngine.ParallelFor(), groups.size(), [&](size_t g) { FindGroup(groups[g]); });
        } catch (...) {
            FCancellation.Check();
            return FStop.stop_requested();
        }
        if (FStop.stop_requested())
            return true;
        int64_t phrases = 0;
        int64_t instances = 0;
        for (const TGroup& group : groups) {
            phrases += static_cast<int64_t>(group.Phrases.size());
            instances += group.Instances;
            if (group.OverBudget)
                return false;
        }
        if (phrases > FEngine.Budget().MaxPhrases || instances > FEngine.Budget().MaxInstances)
            return false;
        ReservePhraseLists(groups, phrases);
        TWalk storing;
        for (TGroup& group : groups) {
            size_t entry = 0;
            for (const TFoundPhrase& found : group.Phrases) {
                storing.Touched.clear();
                storing.ScratchCounts.resize(static_cast<size_t>(FAuthorCount));
                for (int32_t j = 0; j < found.CountAuthors; ++j, ++entry) {
                    const TAuthorCount& count = group.Counts[entry];
                    storing.Touched.push_back(count.Author);
                    storing.ScratchCounts[static_cast<size_t>(count.Author)] = count.Count;
                }
                Store(found, storing);
            }
            group = {};   // frees the group's lists as soon as they are stored
        }
        return true;
    }

    // Room for every phrase the groups found in the lists they go to: the
    // lists then never move their entries to grow, nor keep spare room.
    void ReservePhraseLists(const std::vector<TGroup>& groups, int64_t phrases)
    {
        std::vector<size_t> perAuthor(static_cast<size_t>(FAuthorCount), 0);
        for (const TGroup& group : groups) {
            for (const TAuthorCount& count : group.Counts)
                ++perAuthor[static_cast<size_t>(count.Author)];
        }
        const auto& authors = FEngine.Authors();
        for (size_t a = 0; a < perAuthor.size(); ++a)
            authors[a]->FPhrases.reserve(authors[a]->FPhrases.size() + perAuthor[a]);
        FCorpus.FPhrases.reserve(FCorpus.FPhrases.size() + static_cast<size_t>(phrases));
    }

    // Cuts the sorted list into groups of about equal size, more groups
    // than threads so that a long run evens out. A cut between two ranks is
    // a cut between runs of different words, and the ranks' bounds are
    // known from the word sort without reading the list.
    std::vector<TGroup> GroupRuns() const
    {
        constexpr size_t kGroups = 64;
        const size_t size = FCorpus.FWordsAlphabetic.size();
        const size_t target = std::max<size_t>(1, size / kGroups);
        std::vector<TGroup> groups;
        size_t begin = 0;
        for (const int32_t rankEnd : FRankEnds) {
            const auto end = static_cast<size_t>(rankEnd);
            if (end > begin && (end - begin >= target || end == size)) {
                TGroup& group = groups.emplace_back();
                group.Begin = begin;
                group.End = end;
                begin = end;
            }
        }
        return groups;
    }

    void FindGroup(TGroup& group) const
    {
        const std::vector<int32_t>& sorted = FCorpus.FWordsAlphabetic;
        TWalk walk;
        walk.Buffer.assign(sorted.begin() + static_cast<std::ptrdiff_t>(group.Begin),
                           sorted.begin() + static_cast<std::ptrdiff_t>(group.End));
        AddIds(walk);
        // Found by this group and not yet added to the shared totals.
        int64_t newPhrases = 0;
        int64_t newInstances = 0;
        Walk(walk, [&](size_t runBegin, size_t runEnd, int32_t level, int32_t length, bool hasBlank, uint64_t mask) {
            if (FStop.stop_requested())
                return false;
            group.Instances += static_cast<int64_t>(runEnd - runBegin);
            ++newPhrases;
            newInstances += static_cast<int64_t>(runEnd - runBegin);
            if ((newPhrases & 4095) == 0) {
                FGroupPhrases += std::exchange(newPhrases, 0);
                FGroupInstances += std::exchange(newInstances, 0);
            }
            // The groups together (or one alone) past the budget mean the
            // whole list is too.
            if (FGroupPhrases + newPhrases > FEngine.Budget().MaxPhrases
                || FGroupInstances + newInstances > FEngine.Budget().MaxInstances) {
                group.OverBudget = true;
                return false;
            }
            group.Phrases.push_back(Count(walk, runBegin, runEnd, level, length, hasBlank, mask));
            for (const int32_t author : walk.Touched) {
                int32_t& count = walk.ScratchCounts[static_cast<size_t>(author)];
                group.Counts.push_back({author, count});
                count = 0;
            }
            return true;
        });
    }

    // Walks the list in walk.Buffer level by level, depth first, and hands
    // every repeated run to `found` (run bounds in the buffer, words, code
    // units, blank inside a word, char mask); stops when it returns false.
    template <typename TFound>
    void Walk(TWalk& walk, TFound&& found) const
    {
        std::vector<int32_t>& buffer = walk.Buffer;
        std::vector<int32_t>& ids = walk.Ids;
        std::vector<TFrame> frames{{buffer.size(), 0, 1, 0, false, 0}};
        while (!frames.empty()) {
            // Every walk counts for itself: walks may run side by side.
            if ((++walk.Ticks & 1023u) == 0)
                FCancellation.Check();
            TFrame& frame = frames.back();
            if (frame.Cursor >= frame.End) {
                buffer.resize(FrameBegin(frames));
                ids.resize(buffer.size());
                frames.pop_back();
                continue;
            }
            const size_t runBegin = frame.Cursor;
            const int32_t id = ids[runBegin];
            size_t runEnd = runBegin + 1;
            while (runEnd < frame.End && ids[runEnd] == id)
                ++runEnd;
            frame.Cursor = runEnd;
            if (runEnd - runBegin < 2)
                continue;

            const TFrame current = frame;
            const int32_t wordLength = FLengths[static_cast<size_t>(id)];
            const int32_t length = current.Level == 1 ? wordLength : current.PrefixLength + 1 + wordLength;
            const bool hasBlank = current.PrefixHasBlank || FHasBlank[static_cast<size_t>(id)];
            const uint64_t mask = FMasks[static_cast<size_t>(id)]
                | (current.Level == 1 ? 0 : current.PrefixMask | CharMaskOf(u" "));
            if (!found(runBegin, runEnd, current.Level, length, hasBlank, mask))
                return;

            const size_t childBegin = buffer.size();
            MakeExtensions(walk, runBegin, runEnd);
            if (buffer.size() - childBegin >= 2) {
                frames.push_back({buffer.size(), childBegin, current.Level + 1, length, hasBlank, mask});
            } else {
                buffer.resize(childBegin);
                ids.resize(childBegin);
            }
        }
    }

    // The list of the top frame begins where the list below it ends.
    static size_t FrameBegin(const std::vector<TFrame>& frames)
    {
        return frames.size() >= 2 ? frames[frames.size() - 2].End : 0;
    }

    // The ids of the entries of the first list, which the walk reads run by
    // run instead of looking each one up in the corpus again.
    void AddIds(TWalk& walk) const
    {
        walk.Ids.resize(walk.Buffer.size());
        for (size_t i = 0; i < walk.Buffer.size(); ++i) {
            if (i + kLookAhead < walk.Buffer.size())
                PrefetchId(walk.Buffer[i + kLookAhead]);
            walk.Ids[i] = Id(walk.Buffer[i]);
        }
    }

    // How far ahead of their reading the ids of scattered positions are
    // asked for, in entries.
    static constexpr size_t kLookAhead = 16;
    // Asks the memory for the id of `position` without waiting for it; a
    // position past the corpus is never read.
    void PrefetchId(int32_t position) const
    {
#if defined(__GNUC__)
        __builtin_prefetch(FCorpus.FWordIds.data() + position);
#else
        (void)position;
#endif
    }

    // Appends the extensions of a run that have a next word, in the order of
    // their insertion into a sorted list, with their ids.
    void MakeExtensions(TWalk& walk, size_t runBegin, size_t runEnd) const
    {
        std::vector<int32_t>& buffer = walk.Buffer;
        std::vector<int32_t>& ids = walk.Ids;
        const size_t childBegin = buffer.size();
        // Inserting in run order puts later entries in front of equal ones:
        // reverse first, then a stable sort by rank.
        // The next words lie all over the corpus: their ids are asked for
        // a few entries ahead of their reading.
        buffer.resize(childBegin + (runEnd - runBegin));
        ids.resize(buffer.size());
        size_t made = childBegin;
        for (size_t i = runEnd; i-- > runBegin;) {
            if (i >= runBegin + kLookAhead)
                PrefetchId(buffer[i - kLookAhead] + 1);
            const int32_t q = buffer[i];
            if (HasNext(q)) {
                buffer[made] = q + 1;
                ids[made] = Id(q + 1);
                ++made;
            }
        }
        buffer.resize(made);
        ids.resize(made);
        const size_t count = made - childBegin;
        int32_t* entries = buffer.data() + childBegin;
        int32_t* entryIds = ids.data() + childBegin;
        const auto rankOf = [&](int32_t id) { return FRanks[static_cast<size_t>(id)]; };
        if (count <= 16) {
            // Most runs are short: a stable insertion sort without the
            // buffer that std::stable_sort allocates.
            for (size_t k = 1; k < count; ++k) {
                const int32_t entry = entries[k];
                const int32_t id = entryIds[k];
                const int32_t rank = rankOf(id);
                size_t hole = k;
                for (; hole > 0 && rank < rankOf(entryIds[hole - 1]); --hole) {
                    entries[hole] = entries[hole - 1];
                    entryIds[hole] = entryIds[hole - 1];
                }
                entries[hole] = entry;
                entryIds[hole] = id;
            }
            return;
        }
        if (count >= kRadixSortFrom) {
            RadixSortByRank(walk, entries, entryIds, count);
            return;
        }
        // A stable sort by rank is a sort by (rank, place in the list): both
        // packed into one integer, each rank read once rather than at every
        // comparison.
        std::vector<uint64_t>& keys = walk.SortKeys;
        keys.resize(count);
        for (size_t k = 0; k < count; ++k)
            keys[k] = static_cast<uint64_t>(static_cast<uint32_t>(rankOf(entryIds[k]))) << 32 | k;
        std::sort(keys.begin(), keys.end());
        walk.SortEntries.assign(entries, entries + count);
        walk.SortIds.assign(entryIds, entryIds + count);
        for (size_t k = 0; k < count; ++k) {
            const auto from = static_cast<size_t>(keys[k] & 0xFFFFFFFFu);
            entries[k] = walk.SortEntries[from];
            entryIds[k] = walk.SortIds[from];
        }
    }

    // From this many extensions on, they are sorted by a radix sort, whose
    // passes cost a fixed table each but no comparisons.
    static constexpr size_t kRadixSortFrom = 2048;
    static constexpr int kRadixBits = 11;

    // A stable sort of `count` entries and their ids by the ids' ranks,
    // least significant digit first: every pass keeps the order of equal
    // digits, so equal ranks keep their order. Each entry travels with its
    // id as one integer.
    void RadixSortByRank(TWalk& walk, int32_t* entries, int32_t* entryIds, size_t count) const
    {
        std::vector<uint64_t>& items = walk.SortKeys;
        std::vector<uint64_t>& spare = walk.SortSpare;
        items.resize(count);
        spare.resize(count);
        for (size_t k = 0; k < count; ++k)
            items[k] =
                static_cast<uint64_t>(static_cast<uint32_t>(entryIds[k])) << 32 | static_cast<uint32_t>(entries[k]);
        constexpr uint32_t kDigit = (1u << kRadixBits) - 1;
        const auto digitOf = [&](uint64_t item, int shift) {
            return (static_cast<uint32_t>(FRanks[static_cast<size_t>(item >> 32)]) >> shift) & kDigit;
        };
        const auto highestRank = static_cast<uint32_t>(FRanks.empty() ? 0 : FRanks.size() - 1);
        std::array<uint32_t, size_t{1} << kRadixBits> starts{};
        for (int shift = 0; shift < 32 && (highestRank >> shift) != 0; shift += kRadixBits) {
            starts.fill(0);
            for (const uint64_t item : items)
                ++starts[digitOf(item, shift)];
            uint32_t sum = 0;
            for (uint32_t& start : starts)
                sum += std::exchange(start, sum);
            for (const uint64_t item : items)
                spare[starts[digitOf(item, shift)]++] = item;
            items.swap(spare);
        }
        for (size_t k = 0; k < count; ++k) {
            entries[k] = static_cast<int32_t>(static_cast<uint32_t>(items[k]));
            entryIds[k] = static_cast<int32_t>(items[k] >> 32);
        }
    }

    // The fields of the phrase of a run; its authors are left in
    // walk.Touched (ascending) with their counts in walk.ScratchCounts.
    TFoundPhrase Count(TWalk& walk, size_t runBegin, size_t runEnd, int32_t level, int32_t length, bool hasBlank,
                       uint64_t mask) const
    {
        const std::vector<int32_t>& buffer = walk.Buffer;
        const auto instances = static_cast<int32_t>(runEnd - runBegin);
        int32_t firstStart = buffer[runBegin];
        for (size_t i = runBegin + 1; i < runEnd; ++i)
            firstStart = std::min(firstStart, buffer[i]);
        firstStart -= level - 1;

        // Counts go to a scratch list indexed by author; only the authors
        // that hold the phrase are kept.
        if (walk.ScratchCounts.empty())
            walk.ScratchCounts.assign(static_cast<size_t>(FAuthorCount), 0);
        walk.Touched.clear();
        const int32_t test = FAuthorCount - 1;
        int32_t unique = -1;
        bool shared = false;
        for (size_t i = runBegin; i < runEnd; ++i) {
            const int32_t author = AuthorOf(buffer[i]);
            if (author < 0 || author >= FAuthorCount)
                throw std::out_of_range("List index out of bounds (" + std::to_string(author) + ")");
            if (walk.ScratchCounts[static_cast<size_t>(author)]++ == 0)
                walk.Touched.push_back(author);
            if (author != test && unique == -1)
                unique = author;
            else if (unique != author && unique != -1 && author != test)
                shared = true;
            if (shared)
                unique = -1;
        }
        std::sort(walk.Touched.begin(), walk.Touched.end());
        return {firstStart, level, instances, unique, length, static_cast<int32_t>(walk.Touched.size()), hasBlank,
                mask};
    }

    // Makes the engine record of a found phrase and lists it for the corpus
    // and for its authors (walk.Touched); clears their scratch counts.
    void Store(const TFoundPhrase& found, TWalk& walk)
    {
        TPhrase& phrase = FEngine.NewPhrase(&FWords, found.Start, found.Words);
        phrase.SetWordIds(FCorpus.FWordIds.data());
        if (!FCorpus.FWordPieces.Ids.empty())
            phrase.SetPieces(&FCorpus.FWordPieces);
        phrase.SetUnique(found.Unique);

        const int32_t countAuthors = found.CountAuthors;
        TAuthorCount* entries = FEngine.NewCountEntries(countAuthors);
        const auto& authors = FEngine.Authors();
        for (int32_t j = 0; j < countAuthors; ++j) {
            const int32_t k = walk.Touched[static_cast<size_t>(j)];
            int32_t& count = walk.ScratchCounts[static_cast<size_t>(k)];
            entries[j] = {k, count};
            count = 0;
            authors[static_cast<size_t>(k)]->FPhrases.push_back(&phrase);
        }
        phrase.SetAuthorsCounts({entries, static_cast<size_t>(countAuthors)}, FAuthorCount);
        phrase.SetCountAuthors(countAuthors);
        phrase.SetCountInstances(found.Instances);
        phrase.SetValueLength(found.Length);
        phrase.SetHasBlankInWord(found.HasBlank);
        phrase.SetCharMask(found.Mask);
        FCorpus.FPhrases.push_back(&phrase);
    }

    // The user's words for a verbatim passage too long to compare: how long
    // the stretch around the instances ending at `a` and `b` runs identical.
    std::string DescribeLongPassage(int32_t a, int32_t b, int32_t level) const
    {
        int32_t startA = a - level + 1;
        int32_t startB = b - level + 1;
        int32_t words = level;
        while (HasNext(a) && HasNext(b) && Id(a + 1) == Id(b + 1)) {
            ++a;
            ++b;
            ++words;
        }
        while (startA > 0 && startB > 0 && HasNext(startA - 1) && HasNext(startB - 1)
               && Id(startA - 1) == Id(startB - 1)) {
            --startA;
            --startB;
            ++words;
        }
        const auto& authors = FEngine.Authors();
        const int32_t authorA = AuthorOf(a);
        const int32_t authorB = AuthorOf(b);
        const auto name = [&](int32_t k) { return "\"" + ToUtf8(authors[static_cast<size_t>(k)]->Name()) + "\""; };
        const int32_t test = FAuthorCount - 1;
        const std::string count = FormatCount(words, FEngine.LocaleName());
        std::string what;
        if (authorA == authorB)
            what = "The texts of " + name(authorA) + " repeat a passage of " + count + " words.";
        else if (authorA == test || authorB == test)
            what = "The text " + name(test) + " and the texts of " + name(authorA == test ? authorB : authorA)
                + " share a passage of " + count + " words.";
        else
            what = "The texts of " + name(std::min(authorA, authorB)) + " and " + name(std::max(authorA, authorB))
                + " share a passage of " + count + " words.";
        return what + " Such a long copy cannot be compared phrase by phrase; remove it and calculate again.";
    }

    TWordsAll& FCorpus;
    TQuillprint& FEngine;
    const std::stop_token FStop;
    const TWordList& FWords;
    const int32_t FAuthorCount;
    TCancellation& FCancellation;

    std::vector<int32_t> FRanks;
    std::vector<uint8_t> FHasBlank;
    std::vector<uint64_t> FMasks;
    std::vector<int32_t> FLengths;   // per word id, its length in code units
    std::vector<int32_t> FRankEnds;  // per rank, where its words end in the sorted list
    std::vector<uint64_t> FHasNext;  // per position, a bit: HasNext
    // Positions per block of AuthorOf's table, as a power of two.
    static constexpr int kAuthorBlockBits = 8;
    std::vector<int32_t> FAuthorAtBlock;
    int64_t FPhraseCount = 0;
    int64_t FInstanceCount = 0;
    // What the groups searched side by side have found so far, added up in
    // batches: past the budget every group gives up.
    mutable std::atomic<int64_t> FGroupPhrases = 0;
    mutable std::atomic<int64_t> FGroupInstances = 0;
};

void ExtractPhrases(TWordsAll& corpus, TQuillprint& engine, std::stop_token stop)
{
    TPhraseSearch(corpus, engine, std::move(stop)).Run();
}

}  // namespace quillprint
