#include "engine/Quillprint.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <iterator>
#include <span>
#include <stdexcept>
#include <stop_token>
#include <string>

#include "engine/EngineError.h"
#include "engine/Normalization.h"
#include "engine/PhraseBudgetReport.h"
#include "engine/PhraseExtraction.h"
#include "engine/PhraseOrder.h"
#include "engine/Prefault.h"
#include "engine/ScoreFormat.h"

namespace quillprint {
namespace {

constexpr int32_t kCountBlockSize = 1 << 16;

}  // namespace

double ScoreBand(double ratio)
{
    const long double r = ratio;
    if (r <= 0.8L)
        return ratio;
    if (r > 1.5L)
        return 0.99;
    if (r <= 1.0L)
        return static_cast<double>((r - 0.8L) / 10.0L + 0.8L);
    return static_cast<double>((r - 1.0L) / 10.0L + 0.95L);
}

TQuillprint::TQuillprint(const std::string& localeName)
    : FWordsAll(std::make_unique<TWordsAll>(u"All Words", u""))
    , FCollation(std::make_unique<TCollation>(localeName))
    , FDecimalSeparator(DecimalSeparatorOf(localeName))
    , FSplitter(TWordSplitting::Spaces, localeName)
{
    FWordsAll->FQuillprint = this;
}

TQuillprint::~TQuillprint() = default;

void TQuillprint::CheckAddingAuthors(const char* call) const
{
    if (FDetectBegun)
        throw std::logic_error(std::string("TQuillprint::") + call + " after Detect: an engine runs Detect once, "
                               "after every author was added");
}

// Split at separators, a text is only normalised here: Detect counts its
// words and splits it straight into its stretch of the combined corpus, so
// the words are made once, in their final place. Split by language, the
// author takes its words now (counting them would run the dictionary twice).
std::unique_ptr<TAuthor> TQuillprint::MakeAuthor(std::u16string_view AName, std::u16string_view AText) const
{
    if (FSplitter.Splitting() != TWordSplitting::Spaces)
        return std::make_unique<TAuthor>(AName, FSplitter.Split(NormalizeText(AText)));
    auto author = std::make_unique<TAuthor>(AName, TWordList());
    author->FUnsplit = NormalizeText(AText);
    author->FSplitPending = true;
    return author;
}

void TQuillprint::AddAuthor(std::u16string_view AName, std::u16string_view AText)
{
    CheckAddingAuthors("AddAuthor");
    FCancellation.Check();
    FAuthors.push_back(MakeAuthor(AName, AText));
}

void TQuillprint::AddAuthorWords(std::u16string_view AName, const TWordList& words)
{
    CheckAddingAuthors("AddAuthorWords");
    FCancellation.Check();
    FAuthors.push_back(std::make_unique<TAuthor>(AName, words));
}

void TQuillprint::AddAuthors(const std::vector<std::pair<std::u16string_view, std::u16string_view>>& authors)
{
    CheckAddingAuthors("AddAuthors");
    FCancellation.Check();
    std::vector<std::unique_ptr<TAuthor>> made(authors.size());
    RunParts(FParallelFor, authors.size(),
             [&](size_t a) { made[a] = MakeAuthor(authors[a].first, authors[a].second); });
    for (auto& author : made)
        FAuthors.push_back(std::move(author));
}

// The combined corpus holds the authors' words, one author after another,
// and each author keeps a view of its stretch: every word is held once. The
// corpus is sized once, when every author's word count is known, so it never
// moves its words to grow. Each author's stretch is filled as a part of its
// own, side by side: a text not yet split is split straight into it, a list
// is moved there; the text or list is given back at once, so the two never
// hold all the words at the same time.
void TQuillprint::BuildCombinedCorpus()
{
    TWordList& all = FWordsAll->FText;
    std::vector<int32_t>& starts = FWordsAll->FAuthorIndexes;
    all.clear();
    starts.clear();
    const size_t authors = FAuthors.size();
    std::vector<size_t> begins(authors + 1, 0);
    RunParts(FParallelFor, authors, [&](size_t a) {
        const TAuthor& author = *FAuthors[a];
        begins[a + 1] = author.FSplitPending ? CountSplitWords(author.FUnsplit) : author.FText.size();
    });
    for (size_t a = 0; a < authors; ++a)
        begins[a + 1] += begins[a];
    FCancellation.Check();
    // Sized once, the corpus never moves its words: the views stay valid.
    all.reserve(begins[authors]);
    PrefaultMemory(FParallelFor, all.data(), begins[authors] * sizeof(std::u16string));
    all.resize(begins[authors]);
    FCancellation.Check();
    RunParts(FParallelFor, authors, [&](size_t a) {
        TAuthor& author = *FAuthors[a];
        const std::span<std::u16string> stretch(all.data() + begins[a], begins[a + 1] - begins[a]);
        if (author.FSplitPending) {
            SplitWordsInto(author.FUnsplit, stretch, FCancellation.Token());
            std::u16string().swap(author.FUnsplit);
            author.FSplitPending = false;
        } else {
            std::move(author.FText.begin(), author.FText.end(), stretch.begin());
            TWordList().swap(author.FText);
        }
    });
    for (size_t a = 0; a < authors; ++a) {
        if (a > 0)
            starts.push_back(static_cast<int32_t>(begins[a]));
        FAuthors[a]->FStretch = TWordSpan(all).subspan(begins[a], begins[a + 1] - begins[a]);
        FAuthors[a]->FInCorpus = true;
    }
}

std::u16string TQuillprint::Detect(std::u16string_view ATest)
{
    CheckAddingAuthors("Detect");
    AddAuthor(u"Unknown", ATest);
    FDetectBegun = true;
    FTest = FAuthors.back().get();
    BuildCombinedCorpus();
    if (FPhaseHandler)
        FPhaseHandler(TEnginePhase::FindingPhrases);
    if (FLeaveOutWords > 0)
        LeaveOutCopiedPassages();
    FCancellation.Check();
    FindPhrasesWithinBudget();
    FCancellation.Check();
    if (FPhaseHandler)
        FPhaseHandler(TEnginePhase::Scoring);
    Score();
    FCancellation.Check();
    std::u16string summary = SummarizeScores();
    FTest->SetKoef(2.0);
    return summary;
}

// The phrase search stops as soon as it has recorded more than the budget
// allows; only then is the count of what exceeds it made (RefuseRun), to
// word the refusal. A run within the budget never pays for that count.
void TQuillprint::FindPhrasesWithinBudget()
{
    std::sort(FWordsAll->FAuthorIndexes.begin(), FWordsAll->FAuthorIndexes.end());
    try {
        FWordsAll->FindRepeatedPhrases();
    } catch (const TPassageTooLongError&) {
        RefuseRun();
    }
    FCancellation.Check();
    FWordsAll->KeepPhrases();
}

// Cuts the copied passages out of the test author's words, the end of the
// combined corpus; where a cut closes, phrases stop.
void TQuillprint::LeaveOutCopiedPassages()
{
    std::vector<TWordSpan> candidates;
    for (size_t a = 0; a + 1 < FAuthors.size(); ++a)
        candidates.push_back(FAuthors[a]->Text());
    const TWordSpan words = FTest->Text();
    FCopiedPassages = FindCopiedPassages(candidates, words, *FCollation, FLeaveOutWords, FCancellation.Token());
    if (FCopiedPassages.empty())
        return;
    const auto total = static_cast<int32_t>(words.size());
    const std::vector<uint8_t> covered = CoveredWords(FCopiedPassages, total);
    // The kept words move up in place: the corpus only shrinks, so the
    // other authors' views stay valid.
    TWordList& all = FWordsAll->FText;
    const size_t testBegin = all.size() - words.size();
    size_t kept = testBegin;
    for (int32_t j = 0; j < total; ++j) {
        if (covered[static_cast<size_t>(j)]) {
            ++FWordsLeftOut;
            continue;
        }
        if (j > 0 && covered[static_cast<size_t>(j) - 1] && kept > testBegin)
            FWordsAll->FBreaks.push_back(static_cast<int32_t>(kept));
        FTestOrigins.push_back(j);
        const size_t from = testBegin + static_cast<size_t>(j);
        if (kept != from)
            all[kept] = std::move(all[from]);
        ++kept;
    }
    all.erase(all.begin() + static_cast<std::ptrdiff_t>(kept), all.end());
    FTest->FStretch = TWordSpan(all).subspan(testBegin);
}

// Where no phrase runs on: every author's start and every closed cut.
std::vector<int32_t> TQuillprint::Cuts() const
{
    std::vector<int32_t> cuts = FWordsAll->FAuthorIndexes;
    cuts.insert(cuts.end(), FWordsAll->FBreaks.begin(), FWordsAll->FBreaks.end());
    std::sort(cuts.begin(), cuts.end());
    return cuts;
}

[[noreturn]] void TQuillprint::RefuseRun() const
{
    auto refused = std::make_shared<TRefusedRun>();
    refused->Budget = FBudget;
    refused->LocaleName = LocaleName();
    refused->CopiesLeftOut = FLeaveOutWords > 0;
    for (const auto& author : FAuthors)
        refused->Names.push_back(author->Name());
    const int32_t minWords = FLeaveOutWords > 0 ? FLeaveOutWords : kDefaultCopyWords;
    refused->Report = ReportRepeats(FWordsAll->FText, Cuts(), minWords, FCancellation.Token());

    // Corpus positions to authors and their own word indexes; the test
    // author's through the words kept when copies were left out.
    const std::vector<int32_t>& starts = FWordsAll->FAuthorIndexes;
    const auto place = [&](int32_t position, int32_t& author, int32_t& start) {
        author = static_cast<int32_t>(std::upper_bound(starts.begin(), starts.end(), position) - starts.begin());
        start = position - (author > 0 ? starts[static_cast<size_t>(author) - 1] : 0);
        if (author + 1 == static_cast<int32_t>(FAuthors.size()) && !FTestOrigins.empty())
            start = FTestOrigins[static_cast<size_t>(start)];
    };
    for (TRepeatedPassage& passage : refused->Report.Passages) {
        place(passage.Start, passage.Author, passage.Start);
        place(passage.SourceStart, passage.SourceAuthor, passage.SourceStart);
    }
    TRefusalWording wording{refused->Names, nullptr, "", refused->LocaleName};
    const std::string message = DescribeRefusal(refused->Report, FBudget, wording);
    throw TPassageTooLongError(message, std::move(refused));
}

void TWordsAll::ProcessText()
{
    std::sort(FAuthorIndexes.begin(), FAuthorIndexes.end());
    FindRepeatedPhrases();
    KeepPhrases();
}

void TWordsAll::FindRepeatedPhrases(std::stop_token stop)
{
    ExtractPhrases(*this, *FQuillprint, std::move(stop));
}

void TWordsAll::KeepPhrases()
{
    TCancellation& cancellation = FQuillprint->Cancellation();
    PartitionSortPhrases(FPhrases, &cancellation, FQuillprint->ParallelFor());
    ApplyContainmentFilter(FPhrases, &cancellation, FQuillprint->ParallelFor());
    std::erase_if(FPhrases, [](const TPhrase* phrase) { return !phrase->Valid(); });
}

// Adds each phrase the test text shares with exactly one candidate to the
// raw scores of that candidate and of the test author, weighted by its
// length and by how close the two rates of use are.
void TQuillprint::Score()
{
    const auto n = static_cast<int32_t>(FAuthors.size());
    const int32_t t = n - 1;
    const auto testWords = static_cast<long double>(FAuthors[static_cast<size_t>(t)]->WordCount());
    for (const TPhrase* phrase : FWordsAll->Phrases()) {
        FCancellation.Tick();
        if (!phrase->IsScored())
            continue;
        const int32_t testCount = phrase->TestCount();
        const auto rateT = static_cast<double>(static_cast<long double>(testCount) / testWords);
        // The authors with instances, in author order as before.
        for (const TAuthorCount& entry : phrase->AuthorCountEntries()) {
            const int32_t count = entry.Count;
            TAuthor& author = *FAuthors[static_cast<size_t>(entry.Author)];
            const long double rateA = static_cast<long double>(count) / static_cast<long double>(author.WordCount());
            const long double gain = ((0.5L - std::fabs(static_cast<long double>(rateT) - rateA)) * rateT)
                * phrase->CountWords();
            author.FKoef = static_cast<double>(gain + author.FKoef);
            ++author.FUniqueNum;
        }
    }
}

// Turns every candidate's raw score into its band and writes the summary.
std::u16string TQuillprint::SummarizeScores() const
{
    std::u16string summary;
    const long double testScore = FAuthors.back()->Koef();
    for (size_t a = 0; a + 1 < FAuthors.size(); ++a) {
        TAuthor& author = *FAuthors[a];
        if (testScore == 0.0L) {
            author.FKoef = 0.0;
        } else {
            author.FKoef = static_cast<double>(static_cast<long double>(author.FKoef) * 2.0L / testScore);
            author.FKoef = ScoreBand(author.FKoef);
        }
        summary += author.Name();
        summary += u": ";
        summary += FormatScore(author.FKoef, FDecimalSeparator);
        summary += u'\r';
    }
    return summary;
}

int32_t TQuillprint::AverageWordCounts() const
{
    if (FAuthors.size() < 2)
        return 0;
    const auto candidates = static_cast<int64_t>(FAuthors.size()) - 1;
    int64_t sum = 0;
    for (int64_t a = 0; a < candidates; ++a)
        sum += FAuthors[static_cast<size_t>(a)]->WordCount();
    return static_cast<int32_t>(RoundHalfEven(static_cast<long double>(sum) / static_cast<long double>(candidates)));
}

void TQuillprint::Summarize()
{
    // Texts not yet split (no Detect) become the authors' own lists.
    for (const auto& author : FAuthors) {
        if (author->FSplitPending) {
            author->FText = SplitWords(author->FUnsplit);
            std::u16string().swap(author->FUnsplit);
            author->FSplitPending = false;
        }
    }
    // Phrases of the old corpus keep referring to its words.
    FRetiredCorpora.push_back(std::move(FWordsAll));
    FWordsAll = std::make_unique<TWordsAll>(u"All Words", u"");
    FWordsAll->FQuillprint = this;
    int32_t total = 0;
    for (const auto& author : FAuthors) {
        FWordsAll->FText.insert(FWordsAll->FText.end(), author->Text().begin(), author->Text().end());
        total += author->WordCount();
        FWordsAll->FAuthorIndexes.push_back(total);
    }
    FWordsAll->ProcessText();
}

void TQuillprint::Clear()
{
    FAuthors.clear();
    FTest = nullptr;
}

TPhrase& TQuillprint::NewPhrase(const TWordList* corpus, int32_t start, int32_t countWords)
{
    TPhrase& phrase = FPhraseStore.emplace_back(corpus, start, countWords);
    phrase.SetRecordIndex(static_cast<int32_t>(FPhraseStore.size() - 1));
    return phrase;
}

TAuthorCount* TQuillprint::NewCountEntries(int32_t count)
{
    if (count > kCountBlockSize) {
        // Rare: more entries than a block holds. Such a block goes in front,
        // so the block being filled stays last.
        FCountBlocks.insert(FCountBlocks.begin(), std::make_unique<TAuthorCount[]>(static_cast<size_t>(count)));
        return FCountBlocks.front().get();
    }
    if (FCountBlocks.empty() || FCountBlockUsed + count > kCountBlockSize) {
        FCountBlocks.push_back(std::make_unique<TAuthorCount[]>(kCountBlockSize));
        FCountBlockUsed = 0;
    }
    TAuthorCount* entries = FCountBlocks.back().get() + FCountBlockUsed;
    FCountBlockUsed += count;
    return entries;
}

}  // namespace quillprint
