#include "engine/PhraseExtraction.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>

#include "engine/Author.h"
#include "engine/Cancellation.h"
#include "engine/EngineError.h"
#include "engine/PhraseOrder.h"
#include "engine/Quillprint.h"
#include "engine/Text.h"

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
    TPhraseSearch(TWordsAll& corpus, TQuillprint& engine)
        : FCorpus(corpus)
        , FEngine(engine)
        , FWords(corpus.Text())
        , FAuthorCount(static_cast<int32_t>(engine.Authors().size()))
        , FCancellation(engine.Cancellation())
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
        size_t End;         // the list is FBuffer[begin, End)
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
        std::unordered_map<std::u16string_view, int32_t> idOf;
        idOf.reserve(n / 4 + 16);
        std::vector<std::u16string_view> distinct;
        for (size_t pos = 0; pos < n; ++pos) {
            FCancellation.Tick(1 << 16);
            const std::u16string_view word = FWords[pos];
            auto [it, inserted] = idOf.try_emplace(word, static_cast<int32_t>(distinct.size()));
            if (inserted)
                distinct.push_back(word);
            FIds[pos] = it->second;
        }
        FRanks = FEngine.Collation().Ranks(distinct);
        FHasBlank.resize(distinct.size());
        FMasks.resize(distinct.size());
        bool anyBlank = false;
        for (size_t id = 0; id < distinct.size(); ++id) {
            FHasBlank[id] = distinct[id].find(u' ') != std::u16string_view::npos;
            FMasks[id] = CharMaskOf(distinct[id]);
            anyBlank = anyBlank || FHasBlank[id];
        }
        if (anyBlank)
            CutIntoPieces();
    }

    // The containment filter compares phrases piece by piece when a word
    // holds a blank, as it compares them word by word otherwise.
    void CutIntoPieces()
    {
        TWordPieces& pieces = FCorpus.FWordPieces;
        pieces = {};
        pieces.FirstPiece.reserve(FWords.size() + 1);
        std::unordered_map<std::u16string_view, int32_t> idOf;
        for (const std::u16string& word : FWords) {
            pieces.FirstPiece.push_back(static_cast<int32_t>(pieces.Ids.size()));
            const std::u16string_view rest = word;
            size_t begin = 0;
            while (true) {
                const size_t blank = rest.find(u' ', begin);
                const std::u16string_view piece = rest.substr(begin, blank == std::u16string_view::npos ? std::u16string_view::npos : blank - begin);
                const auto [it, inserted] = idOf.try_emplace(piece, static_cast<int32_t>(idOf.size()));
                pieces.Ids.push_back(it->second);
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
        FHasNext.assign(static_cast<size_t>(n), 0);
        for (int32_t p = 0; p + 1 < n; ++p)
            FHasNext[static_cast<size_t>(p)] = !isStart[static_cast<size_t>(p) + 1];

        // The author of position p is the number of start entries not above p
        // (the lookup by the position just after an instance).
        FAuthorOf.resize(static_cast<size_t>(n));
        size_t below = 0;
        for (int32_t p = 0; p < n; ++p) {
            while (below < starts.size() && starts[below] <= p)
                ++below;
            FAuthorOf[static_cast<size_t>(p)] = static_cast<int32_t>(below);
        }
    }

    void SortWords()
    {
        // Words were inserted by ascending position, so equal ones stand in
        // descending position order: a counting sort by collation rank that
        // deals the positions out from the last one.
        std::vector<int32_t>& sorted = FCorpus.FWordsAlphabetic;
        sorted.resize(FWords.size());
        std::vector<int32_t> slot(FRanks.size() + 1, 0);
        for (size_t pos = 0; pos < FWords.size(); ++pos)
            ++slot[static_cast<size_t>(Rank(static_cast<int32_t>(pos))) + 1];
        for (size_t r = 1; r < slot.size(); ++r)
            slot[r] += slot[r - 1];
        for (size_t pos = FWords.size(); pos-- > 0;)
            sorted[static_cast<size_t>(slot[static_cast<size_t>(Rank(static_cast<int32_t>(pos)))]++)] = static_cast<int32_t>(pos);
    }

    int32_t Rank(int32_t position) const { return FRanks[static_cast<size_t>(FCorpus.FWordIds[static_cast<size_t>(position)])]; }
    int32_t Id(int32_t position) const { return FCorpus.FWordIds[static_cast<size_t>(position)]; }

    void FindPhrases()
    {
        const std::vector<int32_t>& sorted = FCorpus.FWordsAlphabetic;
        if (sorted.size() < 2)
            return;
        FBuffer.assign(sorted.begin(), sorted.end());
        std::vector<TFrame> frames{{FBuffer.size(), 0, 1, 0, false, 0}};
        while (!frames.empty()) {
            FCancellation.Tick(1024);
            TFrame& frame = frames.back();
            if (frame.Cursor >= frame.End) {
                FBuffer.resize(FrameBegin(frames));
                frames.pop_back();
                continue;
            }
            const size_t runBegin = frame.Cursor;
            const int32_t id = Id(FBuffer[runBegin]);
            size_t runEnd = runBegin + 1;
            while (runEnd < frame.End && Id(FBuffer[runEnd]) == id)
                ++runEnd;
            frame.Cursor = runEnd;
            if (runEnd - runBegin < 2)
                continue;

            const TFrame current = frame;
            const size_t wordLength = FWords[static_cast<size_t>(FBuffer[runBegin])].size();
            const int32_t length = current.Level == 1
                ? static_cast<int32_t>(wordLength)
                : current.PrefixLength + 1 + static_cast<int32_t>(wordLength);
            const bool hasBlank = current.PrefixHasBlank || FHasBlank[static_cast<size_t>(id)];
            const uint64_t mask = FMasks[static_cast<size_t>(id)]
                | (current.Level == 1 ? 0 : current.PrefixMask | CharMaskOf(u" "));
            RecordPhrase(runBegin, runEnd, current.Level, length, hasBlank, mask);

            const size_t childBegin = FBuffer.size();
            MakeExtensions(runBegin, runEnd);
            if (FBuffer.size() - childBegin >= 2)
                frames.push_back({FBuffer.size(), childBegin, current.Level + 1, length, hasBlank, mask});
            else
                FBuffer.resize(childBegin);
        }
    }

    // The list of the top frame begins where the list below it ends.
    size_t FrameBegin(const std::vector<TFrame>& frames) const
    {
        return frames.size() >= 2 ? frames[frames.size() - 2].End : 0;
    }

    // Appends the extensions of a run that have a next word, in the order of
    // their insertion into a sorted list.
    void MakeExtensions(size_t runBegin, size_t runEnd)
    {
        const size_t childBegin = FBuffer.size();
        // Inserting in run order puts later entries in front of equal ones:
        // reverse first, then a stable sort by rank.
        for (size_t i = runEnd; i-- > runBegin;) {
            const int32_t q = FBuffer[i];
            if (FHasNext[static_cast<size_t>(q)])
                FBuffer.push_back(q + 1);
        }
        const auto first = FBuffer.begin() + static_cast<std::ptrdiff_t>(childBegin);
        const auto byRank = [&](int32_t a, int32_t b) { return Rank(a) < Rank(b); };
        if (FBuffer.end() - first <= 16) {
            // Most runs are short: a stable insertion sort without the
            // buffer that std::stable_sort allocates.
            for (auto it = first + 1; it < FBuffer.end(); ++it) {
                const int32_t entry = *it;
                auto hole = it;
                for (; hole > first && byRank(entry, hole[-1]); --hole)
                    *hole = hole[-1];
                *hole = entry;
            }
        } else {
            std::stable_sort(first, FBuffer.end(), byRank);
        }
    }

    void RecordPhrase(size_t runBegin, size_t runEnd, int32_t level, int32_t length, bool hasBlank, uint64_t mask)
    {
        const auto instances = static_cast<int32_t>(runEnd - runBegin);
        ++FPhraseCount;
        FInstanceCount += instances;
        if (FPhraseCount > FEngine.Budget().MaxPhrases || FInstanceCount > FEngine.Budget().MaxInstances)
            throw TPassageTooLongError(DescribeLongPassage(FBuffer[runBegin], FBuffer[runBegin + 1], level));

        int32_t firstStart = FBuffer[runBegin];
        for (size_t i = runBegin + 1; i < runEnd; ++i)
            firstStart = std::min(firstStart, FBuffer[i]);
        firstStart -= level - 1;

        TPhrase& phrase = FEngine.NewPhrase(&FWords, firstStart, level);
        phrase.SetWordIds(FCorpus.FWordIds.data());
        if (!FCorpus.FWordPieces.Ids.empty())
            phrase.SetPieces(&FCorpus.FWordPieces);
        // Counts go to a scratch list indexed by author; only the authors
        // that hold the phrase are kept.
        if (FScratchCounts.empty())
            FScratchCounts.assign(static_cast<size_t>(FAuthorCount), 0);
        FTouched.clear();
        const int32_t test = FAuthorCount - 1;
        int32_t unique = -1;
        bool shared = false;
        for (size_t i = runBegin; i < runEnd; ++i) {
            const int32_t author = FAuthorOf[static_cast<size_t>(FBuffer[i])];
            if (author < 0 || author >= FAuthorCount)
                throw std::out_of_range("List index out of bounds (" + std::to_string(author) + ")");
            if (FScratchCounts[static_cast<size_t>(author)]++ == 0)
                FTouched.push_back(author);
            if (author != test && unique == -1)
                unique = author;
            else if (unique != author && unique != -1 && author != test)
                shared = true;
            if (shared)
                unique = -1;
        }
        phrase.SetUnique(unique);

        std::sort(FTouched.begin(), FTouched.end());
        const auto countAuthors = static_cast<int32_t>(FTouched.size());
        TAuthorCount* entries = FEngine.NewCountEntries(countAuthors);
        const auto& authors = FEngine.Authors();
        for (int32_t j = 0; j < countAuthors; ++j) {
            const int32_t k = FTouched[static_cast<size_t>(j)];
            int32_t& count = FScratchCounts[static_cast<size_t>(k)];
            entries[j] = {k, count};
            count = 0;
            authors[static_cast<size_t>(k)]->FPhrases.push_back(&phrase);
        }
        phrase.SetAuthorsCounts({entries, static_cast<size_t>(countAuthors)}, FAuthorCount);
        phrase.SetCountAuthors(countAuthors);
        phrase.SetCountInstances(instances);
        phrase.SetValueLength(length);
        phrase.SetHasBlankInWord(hasBlank);
        phrase.SetCharMask(mask);
        FCorpus.FPhrases.push_back(&phrase);
    }

    // The user's words for a verbatim passage too long to compare: how long
    // the stretch around the instances ending at `a` and `b` runs identical.
    std::string DescribeLongPassage(int32_t a, int32_t b, int32_t level) const
    {
        int32_t startA = a - level + 1;
        int32_t startB = b - level + 1;
        int32_t words = level;
        while (FHasNext[static_cast<size_t>(a)] && FHasNext[static_cast<size_t>(b)] && Id(a + 1) == Id(b + 1)) {
            ++a;
            ++b;
            ++words;
        }
        while (startA > 0 && startB > 0 && FHasNext[static_cast<size_t>(startA - 1)]
               && FHasNext[static_cast<size_t>(startB - 1)] && Id(startA - 1) == Id(startB - 1)) {
            --startA;
            --startB;
            ++words;
        }
        const auto& authors = FEngine.Authors();
        const int32_t authorA = FAuthorOf[static_cast<size_t>(a)];
        const int32_t authorB = FAuthorOf[static_cast<size_t>(b)];
        const auto name = [&](int32_t k) { return "\"" + ToUtf8(authors[static_cast<size_t>(k)]->Name()) + "\""; };
        const int32_t test = FAuthorCount - 1;
        const std::string count = GroupThousands(words);
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

    static std::string GroupThousands(int64_t value)
    {
        std::string digits = std::to_string(value);
        for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
            digits.insert(static_cast<size_t>(i), ",");
        return digits;
    }

    TWordsAll& FCorpus;
    TQuillprint& FEngine;
    const TWordList& FWords;
    const int32_t FAuthorCount;
    TCancellation& FCancellation;

    std::vector<int32_t> FRanks;
    std::vector<uint8_t> FHasBlank;
    std::vector<uint64_t> FMasks;
    std::vector<uint8_t> FHasNext;
    std::vector<int32_t> FAuthorOf;
    std::vector<int32_t> FBuffer;   // the lists of all open levels, one after another
    std::vector<int32_t> FScratchCounts;    // per author, 0 between phrases
    std::vector<int32_t> FTouched;          // authors counted for the current phrase
    int64_t FPhraseCount = 0;
    int64_t FInstanceCount = 0;
};

void ExtractPhrases(TWordsAll& corpus, TQuillprint& engine)
{
    TPhraseSearch(corpus, engine).Run();
}

}  // namespace quillprint
