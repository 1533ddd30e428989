#include "workspace/CopiedPassages.h"

#include <algorithm>

#include "engine/Collation.h"
#include "engine/CopyFinder.h"
#include "engine/Normalization.h"
#include "engine/PhraseBudgetReport.h"
#include "engine/WordSplitter.h"

namespace quillprint {

namespace {

constexpr int32_t kFirstWords = 8;

}  // namespace

TWordPlaces::TWordPlaces(const TCandidateLines& author, const TWordSplitter& splitter) : FAuthor(author) {
    // The normalisation keeps every line break and works within lines, but
    // trims the lines that hold nothing but blanks and punctuation from the
    // start of the text.
    size_t firstLine = 0;
    while (firstLine < author.Lines.size() && NormalizeText(author.Lines[firstLine]).empty()) ++firstLine;
    const std::u16string text = NormalizeText(JoinLines(author.Lines));
    std::vector<size_t> starts;
    splitter.Append(text, FWords, &starts);
    FLineOfWord.reserve(starts.size());
    size_t line = firstLine;
    size_t scanned = 0;
    for (const size_t start : starts) {
        line += static_cast<size_t>(std::count(text.begin() + static_cast<std::ptrdiff_t>(scanned),
                                               text.begin() + static_cast<std::ptrdiff_t>(start), u'\n'));
        scanned = start;
        FLineOfWord.push_back(static_cast<int32_t>(line));
    }
}

TTextPlace TWordPlaces::PlaceOf(int32_t word) const {
    if (word < 0 || word >= static_cast<int32_t>(FLineOfWord.size())) return {};
    const auto line = static_cast<size_t>(FLineOfWord[static_cast<size_t>(word)]);
    const auto& starts = FAuthor.TextStarts;
    // The last text that begins at or before the line (empty texts begin
    // where the next one does).
    const auto after = std::upper_bound(starts.begin(), starts.end(), line);
    if (after == starts.begin()) return {-1, {}, static_cast<int32_t>(line) + 1};
    const auto text = static_cast<int32_t>(after - starts.begin()) - 1;
    const std::u16string label =
        static_cast<size_t>(text) < FAuthor.TextLabels.size() ? FAuthor.TextLabels[static_cast<size_t>(text)] : u"";
    return {text, label, static_cast<int32_t>(line - starts[static_cast<size_t>(text)]) + 1};
}

std::vector<TCopyRow> FindCopyRows(const std::vector<TCandidateLines>& candidates, const TCandidateLines& unknown,
                                   const std::string& localeName, int32_t minWords, TWordSplitting splitting,
                                   std::stop_token stop) {
    const TWordSplitter splitter(splitting, localeName);
    std::vector<TWordPlaces> places;
    places.reserve(candidates.size());
    std::vector<TWordSpan> lists;
    for (const TCandidateLines& candidate : candidates) {
        places.emplace_back(candidate, splitter);
        lists.push_back(places.back().Words());
    }
    const TWordPlaces test(unknown, splitter);
    const TCollation collation(localeName);
    std::vector<TCopyRow> rows;
    for (const TCopiedPassage& passage : FindCopiedPassages(lists, test.Words(), collation, minWords, stop)) {
        TCopyRow row;
        row.Candidate = candidates[static_cast<size_t>(passage.Candidate)].Name;
        row.CandidatePlace = places[static_cast<size_t>(passage.Candidate)].PlaceOf(passage.CandidateStart);
        row.UnknownPlace = test.PlaceOf(passage.TestStart);
        row.UnknownEnd = test.PlaceOf(passage.TestStart + passage.Words - 1);
        row.Words = passage.Words;
        for (int32_t w = 0; w < std::min(passage.Words, kFirstWords); ++w) {
            if (w > 0) row.FirstWords += u' ';
            row.FirstWords += test.Words()[static_cast<size_t>(passage.TestStart + w)];
        }
        if (passage.Words > kFirstWords) row.FirstWords += u" \u2026";
        rows.push_back(std::move(row));
    }
    return rows;
}

TGrid CopiesGrid(const std::vector<TCopyRow>& rows) {
    TGrid grid(7, static_cast<int32_t>(rows.size()) + 1);
    const std::u16string header[] = {u"Candidate", u"Candidate text", u"Line", u"Unknown text",
                                     u"Line",      u"Words",          u"First words"};
    for (int32_t col = 0; col < 7; ++col) grid.SetCell(col, 0, header[col]);
    for (size_t i = 0; i < rows.size(); ++i) {
        const TCopyRow& copy = rows[i];
        const auto row = static_cast<int32_t>(i) + 1;
        grid.SetCell(0, row, copy.Candidate);
        grid.SetCell(1, row, copy.CandidatePlace.Label);
        grid.SetCell(2, row, Decimal(copy.CandidatePlace.Line));
        grid.SetCell(3, row, copy.UnknownPlace.Label);
        grid.SetCell(4, row, Decimal(copy.UnknownPlace.Line));
        grid.SetCell(5, row, Decimal(copy.Words));
        grid.SetCell(6, row, copy.FirstWords);
    }
    return grid;
}

std::string DescribeRefusalWithPlaces(const TRefusedRun& refused, const std::vector<TCandidateLines>& authors,
                                      TWordSplitting splitting, const std::string& switchName) {
    const TWordSplitter splitter(splitting, refused.LocaleName);
    std::vector<TWordPlaces> places;
    places.reserve(authors.size());
    for (const TCandidateLines& author : authors) places.emplace_back(author, splitter);
    TRefusalWording wording;
    wording.Names = refused.Names;
    wording.LocaleName = refused.LocaleName;
    wording.PlaceOf = [&](int32_t author, int32_t start) -> std::string {
        if (author < 0 || author >= static_cast<int32_t>(places.size())) return {};
        const TTextPlace place = places[static_cast<size_t>(author)].PlaceOf(start);
        if (place.Text < 0) return {};
        return "line " + std::to_string(place.Line) + " of \"" + ToUtf8(place.Label) + "\" in \"" +
               ToUtf8(authors[static_cast<size_t>(author)].Name) + "\"";
    };
    if (!refused.CopiesLeftOut) wording.LeaveOutOption = switchName;
    return DescribeRefusal(refused.Report, refused.Budget, wording);
}

std::u16string WordsLeftOutNote(int32_t words) {
    if (words == 0) return {};
    return u"  (" + Decimal(words) + u" words of copied passages left out)";
}

}  // namespace quillprint
