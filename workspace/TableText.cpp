#include "workspace/TableText.h"

#include <string_view>

namespace quillprint {

namespace {

bool NeedsQuotes(std::u16string_view cell) {
    return cell.find_first_of(u",\"\r\n") != std::u16string_view::npos;
}

void AppendCsvCell(std::u16string& text, std::u16string_view cell) {
    if (!NeedsQuotes(cell)) {
        text += cell;
        return;
    }
    text += u'"';
    for (const char16_t c : cell) {
        if (c == u'"') text += u'"';
        text += c;
    }
    text += u'"';
}

std::u16string CsvText(const TGrid& grid) {
    std::u16string text;
    for (int32_t row = 0; row < grid.RowCount(); ++row) {
        for (int32_t col = 0; col < grid.ColCount(); ++col) {
            if (col > 0) text += u',';
            AppendCsvCell(text, grid.Cell(col, row));
        }
        text += u'\n';
    }
    return text;
}

}  // namespace

std::u16string TableText(const TGrid& grid, TTableFormat format) {
    return format == TTableFormat::Csv ? CsvText(grid) : CopyGrid(grid);
}

}  // namespace quillprint
