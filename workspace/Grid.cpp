#include "workspace/Grid.h"

#include <stdexcept>
#include <string>

#include "engine/Text.h"

namespace quillprint {

TGrid::TGrid(int32_t colCount, int32_t rowCount) : FColCount(0), FRowCount(0) {
    SetColCount(colCount);
    SetRowCount(rowCount);
}

void TGrid::SetColCount(int32_t count) {
    if (count < 0) throw std::out_of_range("negative column count");
    if (count == FColCount) return;
    std::vector<std::u16string> cells(static_cast<size_t>(count) * FRowCount);
    const int32_t kept = std::min(count, FColCount);
    for (int32_t row = 0; row < FRowCount; ++row)
        for (int32_t col = 0; col < kept; ++col)
            cells[static_cast<size_t>(row) * count + col] = std::move(FCells[Index(col, row)]);
    FCells = std::move(cells);
    FColCount = count;
    FColumnScores.resize(count);
}

void TGrid::SetRowCount(int32_t count) {
    if (count < 0) throw std::out_of_range("negative row count");
    FRowCount = count;
    FCells.resize(static_cast<size_t>(count) * FColCount);
    FRowScores.resize(count, 0.0f);
    FRowAuthors.resize(count, -1);
}

size_t TGrid::Index(int32_t col, int32_t row) const { return static_cast<size_t>(row) * FColCount + col; }

void TGrid::CheckRow(int32_t row) const {
    if (row < 0 || row >= FRowCount) throw std::out_of_range("table row out of range");
}

void TGrid::CheckCol(int32_t col) const {
    if (col < 0 || col >= FColCount) throw std::out_of_range("table column out of range");
}

const std::u16string& TGrid::Cell(int32_t col, int32_t row) const {
    CheckCol(col);
    CheckRow(row);
    return FCells[Index(col, row)];
}

void TGrid::SetCell(int32_t col, int32_t row, std::u16string text) {
    CheckCol(col);
    CheckRow(row);
    FCells[Index(col, row)] = std::move(text);
}

float TGrid::RowScore(int32_t row) const {
    CheckRow(row);
    return FRowScores[row];
}

void TGrid::SetRowScore(int32_t row, float score) {
    CheckRow(row);
    FRowScores[row] = score;
}

int32_t TGrid::RowAuthor(int32_t row) const {
    CheckRow(row);
    return FRowAuthors[row];
}

void TGrid::SetRowAuthor(int32_t row, int32_t author) {
    CheckRow(row);
    FRowAuthors[row] = author;
}

std::optional<double> TGrid::ColumnScore(int32_t col) const {
    CheckCol(col);
    return FColumnScores[col];
}

void TGrid::SetColumnScore(int32_t col, std::optional<double> score) {
    CheckCol(col);
    FColumnScores[col] = score;
}

void TGrid::ClearAttachments() {
    std::fill(FRowScores.begin(), FRowScores.end(), 0.0f);
    std::fill(FRowAuthors.begin(), FRowAuthors.end(), -1);
    std::fill(FColumnScores.begin(), FColumnScores.end(), std::nullopt);
}

TScoreColour ScoreColour(double K) {
    if (K >= kMostLikelyScore && K < kTestAuthorScore) return TScoreColour::GreenBold;
    if (K >= kMaybeScore && K < kMostLikelyScore) return TScoreColour::Blue;
    return TScoreColour::Ordinary;
}

TScoreColour ResultCellColour(const TGrid& grid, int32_t col, int32_t row) {
    if (col < 0 || col >= grid.ColCount() || row < 0 || row >= grid.RowCount()) return TScoreColour::Ordinary;
    const float score = grid.RowScore(row);
    if (score == 0.0f) return TScoreColour::Ordinary;  // no score attached
    return ScoreColour(score);
}

TScoreColour AnalysisCellColour(const TGrid& grid, int32_t col, int32_t row) {
    if (col < 0 || col >= grid.ColCount() || row < 0 || row >= grid.RowCount()) return TScoreColour::Ordinary;
    if (row == 0) {
        if (col == 0) return TScoreColour::Ordinary;
        const auto score = grid.ColumnScore(col);
        return score ? ScoreColour(*score) : TScoreColour::Ordinary;
    }
    const int32_t author = grid.RowAuthor(row);
    if (author < 0 || author + 1 >= grid.ColCount()) return TScoreColour::Ordinary;
    if (col != 0 && col != author + 1) return TScoreColour::Ordinary;
    const auto score = grid.ColumnScore(author + 1);
    return score ? ScoreColour(*score) : TScoreColour::Ordinary;
}

TGrid GridWithHeaders(int32_t rowCount, std::initializer_list<std::u16string_view> headers) {
    TGrid grid(static_cast<int32_t>(headers.size()), rowCount);
    int32_t col = 0;
    for (const std::u16string_view header : headers) grid.SetCell(col++, 0, std::u16string(header));
    return grid;
}

std::u16string Decimal(int64_t value) { return FromUtf8(std::to_string(value)); }

std::u16string CopyGrid(const TGrid& grid) {
    std::u16string text;
    for (int32_t row = 0; row < grid.RowCount(); ++row) {
        for (int32_t col = 0; col < grid.ColCount(); ++col) {
            text += u'\t';
            text += grid.Cell(col, row);
        }
        text += u'\r';
    }
    return text;
}

}  // namespace quillprint
