#include "engine/PhraseOrder.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <utility>

#include "engine/Cancellation.h"

namespace quillprint {

int32_t ComparePhrases(const TPhrase& left, const TPhrase& right)
{
    const int32_t byWords = right.CountWords() - left.CountWords();
    if (byWords != 0)
        return byWords;
    return right.CountInstances() - left.CountInstances();
}

namespace {

using TRange = std::pair<int64_t, int64_t>;  // first and last index, both included

// A phrase with the two fields of its order packed into one integer that
// ascends as ComparePhrases does (more words, then more instances, first),
// so that the sort compares integers side by side in one array instead of
// reading records all over memory.
struct TSortItem {
    uint64_t Key;
    TPhrase* Phrase;
};

uint64_t SortKey(const TPhrase& phrase)
{
    // Flipping the sign bit keeps the order of signed values; the
    // complement reverses it.
    const auto descending = [](int32_t value) { return ~(static_cast<uint32_t>(value) ^ 0x80000000u); };
    return static_cast<uint64_t>(descending(phrase.CountWords())) << 32 | descending(phrase.CountInstances());
}

// One partition step over [left, right] around its middle element: the
// phrases before the pivot end up in [left, j], those after it in
// [i, right], those between in their final places.
std::pair<int64_t, int64_t> Partition(std::vector<TSortItem>& phrases, int64_t left, int64_t right)
{
    int64_t i = left;
    int64_t j = right;
    const uint64_t pivot = phrases[static_cast<size_t>(left + (right - left) / 2)].Key;
    do {
        while (phrases[static_cast<size_t>(i)].Key < pivot)
            ++i;
        while (phrases[static_cast<size_t>(j)].Key > pivot)
            --j;
        if (i <= j) {
            if (i != j)
                std::swap(phrases[static_cast<size_t>(i)], phrases[static_cast<size_t>(j)]);
            ++i;
            --j;
        }
    } while (i <= j);
    return {i, j};
}

void SortRange(std::vector<TSortItem>& phrases, TRange range, const std::stop_token& stop)
{
    // Ranges still to sort; the right part of each partition is handled in
    // the loop, the left part is pushed.
    std::vector<TRange> pending{range};
    while (!pending.empty()) {
        if (stop.stop_requested())
            throw TCalculationCancelled();
        auto [left, right] = pending.back();
        pending.pop_back();
        while (right - left > 0) {
            const auto [i, j] = Partition(phrases, left, right);
            if (left < j)
                pending.emplace_back(left, j);
            left = i;
            if (i >= right)
                break;
        }
    }
}

}  // namespace

void PartitionSortPhrases(std::vector<TPhrase*>& list, TCancellation* cancellation, const TParallelFor& runner)
{
    if (list.size() < 2)
        return;
    const std::stop_token stop = cancellation != nullptr ? cancellation->Token() : std::stop_token{};
    std::vector<TSortItem> phrases(list.size());
    for (size_t p = 0; p < list.size(); ++p)
        phrases[p] = {SortKey(*list[p]), list[p]};
    std::vector<TRange> parts{{0, static_cast<int64_t>(phrases.size()) - 1}};
    // The parts of a partition are sorted independently of each other, so
    // the largest part is split until there are enough to share out; each
    // is then sorted as the single pass would, with the same result.
    constexpr size_t kParts = 16;
    constexpr int64_t kSmallestSplit = 16384;
    while (runner && parts.size() < kParts) {
        const auto largest = std::max_element(parts.begin(), parts.end(), [](const TRange& a, const TRange& b) {
            return a.second - a.first < b.second - b.first;
        });
        const auto [left, right] = *largest;
        if (right - left < kSmallestSplit)
            break;
        if (stop.stop_requested())
            throw TCalculationCancelled();
        const auto [i, j] = Partition(phrases, left, right);
        parts.erase(largest);
        if (left < j)
            parts.emplace_back(left, j);
        if (i < right)
            parts.emplace_back(i, right);
    }
    RunParts(runner, parts.size(), [&](size_t p) { SortRange(phrases, parts[p], stop); });
    for (size_t p = 0; p < list.size(); ++p)
        list[p] = phrases[p].Phrase;
}

namespace {

// A phrase's text as blank-free tokens, which joined by single blanks give
// Value(): its words when no word holds a blank, else its pieces.
struct TTokens {
    const std::u16string_view* Text = nullptr;  // pieces, or null for whole words
    const std::u16string* Words = nullptr;
    const int32_t* Ids = nullptr;  // null when ids cannot be compared
    int32_t Count = 0;

    std::u16string_view operator[](int32_t k) const
    {
        return Text != nullptr ? Text[k] : std::u16string_view(Words[k]);
    }
};

TTokens WordsOf(const TPhrase& phrase)
{
    return {nullptr, phrase.Corpus()->data() + phrase.Start(),
            phrase.WordIds() != nullptr ? phrase.WordIds() + phrase.Start() : nullptr, phrase.CountWords()};
}

TTokens PiecesOf(const TPhrase& phrase)
{
    const TWordPieces& pieces = *phrase.Pieces();
    const int32_t first = pieces.FirstPiece[static_cast<size_t>(phrase.Start())];
    const int32_t end = pieces.FirstPiece[static_cast<size_t>(phrase.Start() + phrase.CountWords())];
    return {pieces.Text.data() + first, nullptr, pieces.Ids.data() + first, end - first};
}

// Compares token i of `inner` with token j of `outer`: by id where both
// sides have ids (tokens of one corpus), else by text.
auto TokenComparer(const TTokens& inner, const TTokens& outer)
{
    const bool byId = inner.Ids != nullptr && outer.Ids != nullptr;
    return [&inner, &outer, byId](int32_t i, int32_t j) {
        return byId ? inner.Ids[i] == outer.Ids[j] : inner[i] == outer[j];
    };
}

// Token-level form of the substring test: with no blank inside a token, the
// blanks of a text are exactly its token boundaries, and `inner` occurs in
// `outer` when its first token ends a token of `outer`, its middle tokens
// equal the following tokens and its last token begins the token after them.
// Ids decide equality where both sides have them (tokens of one corpus).
bool OccursInsideByTokens(const TTokens& inner, const TTokens& outer)
{
    const int32_t n = inner.Count;
    const int32_t m = outer.Count;
    const auto sameToken = TokenComparer(inner, outer);

    if (n == 1) {
        const std::u16string_view token = inner[0];
        for (int32_t k = 0; k < m; ++k) {
            if (outer[k].find(token) != std::u16string_view::npos)
                return true;
        }
        return false;
    }
    for (int32_t k = 0; k + n <= m; ++k) {
        bool matches = true;
        for (int32_t w = 1; w + 1 < n && matches; ++w)
            matches = sameToken(w, k + w);
        if (!matches)
            continue;
        if (!sameToken(0, k) && !outer[k].ends_with(inner[0]))
            continue;
        if (!sameToken(n - 1, k + n - 1) && !outer[k + n - 1].starts_with(inner[n - 1]))
            continue;
        return true;
    }
    return false;
}

TTokens TokensOf(const TPhrase& phrase)
{
    return phrase.Pieces() != nullptr ? PiecesOf(phrase) : WordsOf(phrase);
}

// Whether the ids of two phrases' tokens come from one numbering.
bool ShareTokenIds(const TPhrase& a, const TPhrase& b)
{
    if (a.Pieces() != nullptr || b.Pieces() != nullptr)
        return a.Pieces() == b.Pieces();
    return a.WordIds() != nullptr && a.WordIds() == b.WordIds();
}

// With blanks only between tokens, the padded text of `inner` occurs in the
// padded text of `outer` exactly when its tokens equal a run of the outer
// tokens.
bool TokensOccurAsRun(const TTokens& inner, const TTokens& outer)
{
    const int32_t n = inner.Count;
    const int32_t m = outer.Count;
    const auto sameToken = TokenComparer(inner, outer);
    for (int32_t k = 0; k + n <= m; ++k) {
        int32_t w = 0;
        while (w < n && sameToken(w, k + w))
            ++w;
        if (w == n)
            return true;
    }
    return false;
}

}  // namespace

bool PhraseOccursInsideAsWords(const TPhrase& inner, const TPhrase& outer)
{
    // Without tokens to compare (a record made by hand, or words holding
    // blanks that were never cut into pieces) the texts themselves decide.
    const auto tokenized = [](const TPhrase& phrase) {
        return phrase.Corpus() != nullptr && (phrase.Pieces() != nullptr || !phrase.HasBlankInWord());
    };
    if (!tokenized(inner) || !tokenized(outer))
        return (u" " + outer.Value() + u" ").find(u" " + inner.Value() + u" ") != std::u16string::npos;
    // Two instances of the same stretch of the corpus.
    if (inner.Corpus() == outer.Corpus() && inner.Start() >= outer.Start()
        && inner.Start() + inner.CountWords() <= outer.Start() + outer.CountWords())
        return true;
    TTokens innerTokens = TokensOf(inner);
    TTokens outerTokens = TokensOf(outer);
    if (!ShareTokenIds(inner, outer))
        innerTokens.Ids = outerTokens.Ids = nullptr;
    return TokensOccurAsRun(innerTokens, outerTokens);
}

uint64_t CharMaskOf(std::u16string_view text)
{
    uint64_t mask = 0;
    for (const char16_t c : text)
        mask |= uint64_t{1} << (c & 63u);
    return mask;
}

bool PhraseOccursInside(const TPhrase& inner, const TPhrase& outer)
{
    if (inner.ValueLength() == 0 || inner.ValueLength() > outer.ValueLength())
        return false;
    if ((inner.CharMask() & ~outer.CharMask()) != 0)
        return false;
    // Two instances of the same stretch of the corpus: the inner words lie
    // within the outer ones.
    if (inner.Corpus() == outer.Corpus() && inner.Start() >= outer.Start()
        && inner.Start() + inner.CountWords() <= outer.Start() + outer.CountWords())
        return true;
    if (inner.Pieces() != nullptr && inner.Pieces() == outer.Pieces())
        return OccursInsideByTokens(PiecesOf(inner), PiecesOf(outer));
    if (inner.Corpus() != nullptr && outer.Corpus() != nullptr && !inner.HasBlankInWord() && !outer.HasBlankInWord()) {
        TTokens innerWords = WordsOf(inner);
        TTokens outerWords = WordsOf(outer);
        if (inner.WordIds() != outer.WordIds())
            innerWords.Ids = outerWords.Ids = nullptr;
        return OccursInsideByTokens(innerWords, outerWords);
    }
    return outer.Value().find(inner.Value()) != std::u16string::npos;
}

namespace {

constexpr size_t kWindow = 1000;
constexpr uint32_t kNoEntry = UINT32_MAX;
// The filter list's length of a discarded entry: longer than any text, so
// the length test alone passes it by.
constexpr int32_t kDiscardedLength = INT32_MAX;

// The two scans below are most of the filter's work, and wider vectors do
// them in fewer steps: where the compiler can, it builds them twice, for the
// processors with 256-bit integer vectors and for all others, and the
// program picks one when it starts. Both give the same marks.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__linux__)
#define QUILLPRINT_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define QUILLPRINT_WIDE_VECTORS
#endif

// The first place in the ascending [from, end) whose value is not below
// `value`: looked for one step ahead, then two, four... before bisecting,
// since the next entry of a key is mostly near.
std::vector<uint32_t>::const_iterator FirstNotBelow(std::vector<uint32_t>::const_iterator from,
                                                    std::vector<uint32_t>::const_iterator end, uint32_t value)
{
    std::ptrdiff_t step = 1;
    while (from < end && *from < value) {
        const auto probe = end - from > step ? from + step : end;
        if (probe == end || *probe >= value)
            return std::lower_bound(from + 1, probe, value);
        from = probe + 1;
        step *= 2;
    }
    return from;
}

// Marks the entries whose text may lie inside a text of `outerLength` code
// units: no longer, and no code unit outside the outer text's mask (whose
// complement is given in two halves).
QUILLPRINT_WIDE_VECTORS void MarkFitting(const int32_t* length, const uint32_t* maskLow, const uint32_t* maskHigh,
                                         size_t count, int32_t outerLength, uint32_t notOuterLow, uint32_t notOuterHigh,
                                         uint8_t* marks)
{
    for (size_t i = 0; i < count; ++i)
        marks[i] = static_cast<uint8_t>((length[i] <= outerLength) & ((maskLow[i] & notOuterLow) == 0)
                                        & ((maskHigh[i] & notOuterHigh) == 0));
}

// A keyed outer phrase: its words, the ids of its first two middle words
// (the first twice when it has one only) and its folded key.
struct TKeyedOuter {
    int32_t Words;
    int32_t Middle0;
    int32_t Middle1;
    uint32_t ShortKey;
};

// MarkFitting for a keyed outer phrase, which also leaves unmarked the keyed
// entries that cannot lie inside it: those of as many words with another
// key, and those of as many words or one fewer whose first middle word is
// not where it would have to be in the outer phrase.
QUILLPRINT_WIDE_VECTORS void MarkFittingKeyed(const int32_t* length, const uint32_t* maskLow, const uint32_t* maskHigh,
                                              const int32_t* words, const int32_t* secondWord, const uint32_t* shortKey,
                                              size_t count, int32_t outerLength, uint32_t notOuterLow,
                                              uint32_t notOuterHigh, const TKeyedOuter& outer, uint8_t* marks)
{
    for (size_t i = 0; i < count; ++i) {
        const int32_t shift = outer.Words - words[i];
        const bool keyed = secondWord[i] >= 0;
        const bool otherKey = keyed & (shift == 0) & (shortKey[i] != outer.ShortKey);
        const bool otherSecondWord =
            keyed & (shift <= 1) & (secondWord[i] != outer.Middle0) & ((shift == 0) | (secondWord[i] != outer.Middle1));
        marks[i] = static_cast<uint8_t>((length[i] <= outerLength) & ((maskLow[i] & notOuterLow) == 0)
                                        & ((maskHigh[i] & notOuterHigh) == 0) & !otherKey & !otherSecondWord);
    }
}

// How many middle words (all but the first and the last) a phrase's key is
// made of: enough that two different stretches of text rarely share it.
constexpr int32_t kKeyWords = 8;

// Two phrases of equal length in words, neither with a blank inside a word,
// can only match word for word: the first may end a word and the last begin
// one, but the words between must be the same. So phrases whose first
// middle words differ cannot lie inside one another; the key tells them apart
// by those words' ids.
uint64_t MiddleWordsKey(const TPhrase& phrase)
{
    const int32_t* ids = phrase.WordIds() + phrase.Start();
    const int32_t end = std::min(phrase.CountWords() - 1, 1 + kKeyWords);
    uint64_t key = 0;
    for (int32_t w = 1; w < end; ++w)
        key = (key ^ static_cast<uint32_t>(ids[w])) * 0x9E3779B97F4A7C15u;
    return key;
}

// Past this many words more in the outer phrase, looking for the inner
// phrase's middle words costs more than the full comparison saves.
constexpr int32_t kMostShiftsTried = 64;

// For two keyed phrases of one corpus, `inner` of no more words than
// `outer`: whether the middle words of `inner` are a run of the words of
// `outer` (the first and last word aside), which its lying inside requires.
// False only where it cannot lie inside.
bool MiddleWordsMayMatch(const TPhrase& inner, const TPhrase& outer)
{
    const int32_t shifts = outer.CountWords() - inner.CountWords();
    if (shifts > kMostShiftsTried)
        return true;
    const int32_t* innerMiddle = inner.WordIds() + inner.Start() + 1;
    const int32_t* innerEnd = innerMiddle + inner.CountWords() - 2;
    const int32_t* outerMiddle = outer.WordIds() + outer.Start() + 1;
    for (int32_t k = 0; k <= shifts; ++k) {
        if (outerMiddle[k] == *innerMiddle && std::equal(innerMiddle, innerEnd, outerMiddle + k))
            return true;
    }
    return false;
}

// The phrases used by exactly two authors, the only ones that take part in
// the containment filter, as either side. Their quick-reject data is kept in
// parallel arrays, since each one is compared with up to a thousand others.
class TFilterList {
public:
    explicit TFilterList(const std::vector<TPhrase*>& phrases)
    {
        const int32_t* sharedIds = nullptr;
        bool oneCorpus = true;
        for (size_t i = 0; i < phrases.size(); ++i) {
            TPhrase* p = phrases[i];
            if (p->CountAuthors() != 2)
                continue;
            First.push_back(static_cast<uint32_t>(Index.size()));
            Index.push_back(static_cast<uint32_t>(i));
            Length.push_back(p->Valid() ? p->ValueLength() : kDiscardedLength);
            MaskLow.push_back(static_cast<uint32_t>(p->CharMask()));
            MaskHigh.push_back(static_cast<uint32_t>(p->CharMask() >> 32));
            Valid.push_back(p->Valid() ? 1 : 0);
            Phrase.push_back(p);
            Words.push_back(p->CountWords());
            const bool keyed = p->WordIds() != nullptr && !p->HasBlankInWord() && p->CountWords() >= 3;
            const uint64_t key = keyed ? MiddleWordsKey(*p) : 0;
            ShortKey.push_back(static_cast<uint32_t>(key ^ (key >> 32)));
            SecondWord.push_back(keyed ? p->WordIds()[p->Start() + 1] : -1);
            if (sharedIds == nullptr)
                sharedIds = p->WordIds();
            oneCorpus = oneCorpus && p->WordIds() == sharedIds;
        }
        // Word ids compare only within one corpus.
        if (!oneCorpus) {
            std::fill(SecondWord.begin(), SecondWord.end(), -1);
        }
        Size = Index.size();
        LinkSameKeys();
    }

    // Drops the discarded entries from `from` on, so that long runs of them
    // are not walked again by every window.
    void Compact(size_t from)
    {
        size_t kept = from;
        for (size_t b = from; b < Size; ++b) {
            if (!Valid[b])
                continue;
            First[kept] = First[b];
            Index[kept] = Index[b];
            Length[kept] = Length[b];
            MaskLow[kept] = MaskLow[b];
            MaskHigh[kept] = MaskHigh[b];
            Words[kept] = Words[b];
            ShortKey[kept] = ShortKey[b];
            SecondWord[kept] = SecondWord[b];
            Valid[kept] = 1;
            Phrase[kept] = Phrase[b];
            ++kept;
        }
        Size = kept;
    }

    // One past the window of entry `a`, searched from `last` on: the window
    // only moves forward, so its end does too.
    size_t WindowEnd(size_t a, size_t last) const
    {
        const size_t windowEnd = static_cast<size_t>(Index[a]) + kWindow;
        last = std::max(last, a + 1);
        while (last < Size && Index[last] <= windowEnd)
            ++last;
        return last;
    }

    // One past the entries of as many words as entry `a` (the list goes by
    // more words first), searched from `end` on; it only moves forward too.
    size_t GroupEnd(size_t a, size_t end) const
    {
        end = std::max(end, a + 1);
        while (end < Size && Words[end] == Words[a])
            ++end;
        return end;
    }

    // Hands every still valid entry in (a, last) whose text occurs inside
    // the text of entry `a` to `inside`, in list order; the entries of
    // entry `a`'s group end at `groupEnd`. Reads Valid, changes nothing.
    template <typename TInside>
    void FindInside(size_t a, size_t groupEnd, size_t last, std::vector<uint8_t>& maybeInside,
                    std::vector<uint32_t>& suspects, TInside&& inside) const
    {
        const int32_t outerLength = Length[a];
        const int32_t outerWords = Words[a];
        const bool outerKeyed = SecondWord[a] >= 0;
        // The bits an inner text may not have, in two halves: every test of
        // the scan below is then on 32-bit values.
        const uint32_t notOuterLow = ~MaskLow[a];
        const uint32_t notOuterHigh = ~MaskHigh[a];
        const auto fits = [&](size_t b) {
            return (Length[b] <= outerLength) & ((MaskLow[b] & notOuterLow) == 0) & ((MaskHigh[b] & notOuterHigh) == 0);
        };
        // The outer phrase's middle words: a keyed inner phrase of k words
        // fewer has its first middle word among the first k + 1 of them.
        const int32_t* outerMiddle = outerKeyed ? Phrase[a]->WordIds() + Phrase[a]->Start() + 1 : nullptr;
        const int32_t middle0 = outerKeyed ? outerMiddle[0] : 0;
        const int32_t middle1 = outerKeyed && outerWords >= 4 ? outerMiddle[1] : middle0;
        size_t count = 0;
        size_t scanFrom = a + 1;
        // When every entry of the group after `a` has a key, only those with
        // `a`'s key can lie inside it, and they are linked: follow the links
        // instead of looking at every entry of the group in the window.
        if (outerKeyed && KeyedToGroupEnd[First[a]]) {
            scanFrom = std::min(groupEnd, last);
            auto searchFrom = First.begin() + static_cast<std::ptrdiff_t>(a + 1);
            const auto searchEnd = First.begin() + static_cast<std::ptrdiff_t>(scanFrom);
            for (uint32_t next = NextSameKey[First[a]]; next != kNoEntry; next = NextSameKey[next]) {
                // Discarded entries may have been dropped from the list.
                searchFrom = FirstNotBelow(searchFrom, searchEnd, next);
                const auto b = static_cast<size_t>(searchFrom - First.begin());
                if (b == scanFrom)
                    break;
                if (First[b] == next && fits(b))
                    suspects[count++] = static_cast<uint32_t>(b);
            }
        }
        // Then a branch-free pass that marks the phrases which may lie
        // inside the outer one, over arrays of 32-bit values only, which the
        // compiler turns into vector instructions; deciding one of them does
        // not affect the others, so they are decided afterwards. Discarded
        // entries fail the length test. Equal short keys are only a hint
        // (the full key or the words decide), different ones mean different
        // keys.
        const size_t scanned = last > scanFrom ? last - scanFrom : 0;
        uint8_t* marks = maybeInside.data();
        const int32_t* length = Length.data() + scanFrom;
        const uint32_t* maskLow = MaskLow.data() + scanFrom;
        const uint32_t* maskHigh = MaskHigh.data() + scanFrom;
        if (!outerKeyed) {
            MarkFitting(length, maskLow, maskHigh, scanned, outerLength, notOuterLow, notOuterHigh, marks);
        } else {
            const TKeyedOuter outer{outerWords, middle0, middle1, ShortKey[a]};
            MarkFittingKeyed(length, maskLow, maskHigh, Words.data() + scanFrom, SecondWord.data() + scanFrom,
                             ShortKey.data() + scanFrom, scanned, outerLength, notOuterLow, notOuterHigh, outer, marks);
        }
        // Few are marked: eight marks are looked at together.
        for (size_t i = 0; i < scanned;) {
            if (i + 8 <= scanned) {
                uint64_t eight = 0;
                std::memcpy(&eight, marks + i, sizeof eight);
                if (eight == 0) {
                    i += 8;
                    continue;
                }
            }
            const size_t end = std::min(scanned, i + 8);
            for (; i < end; ++i) {
                if (marks[i] != 0)
                    suspects[count++] = static_cast<uint32_t>(scanFrom + i);
            }
        }
        const auto mayMatch = [&](uint32_t b) {
            const int32_t shifts = outerWords - Words[b];
            if (shifts > kMostShiftsTried)
                return true;
            const int32_t* end = outerMiddle + shifts + 1;
            return std::find(outerMiddle, end, SecondWord[b]) != end && MiddleWordsMayMatch(*Phrase[b], *Phrase[a]);
        };
        for (size_t k = 0; k < count; ++k) {
            const uint32_t b = suspects[k];
            if (outerKeyed && SecondWord[b] >= 0 && !mayMatch(b))
                continue;
            if (PhraseOccursInside(*Phrase[b], *Phrase[a]))
                inside(b);
        }
    }

    void Discard(size_t b)
    {
        Valid[b] = 0;
        Length[b] = kDiscardedLength;
        Phrase[b]->SetValid(false);
    }

    std::vector<uint32_t> First;  // the entry's place when the list was made
    std::vector<uint32_t> Index;
    std::vector<int32_t> Length;    // kDiscardedLength once discarded
    std::vector<uint32_t> MaskLow;  // the char mask's two halves
    std::vector<uint32_t> MaskHigh;
    std::vector<uint8_t> Valid;
    std::vector<TPhrase*> Phrase;
    std::vector<int32_t> Words;
    std::vector<uint32_t> ShortKey;   // the key folded to 32 bits
    std::vector<int32_t> SecondWord;  // a keyed entry's first middle word id; -1 for an entry without a key
    // By first place, never compacted: the next entry of the same number of
    // words and folded key (kNoEntry at the last), and whether every entry from
    // there to the end of its group has a key.
    std::vector<uint32_t> NextSameKey;
    std::vector<uint8_t> KeyedToGroupEnd;
    size_t Size = 0;

private:
    void LinkSameKeys()
    {
        NextSameKey.assign(Size, kNoEntry);
        KeyedToGroupEnd.assign(Size, 0);
        // Linked by the folded key: a chain holds every entry of a key, and
        // rarely one of another key folded alike, which the full comparison
        // then turns away.
        std::vector<uint64_t> byKey;
        for (size_t groupStart = 0; groupStart < Size;) {
            size_t groupEnd = groupStart;
            while (groupEnd < Size && Words[groupEnd] == Words[groupStart])
                ++groupEnd;
            byKey.clear();
            bool keyedToEnd = true;
            for (size_t b = groupEnd; b-- > groupStart;) {
                keyedToEnd = keyedToEnd && SecondWord[b] >= 0;
                KeyedToGroupEnd[b] = keyedToEnd ? 1 : 0;
                if (SecondWord[b] >= 0)
                    byKey.push_back(static_cast<uint64_t>(ShortKey[b]) << 32 | b);
            }
            // The entries of one key come side by side, in list order.
            std::sort(byKey.begin(), byKey.end());
            for (size_t k = 0; k + 1 < byKey.size(); ++k) {
                if (byKey[k] >> 32 == byKey[k + 1] >> 32)
                    NextSameKey[static_cast<uint32_t>(byKey[k])] = static_cast<uint32_t>(byKey[k + 1]);
            }
            groupStart = groupEnd;
        }
    }
};

// Dropping discarded entries pays once they are many, at most an eighth of
// what remains, so that compacting stays cheap.
bool WorthCompacting(size_t discardedAhead, size_t remaining)
{
    return discardedAhead > std::max<size_t>(4096, remaining / 8);
}

void FilterInOrder(TFilterList& list, TCancellation* cancellation)
{
    std::vector<uint32_t> suspects(kWindow);
    std::vector<uint8_t> maybeInside(kWindow);
    size_t discardedAhead = 0;
    size_t last = 0;      // one past the window of the current outer phrase
    size_t groupEnd = 0;  // one past the entries of as many words
    for (size_t a = 0; a < list.Size; ++a) {
        // Each outer phrase compares with up to a thousand others.
        if (cancellation)
            cancellation->Tick(64);
        if (WorthCompacting(discardedAhead, list.Size - a)) {
            list.Compact(a + 1);
            last = 0;
            groupEnd = 0;
            discardedAhead = 0;
        }
        if (!list.Valid[a])
            continue;
        last = list.WindowEnd(a, last);
        groupEnd = list.GroupEnd(a, groupEnd);
        list.FindInside(a, groupEnd, last, maybeInside, suspects, [&](size_t b) {
            list.Discard(b);
            ++discardedAhead;
        });
    }
}

// The same filter over blocks of outer phrases: within a block, what each
// outer phrase would discard is found side by side, judged by the state at
// the block's start; then, in order, each phrase still valid discards those
// of its finds still valid. A phrase valid when its outer phrase comes is
// valid at the block's start, so nothing is missed, and nothing is
// discarded that the single pass would keep. Outer phrases discarded within
// their own block were searched in vain, so the block shrinks when that
// happens often (long verbatim copies) and grows when it does not.
void FilterInBlocks(TFilterList& list, TCancellation* cancellation, const TParallelFor& runner)
{
    constexpr size_t kMinBlock = 64;
    constexpr size_t kMaxBlock = 16384;
    constexpr size_t kPart = 256;  // outer phrases per part of a block
    // A block this small is not worth handing out.
    constexpr size_t kMinParallelBlock = 1024;
    size_t block = kMinParallelBlock;
    size_t discardedAhead = 0;
    struct TPart {
        std::vector<uint32_t> Found;  // per outer phrase, its finds one after another
        std::vector<uint32_t> Ends;   // per outer phrase, the end of its finds in Found
        std::vector<uint32_t> Suspects = std::vector<uint32_t>(kWindow);
        std::vector<uint8_t> MaybeInside = std::vector<uint8_t>(kWindow);
    };
    std::vector<TPart> parts;
    std::vector<size_t> windowEnds;
    std::vector<size_t> groupEnds;
    for (size_t begin = 0; begin < list.Size;) {
        if (cancellation)
            cancellation->Check();
        if (WorthCompacting(discardedAhead, list.Size - begin)) {
            list.Compact(begin);
            discardedAhead = 0;
        }
        const size_t end = std::min(list.Size, begin + block);
        windowEnds.resize(end - begin);
        groupEnds.resize(end - begin);
        size_t last = 0;
        size_t groupEnd = 0;
        for (size_t a = begin; a < end; ++a) {
            windowEnds[a - begin] = last = list.WindowEnd(a, last);
            groupEnds[a - begin] = groupEnd = list.GroupEnd(a, groupEnd);
        }

        const size_t partCount = (end - begin + kPart - 1) / kPart;
        if (parts.size() < partCount)
            parts.resize(partCount);
        RunParts(end - begin >= kMinParallelBlock ? runner : TParallelFor{}, partCount, [&](size_t p) {
            TPart& part = parts[p];
            part.Found.clear();
            part.Ends.clear();
            const size_t partEnd = std::min(end, begin + (p + 1) * kPart);
            for (size_t a = begin + p * kPart; a < partEnd; ++a) {
                if (list.Valid[a])
                    list.FindInside(a, groupEnds[a - begin], windowEnds[a - begin], part.MaybeInside, part.Suspects,
                                    [&](size_t b) { part.Found.push_back(static_cast<uint32_t>(b)); });
                part.Ends.push_back(static_cast<uint32_t>(part.Found.size()));
            }
        });

        size_t inVain = 0;
        for (size_t p = 0; p < partCount; ++p) {
            const TPart& part = parts[p];
            uint32_t from = 0;
            for (size_t k = 0; k < part.Ends.size(); ++k) {
                const size_t a = begin + p * kPart + k;
                const uint32_t to = part.Ends[k];
                if (list.Valid[a]) {
                    for (uint32_t f = from; f < to; ++f) {
                        const uint32_t b = part.Found[f];
                        if (list.Valid[b]) {
                            list.Discard(b);
                            ++discardedAhead;
                            inVain += b < end;
                        }
                    }
                }
                from = to;
            }
        }
        block = inVain * 8 > end - begin ? std::max(kMinBlock, block / 2) : std::min(kMaxBlock, block * 2);
        begin = end;
    }
}

}  // namespace

void ApplyContainmentFilter(const std::vector<TPhrase*>& phrases, TCancellation* cancellation,
                            const TParallelFor& runner)
{
    TFilterList list(phrases);
    if (runner)
        FilterInBlocks(list, cancellation, runner);
    else
        FilterInOrder(list, cancellation);
}

}  // namespace quillprint
