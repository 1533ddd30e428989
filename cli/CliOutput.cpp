#include "cli/CliOutput.h"

#include "cli/Json.h"

#include "engine/Quillprint.h"
#include "engine/Text.h"
#include "workspace/Grid.h"

namespace quillprint::cli {

std::string TsvRow(const TGrid& grid, int32_t row) {
    std::string text;
    for (int32_t col = 0; col < grid.ColCount(); ++col) {
        if (col > 0) text += '\t';
        std::u16string cell = grid.Cell(col, row);
        for (char16_t& c : cell)
            if (c == u'\t' || c == u'\r' || c == u'\n') c = u' ';
        text += ToUtf8(cell);
    }
    text += '\n';
    return text;
}

std::string TsvText(const TGrid& grid, int32_t rowCount) {
    std::string text;
    for (int32_t row = 0; row < rowCount; ++row) text += TsvRow(grid, row);
    return text;
}

std::string SummaryText(const std::u16string& summary) {
    std::string text = ToUtf8(summary);
    for (char& c : text)
        if (c == '\r') c = '\n';
    return text;
}

std::string JsonText(const TQuillprint& engine, const std::u16string& summary) {
    std::string out = "{\"authors\":[";
    bool firstAuthor = true;
    for (const auto& author : engine.Authors()) {
        if (!firstAuthor) out += ',';
        firstAuthor = false;
        out += "{\"name\":";
        AppendJsonString(out, author->Name());
        out += ",\"words\":" + std::to_string(author->WordCount());
        out += ",\"koef\":";
        AppendJsonNumber(out, author->Koef());
        out += ",\"uniqueNum\":" + std::to_string(author->UniqueNum());
        out += ",\"phrases\":[";
        bool firstPhrase = true;
        for (const TPhrase* phrase : author->Phrases()) {
            if (!firstPhrase) out += ',';
            firstPhrase = false;
            AppendJsonString(out, phrase->Value());
        }
        out += "]}";
    }
    out += "],\"phrases\":[";
    bool firstPhrase = true;
    for (const TPhrase* phrase : engine.Phrases()) {
        if (!firstPhrase) out += ',';
        firstPhrase = false;
        out += "{\"value\":";
        AppendJsonString(out, phrase->Value());
        out += ",\"words\":" + std::to_string(phrase->CountWords());
        out += ",\"instances\":" + std::to_string(phrase->CountInstances());
        out += ",\"counts\":[";
        bool firstCount = true;
        for (const int32_t count : phrase->AuthorsCounts()) {
            if (!firstCount) out += ',';
            firstCount = false;
            out += std::to_string(count);
        }
        out += "],\"unique\":" + std::to_string(phrase->Unique());
        out += ",\"authors\":" + std::to_string(phrase->CountAuthors()) + "}";
    }
    out += "],\"summary\":";
    AppendJsonString(out, summary);
    out += ",\"average\":" + std::to_string(engine.AverageWordCounts()) + "}\n";
    return out;
}

}  // namespace quillprint::cli
