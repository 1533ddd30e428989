#include "cli/CliOutput.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unicode/utf8.h>

#include "cli/Json.h"
#include "engine/Quillprint.h"
#include "engine/Text.h"
#include "workspace/Grid.h"
#include "workspace/LanguageHint.h"

namespace quillprint::cli {

namespace {

void AppendEscape(std::string& out, uint32_t c) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\x%02x", static_cast<unsigned>(c));
    out += escape;
}

}  // namespace

std::string OutputErrorMessage(int error) {
    return std::string("Cannot write the output: ") + (error != 0 ? std::strerror(error) : "the stream failed");
}

void WriteOut(std::ostream& out, std::string_view text) {
    errno = 0;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) throw TOutputError(OutputErrorMessage(errno));
}

std::string VisibleText(std::string_view utf8, TLineFeed lineFeed) {
    std::string out;
    out.reserve(utf8.size());
    const auto length = static_cast<int32_t>(utf8.size());
    for (int32_t i = 0; i < length;) {
        const auto byte = static_cast<unsigned char>(utf8[static_cast<size_t>(i)]);
        if (byte < 0x80) {
            if (IsControlCharacter(byte) && !(byte == '\n' && lineFeed == TLineFeed::Keep))
                AppendEscape(out, byte);
            else
                out += static_cast<char>(byte);
            ++i;
            continue;
        }
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(utf8.data(), i, length, c);
        if (c < 0) {
            // Ill-formed: each of its bytes shown on its own.
            for (int32_t b = start; b < i; ++b)
                AppendEscape(out, static_cast<unsigned char>(utf8[static_cast<size_t>(b)]));
        } else if (IsControlCharacter(static_cast<char32_t>(c))) {
            AppendEscape(out, static_cast<uint32_t>(c));
        } else {
            out.append(utf8.substr(static_cast<size_t>(start), static_cast<size_t>(i - start)));
        }
    }
    return out;
}

std::string VisibleUtf8(std::u16string_view text) { return VisibleText(ToUtf8(text)); }

std::string VisibleMessage(std::string_view utf8) { return VisibleText(utf8, TLineFeed::Keep); }

void PrintSplittingHint(std::ostream& err) { err << "Hint: " << kSplitByLanguageHint << '\n'; }

std::string TsvRow(const TGrid& grid, int32_t row) {
    std::string text;
    for (int32_t col = 0; col < grid.ColCount(); ++col) {
        if (col > 0) text += '\t';
        std::u16string cell = grid.Cell(col, row);
        for (char16_t& c : cell)
            if (c == u'\t' || c == u'\r' || c == u'\n') c = u' ';
        text += VisibleUtf8(cell);
    }
    text += '\n';
    return text;
}

std::string TsvText(const TGrid& grid, int32_t rowCount) {
    std::string text;
    for (int32_t row = 0; row < rowCount; ++row) text += TsvRow(grid, row);
    return text;
}

std::string SummaryText(const std::u16string& summary, const std::vector<std::u16string>& names) {
    std::string text;
    std::u16string_view rest = summary;
    for (const std::u16string& name : names) {
        const size_t end = rest.find(u'\r', name.size());
        if (!rest.starts_with(name) || end == std::u16string_view::npos) break;
        text += VisibleUtf8(rest.substr(0, end));
        text += '\n';
        rest.remove_prefix(end + 1);
    }
    // Lines the names did not account for: every CR ends one.
    size_t begin = 0;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] != u'\r') continue;
        text += VisibleUtf8(rest.substr(begin, i - begin)) + '\n';
        begin = i + 1;
    }
    text += VisibleUtf8(rest.substr(begin));
    return text;
}

namespace {

// Collects output in a small buffer and hands it to the stream in pieces.
class TJsonWriter {
public:
    explicit TJsonWriter(std::ostream& out) : FOut(out) { FBuffer.reserve(2 * kPiece); }
    std::string& Buffer() { return FBuffer; }
    // Passes the buffer on once it holds a piece.
    void Pass() {
        if (FBuffer.size() >= kPiece) Flush();
    }
    void Flush() {
        WriteOut(FOut, FBuffer);
        FBuffer.clear();
    }

private:
    static constexpr size_t kPiece = 1 << 16;
    std::ostream& FOut;
    std::string FBuffer;
};

}  // namespace

namespace {

// Where each author's words start in the combined corpus, plus its end.
std::vector<size_t> AuthorStarts(const TQuillprint& engine) {
    std::vector<size_t> starts{0};
    for (const auto& author : engine.Authors()) starts.push_back(starts.back() + author->Text().size());
    return starts;
}

// A record outside the combined corpus (none in a plain run) is written as
// its text, every other one as a reference into "texts".
bool WrittenAsText(const TPhrase& record, const TQuillprint& engine) {
    return record.Corpus() != &engine.WordsAll().Words() || record.CountWords() == 0;
}

// The counts of a kept phrase, all but its words, which its record gives.
bool SameCounts(const TPhrase& left, const TPhrase& right) {
    const auto sameEntry = [](const TAuthorCount& a, const TAuthorCount& b) {
        return a.Author == b.Author && a.Count == b.Count;
    };
    return left.CountInstances() == right.CountInstances() && left.Unique() == right.Unique() &&
           left.CountAuthors() == right.CountAuthors() &&
           std::ranges::equal(left.AuthorCountEntries(), right.AuthorCountEntries(), sameEntry);
}

// The records in order, a run of records with the same author and first
// word and one more word each as [author, first word, words, run length]
// (a run of one without its length); a record outside the combined corpus
// (none in a plain run) as its text. A repeated passage makes its records
// in such runs, so they take an entry per start, not per record.
void AppendRecordRuns(std::string& text, TJsonWriter& writer, const TQuillprint& engine,
                      const std::vector<size_t>& starts) {
    const auto& records = engine.PhraseRecords();
    bool first = true;
    for (size_t r = 0; r < records.size();) {
        if (!first) text += ',';
        first = false;
        const TPhrase& record = records[r];
        if (WrittenAsText(record, engine)) {
            AppendJsonString(text, record.Value());
            ++r;
            writer.Pass();
            continue;
        }
        size_t run = 1;
        while (r + run < records.size() && records[r + run].Corpus() == record.Corpus() &&
               records[r + run].Start() == record.Start() &&
               records[r + run].CountWords() == record.CountWords() + static_cast<int32_t>(run))
            ++run;
        const auto start = static_cast<size_t>(record.Start());
        const auto author =
            static_cast<size_t>(std::upper_bound(starts.begin(), starts.end(), start) - starts.begin()) - 1;
        text += '[' + std::to_string(author) + ',' + std::to_string(start - starts[author]) + ',' +
                std::to_string(record.CountWords());
        if (run > 1) text += ',' + std::to_string(run);
        text += ']';
        r += run;
        writer.Pass();
    }
}

// Record indices, a run of consecutive ones as [first, last].
void AppendIndexRanges(std::string& text, TJsonWriter& writer, const std::vector<TPhrase*>& phrases) {
    for (size_t i = 0; i < phrases.size();) {
        if (i > 0) text += ',';
        const int32_t low = phrases[i]->RecordIndex();
        size_t run = 1;
        while (i + run < phrases.size() && phrases[i + run]->RecordIndex() == low + static_cast<int32_t>(run)) ++run;
        if (run == 1)
            text += std::to_string(low);
        else
            text += '[' + std::to_string(low) + ',' + std::to_string(low + static_cast<int32_t>(run) - 1) + ']';
        i += run;
        writer.Pass();
    }
}

}  // namespace

int64_t FullJsonRecordUnits(const TQuillprint& engine) {
    int64_t units = 0;
    for (const TPhrase& record : engine.PhraseRecords()) units += record.ValueLength();
    return units;
}

void WriteJson(std::ostream& out, const TQuillprint& engine, const std::u16string& summary, TJsonForm form,
               std::string_view moreFields) {
    TJsonWriter writer(out);
    std::string& text = writer.Buffer();
    text += "{\"authors\":[";
    bool firstAuthor = true;
    for (const auto& author : engine.Authors()) {
        if (!firstAuthor) text += ',';
        firstAuthor = false;
        text += "{\"name\":";
        AppendJsonString(text, author->Name());
        text += ",\"words\":" + std::to_string(author->WordCount());
        text += ",\"koef\":";
        AppendJsonNumber(text, author->Koef());
        text += ",\"uniqueNum\":" + std::to_string(author->UniqueNum());
        text += ",\"phrases\":[";
        if (form == TJsonForm::References) {
            AppendIndexRanges(text, writer, author->Phrases());
        } else {
            bool firstPhrase = true;
            for (const TPhrase* phrase : author->Phrases()) {
                if (!firstPhrase) text += ',';
                firstPhrase = false;
                text += std::to_string(phrase->RecordIndex());
                writer.Pass();
            }
        }
        text += "]}";
    }
    std::vector<size_t> starts;
    if (form == TJsonForm::References) {
        // Every author's words once: the records below point into them.
        text += "],\"texts\":[";
        firstAuthor = true;
        for (const auto& author : engine.Authors()) {
            if (!firstAuthor) text += ',';
            firstAuthor = false;
            text += '[';
            bool firstWord = true;
            for (const std::u16string& word : author->Text()) {
                if (!firstWord) text += ',';
                firstWord = false;
                AppendJsonString(text, word);
                writer.Pass();
            }
            text += ']';
        }
        starts = AuthorStarts(engine);
    }
    text += "],\"records\":[";
    if (form == TJsonForm::References) {
        AppendRecordRuns(text, writer, engine, starts);
    } else {
        bool firstRecord = true;
        for (const TPhrase& record : engine.PhraseRecords()) {
            if (!firstRecord) text += ',';
            firstRecord = false;
            AppendJsonString(text, record.Value());
            writer.Pass();
        }
    }
    text += "],\"phrases\":[";
    const TPhrase* previous = nullptr;
    for (const TPhrase* phrase : engine.Phrases()) {
        if (previous != nullptr) text += ',';
        // A kept phrase with the counts of the one before it is its record's
        // number alone: a passage repeated makes millions of such phrases.
        const bool sameAsPrevious = form == TJsonForm::References && previous != nullptr &&
                                    !WrittenAsText(*phrase, engine) && SameCounts(*phrase, *previous);
        previous = phrase;
        if (sameAsPrevious) {
            text += std::to_string(phrase->RecordIndex());
            writer.Pass();
            continue;
        }
        if (form == TJsonForm::References) {
            text += "{\"record\":" + std::to_string(phrase->RecordIndex());
        } else {
            text += "{\"value\":";
            AppendJsonString(text, phrase->Value());
        }
        text += ",\"words\":" + std::to_string(phrase->CountWords());
        text += ",\"instances\":" + std::to_string(phrase->CountInstances());
        text += ",\"counts\":[";
        bool firstCount = true;
        for (const int32_t count : phrase->AuthorsCounts()) {
            if (!firstCount) text += ',';
            firstCount = false;
            text += std::to_string(count);
            writer.Pass();
        }
        text += "],\"unique\":" + std::to_string(phrase->Unique());
        text += ",\"authors\":" + std::to_string(phrase->CountAuthors()) + "}";
        writer.Pass();
    }
    text += "],\"summary\":";
    AppendJsonString(text, summary);
    text += ",\"average\":" + std::to_string(engine.AverageWordCounts());
    text += moreFields;
    text += "}\n";
    writer.Flush();
}

}  // namespace quillprint::cli
