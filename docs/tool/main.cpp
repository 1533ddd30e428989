// Makes the help document: quillprint-helpdoc INPUT.md IMAGE_FOLDER OUTPUT.pdf
// Runs on the offscreen platform, so the build needs no display.
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

#include "MarkdownPdf.h"

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: quillprint-helpdoc INPUT.md IMAGE_FOLDER OUTPUT.pdf\n");
        return 1;
    }
    QFile input(args[1]);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "helpdoc: cannot read %s: %s\n", qPrintable(args[1]),
                     qPrintable(input.errorString()));
        return 1;
    }
    const QString markdown = QString::fromUtf8(input.readAll());

    const auto result = quillprint::help::WriteMarkdownPdf(
        markdown, args[2], QStringLiteral("Quillprint"), args[3]);
    for (const QString& image : result.missingImages)
        std::fprintf(stderr, "helpdoc: the image %s is not there yet; the document is made without it\n",
                     qPrintable(image));
    if (!result.ok) {
        std::fprintf(stderr, "helpdoc: %s\n", qPrintable(result.error));
        return 1;
    }
    return 0;
}
