// Quillprint.pdf beside the built programs: a readable PDF that teaches every
// command, page and table column of the window.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
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

// A window text and the start of its explanation, as the document's tables
// and headings put them: the explanation must follow the quoted name closely
// (a page number may come between), so a name merely mentioned elsewhere
// does not count.
struct TExplainedName {
    std::string Name;
    std::string Explanation;
};

void PrintTo(const TExplainedName& name, std::ostream* out) { *out << name.Name; }

class HelpDocumentNames : public ::testing::TestWithParam<TExplainedName> {};

TEST_P(HelpDocumentNames, AreExplainedWhereTheyBelong) {
    static const auto text = PdfText(QUILLPRINT_HELP_PDF);
    ASSERT_EQ(text.ExitCode, 0) << "pdftotext could not read the document";
    const std::string quoted = "\"" + GetParam().Name + "\"";
    constexpr size_t kNearby = 12;  // room for a page number and its blanks
    // A table row cut by a page break comes out of pdftotext with its cells
    // out of order and the page number and repeated header among them; every
    // word of its explanation still lies within the row's few lines around
    // the name.
    constexpr size_t kCutRow = 200;
    const std::string& explanationText = GetParam().Explanation;
    bool found = false;
    for (size_t at = text.Output.find(quoted); at != std::string::npos && !found;
         at = text.Output.find(quoted, at + 1)) {
        const size_t after = at + quoted.size();
        const size_t explanation = text.Output.find(explanationText, after);
        found = explanation != std::string::npos && explanation - after <= kNearby;
        if (found) break;
        const size_t from = at > kCutRow ? at - kCutRow : 0;
        const std::string row = text.Output.substr(from, after + kCutRow - from);
        std::istringstream words(explanationText);
        found = true;
        for (std::string word; words >> word && found;) found = row.find(word) != std::string::npos;
    }
    EXPECT_TRUE(found) << quoted << " is not followed by \"" << GetParam().Explanation << "\"";
}

// The table of commands: each command with the place of its button.
INSTANTIATE_TEST_SUITE_P(
    Commands, HelpDocumentNames,
    ::testing::Values(TExplainedName{"New", "group \"Project\"; quick-access toolbar Starts an empty project"},
                      TExplainedName{"Add author", "group \"Project\" Adds a candidate"},
                      TExplainedName{"Open folder", "group \"Project\"; quick-access toolbar Asks for a project"},
                      TExplainedName{"Add text", "quick-access toolbar only, after adding it there Adds an empty"},
                      TExplainedName{"Federalist", "group \"Examples\" Loads the example \"FederalistShort\""},
                      TExplainedName{"Presidents", "group \"Examples\" Loads the example \"Presidents\""},
                      TExplainedName{"Tutorial", "group \"Examples\" Loads the example \"Tutorial\""},
                      TExplainedName{"Authors", "quick-access toolbar only Loads the example \"Authors\""},
                      TExplainedName{"Candidates", "quick-access toolbar only Loads the example \"Candidates\""},
                      TExplainedName{"Calculate", "group \"Calculate\"; quick"},
                      TExplainedName{"Balance", "group \"Calculate\" Turns balanced calculations on or o"},
                      TExplainedName{"Each text", "group \"Calculate\" Turns on or o"},
                      TExplainedName{"Leave out copied passages", "group \"Calculate\" Turns on or o"},
                      TExplainedName{"Copied passages", "group \"Calculate\" Lists the passages"},
                      TExplainedName{"Export report…", "group \"Calculate\" Saves the current results"},
                      TExplainedName{"Cross-validation", "group \"Calculate\" Opens the dialog"},
                      TExplainedName{"Validation", "quick-access toolbar only A check of the method"},
                      TExplainedName{"Help", "group \"Help\"; key F1 Opens this document"},
                      TExplainedName{"Copy", "right click in any table Copies the table of the active page"},
                      TExplainedName{"Save as…", "group \"Calculate\"; right click in any table Saves the table"},
                      TExplainedName{"Extract", "group \"Project\" Asks for a chat export"},
                      TExplainedName{"Follow links", "group \"Project\" Turns on or o"}));
// The pages under their own headings, and the groups of the ribbon with
// their buttons.
INSTANTIATE_TEST_SUITE_P(
    PagesAndGroups, HelpDocumentNames,
    ::testing::Values(TExplainedName{"Input data", ". On the left the tree of authors"},
                      TExplainedName{"Result", "One row per author"},
                      TExplainedName{"Analysis", "The evidence: every phrase"},
                      TExplainedName{"Stylometry", "The habits of one author"},
                      TExplainedName{"Project", "\"New\" (large button), \"Add author\", \"Open folder\", \"Extract\""},
                      TExplainedName{"Examples", "\"Federalist\", \"Presidents\", \"Tutorial\""},
                      TExplainedName{"Unknown", "holding the text to attribute"},
                      TExplainedName{"This is the unknown text", "for one participant when"}));
// The columns of the three tables, and the verdicts with their range and colour.
INSTANTIATE_TEST_SUITE_P(
    TableColumnsAndVerdicts, HelpDocumentNames,
    ::testing::Values(TExplainedName{"Author", "the author's name"},
                      TExplainedName{"Probability", "the score as a percentage, at most 99%"},
                      TExplainedName{"Description", "the verdict:"},
                      TExplainedName{"Words", "the number of words of the author's texts"},
                      TExplainedName{"Draws won", "only with \"Balance\" on: how many of the nine draws"},
                      TExplainedName{"Phrase", "a phrase that this author's texts use"},
                      TExplainedName{"Count", "how many times this author uses it"},
                      TExplainedName{"Other Authors use", "how many other authors"},
                      TExplainedName{"Most likely", "green, bold"},
                      TExplainedName{"Maybe", "blue Some evidence"},
                      TExplainedName{"Hardly", "ordinary Little or no evidence"},
                      TExplainedName{"The same as Unknown text", "ordinary The row of the unknown text itself"}));

}  // namespace
