// The text of a PDF file as poppler's pdftotext reads it, with every run of
// blanks and line breaks made one blank, so phrases broken across lines match.
#pragma once

#include <string>

#include "RunProgram.h"

inline quillprint::testing::TProgramRun PdfText(const std::string& pdf) {
    auto run = quillprint::testing::RunProgram({QUILLPRINT_PDFTOTEXT, "-enc", "UTF-8", pdf, "-"});
    std::string flat;
    for (char c : run.Output) {
        const bool blank = c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f';
        if (!blank)
            flat += c;
        else if (!flat.empty() && flat.back() != ' ')
            flat += ' ';
    }
    run.Output = flat;
    return run;
}
