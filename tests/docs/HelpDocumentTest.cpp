// Quillprint.pdf beside the built programs: a readable PDF that teaches every
// command, page and table column of the window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "PdfText.h"

namespace {

namespace fs = std::filesystem;

TEST(HelpDocument, IsACompletePdf) {
    std::ifstream in(QUILLPRINT_HELP_PDF, std::ios::binary);
    ASSERT_TRUE(in) << QUILLPRINT_HELP_PDF << " was not made";
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_NE(bytes.find("%%EOF", bytes.size() > 1024 ? bytes.size() - 1024 : 0), std::string::npos)
        << "the file was not finished";
}

class HelpDocumentNames : public ::testing::TestWithParam<std::string> {};

// Each caption is looked for in double quotes, as the document writes
// the window's own texts.
TEST_P(HelpDocumentNames, AreExplained) {
    const auto text = PdfText(QUILLPRINT_HELP_PDF);
    ASSERT_EQ(text.ExitCode, 0) << "pdftotext could not read the document";
    EXPECT_NE(text.Output.find("\"" + GetParam() + "\""), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, HelpDocumentNames,
    ::testing::Values("New", "Add author", "Open folder", "Add text", "Federalist", "Presidents",
                      "Tutorial", "Authors", "Candidates", "Calculate", "Balance", "Validation", "Help",
                      "Copy", "Extract"));
INSTANTIATE_TEST_SUITE_P(
    PagesAndGroups, HelpDocumentNames,
    ::testing::Values("Input data", "Analysis", "Result", "Stylometry", "Project", "Examples",
                      "Unknown"));
INSTANTIATE_TEST_SUITE_P(
    TableColumnsAndVerdicts, HelpDocumentNames,
    ::testing::Values("Author", "Probability", "Description", "Words", "Phrase", "Count",
                      "Other Authors use", "Most likely", "Maybe", "Hardly",
                      "The same as Unknown text", "Draws won"));

}  // namespace
