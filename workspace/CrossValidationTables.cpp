#include "workspace/CrossValidationTables.h"

#include <charconv>
#include <string>

#include "engine/Text.h"
#include "workspace/ResultTable.h"

namespace quillprint {

namespace {

std::u16string Number(int64_t value) { return FromUtf8(std::to_string(value)); }

std::u16string Name(const TCrossValidation& validation, int32_t candidate) {
    return candidate < 0 ? std::u16string(u"\u2014") : validation.Names[static_cast<size_t>(candidate)];
}

}  // namespace

std::u16string RightText(int32_t right, size_t checks) {
    const double share = checks == 0 ? 0.0 : static_cast<double>(right) / static_cast<double>(checks);
    return Number(right) + u" of " + Number(static_cast<int64_t>(checks)) + u" right (" + FormatPercent(share) + u")";
}

std::u16string MarginText(double margin) {
    // In percentage points with one decimal, independent of the process locale.
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, margin * 100, std::chars_format::fixed, 1);
    return ec == std::errc() ? FromUtf8(std::string_view(buffer, static_cast<size_t>(end - buffer))) : u"?";
}

TGrid CrossValidationFiguresGrid(const TCrossValidation& validation) {
    TGrid grid(2, 5);
    const auto rows = {u"Seed", u"Excerpt", u"Checks", u"Accuracy", u"Cosine Delta"};
    int32_t row = 0;
    for (const char16_t* label : rows) grid.SetCell(0, row++, label);
    grid.SetCell(1, 0, FromUtf8(std::to_string(validation.Seed)));
    grid.SetCell(1, 1, validation.ExcerptWords > 0 ? Number(validation.ExcerptWords) + u" words" : u"whole texts");
    grid.SetCell(1, 2, Number(static_cast<int64_t>(validation.Checks.size())));
    if (validation.CanTell()) {
        grid.SetCell(1, 3, RightText(validation.Right(), validation.Checks.size()));
        grid.SetCell(1, 4, RightText(validation.DeltaRight(), validation.Checks.size()));
    } else {
        for (const int32_t row : {3, 4}) grid.SetCell(1, row, std::u16string(kCannotTell) + kSingleCandidateReason);
    }
    return grid;
}

TGrid CandidateFiguresGrid(const TCrossValidation& validation) {
    const std::vector<TCandidateFigures> figures = validation.Figures();
    std::vector<int32_t> deltaFound(validation.Names.size(), 0);
    for (const TCrossCheck& check : validation.Checks)
        if (check.DeltaTop == check.Truth) ++deltaFound[static_cast<size_t>(check.Truth)];
    TGrid grid = GridWithHeaders(static_cast<int32_t>(figures.size()) + 1,
                                 {u"Candidate", u"Checks", u"Recall", u"Precision", u"Cosine Delta recall"});
    for (size_t c = 0; c < figures.size(); ++c) {
        const auto row = static_cast<int32_t>(c) + 1;
        const TCandidateFigures& f = figures[c];
        grid.SetCell(0, row, validation.Names[c]);
        grid.SetCell(1, row, Number(f.Checks));
        // Shares of checks that cannot go wrong are left blank as well.
        const bool checked = f.Checks > 0 && validation.CanTell();
        grid.SetCell(2, row, !checked ? u"\u2014" : FormatPercent(f.Recall()));
        grid.SetCell(3, row, f.Named == 0 || !validation.CanTell() ? u"\u2014" : FormatPercent(f.Precision()));
        grid.SetCell(4, row, !checked ? u"\u2014" : FormatPercent(static_cast<double>(deltaFound[c]) / f.Checks));
    }
    return grid;
}

TGrid ConfusionGrid(const TCrossValidation& validation) {
    const auto counts = validation.Confusion();
    const auto n = static_cast<int32_t>(validation.Names.size());
    TGrid grid(n + 1, n + 1);
    grid.SetCell(0, 0, u"Author \\ ranked first");
    for (int32_t c = 0; c < n; ++c) {
        grid.SetCell(c + 1, 0, validation.Names[static_cast<size_t>(c)]);
        grid.SetCell(0, c + 1, validation.Names[static_cast<size_t>(c)]);
        for (int32_t r = 0; r < n; ++r)
            grid.SetCell(r + 1, c + 1, Number(counts[static_cast<size_t>(c)][static_cast<size_t>(r)]));
    }
    return grid;
}

TGrid CrossChecksGrid(const TCrossValidation& validation) {
    TGrid grid = GridWithHeaders(
        static_cast<int32_t>(validation.Checks.size()) + 1,
        {u"Text", u"Author", u"Words", u"Ranked first", u"Runner-up", u"Margin", u"Right", u"Cosine Delta"});
    int32_t row = 1;
    for (const TCrossCheck& check : validation.Checks) {
        grid.SetCell(0, row, check.Text);
        grid.SetCell(1, row, Name(validation, check.Truth));
        grid.SetCell(2, row, Number(check.Words));
        grid.SetCell(3, row, Name(validation, check.Top));
        grid.SetCell(4, row, Name(validation, check.RunnerUp));
        grid.SetCell(5, row, MarginText(check.Margin));
        grid.SetCell(6, row, check.Right ? u"right" : u"wrong");
        grid.SetCell(7, row, Name(validation, check.DeltaTop));
        ++row;
    }
    return grid;
}

}  // namespace quillprint
