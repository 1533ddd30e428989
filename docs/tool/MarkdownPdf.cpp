#include "MarkdownPdf.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

namespace quillprint::help {
namespace {

// Images are sized in 96-dpi pixels; A4 less its 2 cm margins is about 640.
constexpr double kMaxImageWidth = 600.0;

// An image written alone on its line: ![caption](path)
const QRegularExpression& ImageLine() {
    static const QRegularExpression re(QStringLiteral(R"(^\s*!\[[^\]]*\]\(([^)\s]+)\)\s*$)"));
    return re;
}

// Drops the lines of images that do not exist, and names them in `missing`.
QString WithoutMissingImages(const QString& markdown, const QDir& folder, QStringList& missing) {
    QStringList kept;
    for (const QString& line : markdown.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = ImageLine().match(line);
        if (match.hasMatch() && !QFileInfo::exists(folder.filePath(match.captured(1)))) {
            missing << match.captured(1);
            continue;
        }
        kept << line;
    }
    return kept.join(QLatin1Char('\n'));
}

// Loads every image into the document and shrinks the wide ones to the page.
void FitImages(QTextDocument& document, const QDir& folder) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QImage image(folder.filePath(format.name()));
            if (image.isNull())
                continue;
            document.addResource(QTextDocument::ImageResource, QUrl(format.name()), image);
            const double scale = std::min(1.0, kMaxImageWidth / image.width());
            format.setWidth(image.width() * scale);
            format.setHeight(image.height() * scale);
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
}

// Thin grey rules, some air in the cells, full width, and the header row
// repeated on every page the table spans.
void StyleTables(QTextFrame* frame) {
    for (QTextFrame* child : frame->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(child)) {
            QTextTableFormat format = table->format();
            format.setBorder(1);
            format.setBorderBrush(Qt::gray);
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            format.setBorderCollapse(true);
            format.setCellSpacing(0);
            format.setCellPadding(4);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            format.setHeaderRowCount(1);
            table->setFormat(format);
        }
        StyleTables(child);
    }
}

}  // namespace

MarkdownPdfResult WriteMarkdownPdf(const QString& markdown, const QString& imageFolder,
                                   const QString& title, const QString& pdfPath) {
    MarkdownPdfResult result;
    const QDir folder(imageFolder);

    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    document.setMarkdown(WithoutMissingImages(markdown, folder, result.missingImages),
                         QTextDocument::MarkdownDialectGitHub);
    FitImages(document, folder);
    StyleTables(document.rootFrame());

    {
        QPdfWriter writer(pdfPath);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Quillprint"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        // print() adds margins of 2 cm and the page numbers, and breaks the
        // text into pages.
        document.print(&writer);
    }  // the writer finishes the file when it goes

    if (QFileInfo(pdfPath).size() == 0) {
        result.error = QStringLiteral("could not write %1").arg(pdfPath);
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace quillprint::help
