// The tool that lays out Markdown as PDF: screenshots not yet taken are left
// out and named instead of failing the build; present ones are embedded.
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>

#include <filesystem>
#include <fstream>

#include "MarkdownPdf.h"
#include "PdfText.h"
#include "TempProject.h"

namespace {

namespace fs = std::filesystem;
using quillprint::help::WriteMarkdownPdf;

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

// pdfimages -list prints two header lines, then one line per image.
int ImageCount(const fs::path& pdf) {
    const auto run = quillprint::testing::RunProgram({QUILLPRINT_PDFIMAGES, "-list", pdf.string()});
    EXPECT_EQ(run.ExitCode, 0);
    return static_cast<int>(std::count(run.Output.begin(), run.Output.end(), '\n')) - 2;
}

TEST(MarkdownPdf, MissingImageIsLeftOutAndNamed) {
    const quillprint::testing::TTempFolder temp;
    const fs::path pdf = temp.Path() / "out.pdf";
    const auto result = WriteMarkdownPdf(
        "# Title\n\nBefore.\n\n![A screenshot](images/missing.png)\n\nAfter.\n", Q(temp.Path()),
        "Test", Q(pdf));

    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_EQ(result.missingImages, QStringList{"images/missing.png"});
    const auto text = PdfText(pdf.string());
    EXPECT_NE(text.Output.find("Before. After."), std::string::npos) << text.Output;
    EXPECT_EQ(ImageCount(pdf), 0);
}

TEST(MarkdownPdf, PresentImageIsEmbeddedEvenWhenWiderThanThePage) {
    const quillprint::testing::TTempFolder temp;
    fs::create_directories(temp.Path() / "images");
    QImage wide(2400, 300, QImage::Format_RGB32);
    wide.fill(Qt::darkGreen);
    ASSERT_TRUE(wide.save(Q(temp.Path() / "images" / "wide.png")));
    const fs::path pdf = temp.Path() / "out.pdf";

    const auto result = WriteMarkdownPdf("Text.\n\n![Wide](images/wide.png)\n", Q(temp.Path()),
                                         "Test", Q(pdf));

    ASSERT_TRUE(result.ok) << result.error.toStdString();
    EXPECT_TRUE(result.missingImages.isEmpty());
    EXPECT_EQ(ImageCount(pdf), 1);
}

TEST(MarkdownPdf, TablesKeepEveryCell) {
    const quillprint::testing::TTempFolder temp;
    const fs::path pdf = temp.Path() / "out.pdf";
    const auto result = WriteMarkdownPdf(
        "| Column | Shows |\n|---|---|\n| \"Words\" | the word count |\n", Q(temp.Path()), "Test",
        Q(pdf));

    ASSERT_TRUE(result.ok);
    const auto text = PdfText(pdf.string());
    for (const char* cell : {"Column", "Shows", "\"Words\"", "the word count"})
        EXPECT_NE(text.Output.find(cell), std::string::npos) << cell;
}

TEST(MarkdownPdf, UnwritableFileIsAnError) {
    const quillprint::testing::TTempFolder temp;
    const fs::path pdf = temp.Path() / "no such folder" / "out.pdf";
    const auto result = WriteMarkdownPdf("Text.\n", Q(temp.Path()), "Test", Q(pdf));

    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(Q(pdf))) << result.error.toStdString();
}

}  // namespace
