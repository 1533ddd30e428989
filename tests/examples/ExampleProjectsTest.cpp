// The example projects beside the built programs: each is a loadable project
// whose unknown text is held out from the samples, and each calculates.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "TempProject.h"

namespace {

namespace fs = std::filesystem;
using quillprint::testing::RunProgram;

const fs::path kExamples = QUILLPRINT_EXAMPLES_DIR;

struct TProject {
    std::vector<fs::path> UnknownTexts;
    std::map<std::string, std::vector<fs::path>> Candidates;  // name -> texts
};

bool IsUnknown(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), ::tolower);
    return name == "unknown";
}

std::vector<fs::path> TextsIn(const fs::path& folder) {
    std::vector<fs::path> texts;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
            texts.push_back(entry.path());
    std::sort(texts.begin(), texts.end());
    return texts;
}

TProject ReadProject(const fs::path& folder) {
    TProject project;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (!entry.is_directory())
            continue;
        const std::string name = entry.path().filename().string();
        if (IsUnknown(name))
            project.UnknownTexts = TextsIn(entry.path());
        else
            project.Candidates[name] = TextsIn(entry.path());
    }
    return project;
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class ExampleProject : public ::testing::TestWithParam<std::string> {
protected:
    fs::path Folder() const { return kExamples / GetParam(); }
};

TEST_P(ExampleProject, HasAnUnknownTextAndCandidatesWithTexts) {
    ASSERT_TRUE(fs::is_directory(Folder())) << Folder() << " was not laid out";
    const TProject project = ReadProject(Folder());
    EXPECT_FALSE(project.UnknownTexts.empty()) << "no text in Unknown";
    ASSERT_FALSE(project.Candidates.empty()) << "no candidate folder";
    for (const auto& [name, texts] : project.Candidates)
        EXPECT_FALSE(texts.empty()) << "candidate " << name << " has no text";
}

// A sample that equals the unknown text would make the attribution trivial.
TEST_P(ExampleProject, UnknownTextIsNotAmongTheSamples) {
    const TProject project = ReadProject(Folder());
    std::set<std::string> samples;
    for (const auto& [name, texts] : project.Candidates)
        for (const fs::path& text : texts)
            samples.insert(ReadBytes(text));
    for (const fs::path& text : project.UnknownTexts)
        EXPECT_FALSE(samples.count(ReadBytes(text))) << text << " is also a sample";
}

TEST_P(ExampleProject, CalculationRanksEveryCandidate) {
    const auto run = RunProgram({QUILLPRINT_CLI, "--locale", "en_US", Folder().string()}, true);
    ASSERT_EQ(run.ExitCode, 0) << run.Output;

    const std::vector<std::string> lines = Lines(run.Output);
    const TProject project = ReadProject(Folder());
    ASSERT_EQ(lines.size(), project.Candidates.size() + 2) << run.Output;
    EXPECT_EQ(lines.front(), "Author\tProbability\tDescription\tWords");
    EXPECT_EQ(lines.back().substr(0, lines.back().find('\t')), "Unknown");

    std::set<std::string> ranked;
    for (size_t i = 1; i + 1 < lines.size(); ++i)
        ranked.insert(lines[i].substr(0, lines[i].find('\t')));
    std::set<std::string> candidates;
    for (const auto& [name, texts] : project.Candidates)
        candidates.insert(name);
    EXPECT_EQ(ranked, candidates);
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleProject,
                         ::testing::Values("FederalistShort", "Authors", "Presidents",
                                           "Candidates", "Tutorial"));

// Known answers on real texts: the candidate each example's unknown text is
// generally attributed to must rank first.
struct TKnownAnswer {
    std::string Example;
    std::string Author;
};

void PrintTo(const TKnownAnswer& answer, std::ostream* out) { *out << answer.Example; }

class KnownAnswer : public ::testing::TestWithParam<TKnownAnswer> {};

TEST_P(KnownAnswer, RanksTheTrueAuthorFirst) {
    const auto run =
        RunProgram({QUILLPRINT_CLI, "--locale", "en_US", (kExamples / GetParam().Example).string()}, true);
    ASSERT_EQ(run.ExitCode, 0) << run.Output;
    const std::vector<std::string> lines = Lines(run.Output);
    ASSERT_GE(lines.size(), 2u) << run.Output;
    EXPECT_EQ(lines[1].substr(0, lines[1].find('\t')), GetParam().Author) << run.Output;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, KnownAnswer,
    ::testing::Values(
        // Federalist No. 51, one of the disputed papers, is Madison's by
        // today's consensus.
        TKnownAnswer{"FederalistShort", "Madison"},
        // Obama's address of 2016 among three addresses of each of six
        // presidents.
        TKnownAnswer{"Presidents", "Barack Obama"},
        // Lincoln's address of 1864 among forty presidents.
        TKnownAnswer{"Candidates", "Abraham Lincoln"}),
    [](const auto& info) { return info.param.Example; });

// The chat example: its export splits into four participants of about 1,500
// words each, and with the unsigned note as the unknown text the author of
// the note ranks first.
TEST(ChatExample, ExtractsFourParticipantsAndRanksTheNotesAuthorFirst) {
    const fs::path chat = kExamples / "Chat";
    const quillprint::testing::TTempFolder temp;
    const fs::path project = temp.Path() / "chat";
    const auto extract = RunProgram(
        {QUILLPRINT_CLI, "--extract", (chat / "Chat export.txt").string(), "--into", project.string()}, true);
    ASSERT_EQ(extract.ExitCode, 0) << extract.Output;
    EXPECT_EQ(ReadProject(chat).UnknownTexts.size(), 1u);
    fs::copy(chat / "Unknown", project / "Unknown");

    const auto run = RunProgram({QUILLPRINT_CLI, "--locale", "en_US", project.string()}, true);
    ASSERT_EQ(run.ExitCode, 0) << run.Output;
    const std::vector<std::string> lines = Lines(run.Output);
    ASSERT_EQ(lines.size(), 6u) << run.Output;
    EXPECT_EQ(lines[1].substr(0, lines[1].find('\t')), "Ben Okafor") << run.Output;
    for (size_t i = 1; i < 5; ++i) {
        const int words = std::stoi(lines[i].substr(lines[i].rfind('\t') + 1));
        EXPECT_TRUE(words > 1200 && words < 1900) << lines[i];
    }
}

// What each example is made of; a wrong paper table or a lost file shows here.
struct TExpectedLayout {
    std::string Example;
    size_t UnknownTexts;
    size_t Candidates;
    std::map<std::string, size_t> TextsOf;  // a few candidates' text counts
};

void PrintTo(const TExpectedLayout& layout, std::ostream* out) { *out << layout.Example; }

class ExampleLayout : public ::testing::TestWithParam<TExpectedLayout> {};

TEST_P(ExampleLayout, HoldsTheChosenTexts) {
    const TExpectedLayout& expected = GetParam();
    const TProject project = ReadProject(kExamples / expected.Example);
    EXPECT_EQ(project.UnknownTexts.size(), expected.UnknownTexts);
    EXPECT_EQ(project.Candidates.size(), expected.Candidates);
    for (const auto& [name, count] : expected.TextsOf) {
        ASSERT_TRUE(project.Candidates.count(name)) << name << " is missing";
        EXPECT_EQ(project.Candidates.at(name).size(), count) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ExampleLayout,
    ::testing::Values(
        TExpectedLayout{"FederalistShort", 1, 3, {{"Hamilton", 3}, {"Madison", 2}, {"Jay", 4}}},
        // Every known paper; the twelve disputed ones are the unknown text.
        TExpectedLayout{"Authors", 12, 3, {{"Hamilton", 51}, {"Madison", 14}, {"Jay", 5}}},
        TExpectedLayout{"Presidents", 1, 6, {{"Barack Obama", 3}, {"Ronald Reagan", 3}}},
        // The 40 presidents with three or more addresses, two samples each;
        // Lincoln's held-out address is not one of his samples.
        TExpectedLayout{"Candidates", 1, 40, {{"Abraham Lincoln", 2}, {"George Washington", 2}}},
        TExpectedLayout{"Tutorial", 1, 3, {{"Captain", 2}, {"Gardener", 2}, {"Professor", 2}}}),
    [](const auto& info) { return info.param.Example; });

}  // namespace
