// Turns a Markdown document into a PDF file with Qt's own text layout.
#pragma once

#include <QString>
#include <QStringList>

namespace quillprint::help {

struct MarkdownPdfResult {
    bool ok = false;
    QString error;             // why no PDF was written, when !ok
    QStringList missingImages; // image references left out of the PDF
};

// Lays out `markdown` (GitHub dialect) on A4 pages and writes it to `pdfPath`.
// Relative image paths are read from `imageFolder`; an image that is not there
// is left out and reported, so the document can be made before screenshots exist.
MarkdownPdfResult WriteMarkdownPdf(const QString& markdown, const QString& imageFolder,
                                   const QString& title, const QString& pdfPath);

}  // namespace quillprint::help
