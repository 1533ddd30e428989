// What quillprint-cli prints: tables as tab-separated lines and the engine's
// state as JSON, all in UTF-8 with LF line ends.
#pragma once

#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quillprint {
class TGrid;
class TQuillprint;
}  // namespace quillprint

namespace quillprint::cli {

// Writing to the output stream failed (a full disk, a closed pipe).
class TOutputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Cannot write the output: <the system's reason for `error`>".
std::string OutputErrorMessage(int error);

// Writes `text` to `out` and makes sure it got there; throws TOutputError
// (with the system's reason, while it is still known) when it did not.
void WriteOut(std::ostream& out, std::string_view text);

// What every piece of text goes through on its way to standard output or
// standard error: each C0 control, DEL and C1 control, and each byte that is
// not well-formed UTF-8 (a file name's raw bytes), written as a visible
// escape ("\x1b", "\x9b"), so a text, name or path cannot move the
// terminal's cursor, change its colours or split a line. With
// TLineFeed::Keep a LF stays: it ends a line of a message.
enum class TLineFeed { Escape, Keep };
std::string VisibleText(std::string_view utf8, TLineFeed lineFeed = TLineFeed::Escape);

// VisibleText of the text in UTF-8.
std::string VisibleUtf8(std::u16string_view text);

// A message for standard error, one or more lines: VisibleText keeping LF.
std::string VisibleMessage(std::string_view utf8);

// The hint that --split-words language exists, as one line on `err`.
void PrintSplittingHint(std::ostream& err);

// Rows 0 to rowCount - 1, cells joined by tabs, one row per line. A tab, CR
// or LF inside a cell becomes a blank so every row stays one line; other
// controls are escaped as in VisibleUtf8.
std::string TsvText(const TGrid& grid, int32_t rowCount);
// One row of TsvText.
std::string TsvRow(const TGrid& grid, int32_t row);

// The summary of Detect ("Name: score" per candidate, each ended by CR) with
// each line ended by LF instead. `names` are the candidates in summary order:
// they tell the CR that ends a line from one inside a name, and controls
// inside the names are escaped.
std::string SummaryText(const std::u16string& summary, const std::vector<std::u16string>& names);

// The two forms of --json. References: every author's words once, in
// "texts", and each phrase record as [author, first word, number of words]
// into them, so the output grows with the project and the phrases kept.
// Full: each record's own text, as --json-full prints it; a repeated passage
// of n words makes about n^2/2 records holding about n^3/6 words.
enum class TJsonForm { References, Full };

// Writes {"authors":[...],("texts":[...],)"records":[...],"phrases":[...],
// "summary":"...","average":N} piece by piece, so memory stays small however
// much it prints. An author's "phrases" are indices into "records".
// `moreFields` (",\"name\":value..."), when given, ends the object. Throws
// TOutputError once `out` fails.
void WriteJson(std::ostream& out, const TQuillprint& engine, const std::u16string& summary, TJsonForm form,
               std::string_view moreFields = {});

// The code units of every record's text: what the Full form would print of
// them, known without building a single text.
int64_t FullJsonRecordUnits(const TQuillprint& engine);

}  // namespace quillprint::cli
