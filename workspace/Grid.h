// Table contents without any window: cells of text plus the values the
// drawing rules need, so the window and the command-line tool share them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillprint {

// Row 0 is the fixed header row and column 0 the fixed column of every table.
class TGrid {
public:
    TGrid(int32_t colCount, int32_t rowCount);

    int32_t ColCount() const { return FColCount; }
    int32_t RowCount() const { return FRowCount; }
    // Cells that still fit keep their texts; new cells are empty.
    void SetColCount(int32_t count);
    void SetRowCount(int32_t count);

    // Indexes outside the table throw std::out_of_range.
    const std::u16string& Cell(int32_t col, int32_t row) const;
    void SetCell(int32_t col, int32_t row, std::u16string text);

    // Results table: the row's shown score in single precision; 0 is none.
    float RowScore(int32_t row) const;
    void SetRowScore(int32_t row, float score);

    // Analysis table: the engine index of the one candidate that shares the
    // row's phrase; results table: the engine index of the row's author; -1
    // for none. The table keeps this copy instead of a pointer into the
    // engine, so it never outlives what it refers to.
    int32_t RowAuthor(int32_t row) const;
    void SetRowAuthor(int32_t row, int32_t author);

    // Analysis table: the score of the author shown in column `col`.
    std::optional<double> ColumnScore(int32_t col) const;
    void SetColumnScore(int32_t col, std::optional<double> score);

    // Forgets every row score, row author and column score.
    void ClearAttachments();

private:
    size_t Index(int32_t col, int32_t row) const;
    void CheckRow(int32_t row) const;
    void CheckCol(int32_t col) const;

    int32_t FColCount;
    int32_t FRowCount;
    std::vector<std::u16string> FCells;  // row by row
    std::vector<float> FRowScores;
    std::vector<int32_t> FRowAuthors;
    std::vector<std::optional<double>> FColumnScores;
};

// The score bands of the results and analysis tables: "Maybe" from 0.5,
// "Most likely" from 0.75, both below the test author's own score of 2.
inline constexpr double kMaybeScore = 0.5;
inline constexpr double kMostLikelyScore = 0.75;
inline constexpr double kTestAuthorScore = 2;

// How a score colours its cells, by its band.
enum class TScoreColour {
    Ordinary,   // the toolkit's own colour, regular style
    Blue,       // RGB (0, 0, 255), regular: "Maybe"
    GreenBold,  // RGB (0, 128, 0), bold: "Most likely"
};
TScoreColour ScoreColour(double K);

struct TRgb {
    int R, G, B;
};
inline constexpr TRgb kScoreBlue{0, 0, 255};
inline constexpr TRgb kScoreGreen{0, 128, 0};

// Colour of a results-table cell by its row score (every column alike).
TScoreColour ResultCellColour(const TGrid& grid, int32_t col, int32_t row);
// Colour of an analysis-table cell: header cells by their author's score; in
// a data row the phrase cell and the cell of its one candidate by that
// candidate's score.
TScoreColour AnalysisCellColour(const TGrid& grid, int32_t col, int32_t row);

// A table of `rowCount` rows with one column per header, the headers written
// in row 0.
TGrid GridWithHeaders(int32_t rowCount, std::initializer_list<std::u16string_view> headers);

// A whole number as the tables write it: plain digits, no grouping.
std::u16string Decimal(int64_t value);

// The clipboard text of a table: a tab before every cell, a lone CR after
// every row, every row and column included.
std::u16string CopyGrid(const TGrid& grid);

}  // namespace quillprint
