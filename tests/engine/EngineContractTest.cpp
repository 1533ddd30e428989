// The engine's order of calls is checked, and its scores are written the
// same whatever the process locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "EngineTestHelpers.h"
#include "engine/Quillprint.h"
#include "engine/ScoreFormat.h"

namespace quillprint::testing {
namespace {

TEST(EngineContract, CallsOutOfOrderThrowALogicError) {
    const std::vector<std::pair<const char*, std::function<void(TQuillprint&)>>> lateCalls = {
        {"Detect twice", [](TQuillprint& engine) { engine.Detect(u"the cat"); }},
        {"AddAuthor after Detect", [](TQuillprint& engine) { engine.AddAuthor(u"Late", u"the cat"); }},
        {"AddAuthors after Detect",
         [](TQuillprint& engine) {
             engine.AddAuthors({{u"Late", u"the cat"}});
         }},
        {"AddAuthorWords after Detect", [](TQuillprint& engine) { engine.AddAuthorWords(u"Late", {u"the"}); }},
    };
    for (const auto& [name, call] : lateCalls) {
        TQuillprint engine(kTestLocale);
        engine.AddAuthor(u"Anna", u"the cat sat on the mat and the cat sat");
        const std::u16string summary = engine.Detect(u"the cat sat on the mat");
        EXPECT_THROW(call(engine), std::logic_error) << name;
        // The first run's results stay readable.
        EXPECT_EQ(engine.Authors().size(), 2u) << name;
        EXPECT_FALSE(summary.empty());
    }
}

// The process locale a German desktop gives a program: "," as the C
// library's decimal point. Made from the system's locale sources into a
// temporary folder, since few machines have it installed.
class GermanProcessLocale : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string dir = (std::filesystem::temp_directory_path() / "quillprint-locale-test").string();
        std::filesystem::create_directories(dir);
        const std::string command = "localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' 2>/dev/null";
        ASSERT_TRUE(std::system(command.c_str()) == 0 || std::filesystem::exists(dir + "/de_DE.UTF-8"));
        setenv("LOCPATH", dir.c_str(), 1);
        ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
        char decimal[16];
        std::snprintf(decimal, sizeof decimal, "%.1f", 0.5);
        ASSERT_STREQ(decimal, "0,5");  // the C library now writes ","
    }
    void TearDown() override {
        std::setlocale(LC_NUMERIC, "C");
        unsetenv("LOCPATH");
    }
};

TEST_F(GermanProcessLocale, ScoresKeepTheSeparatorTheyAreGiven) {
    EXPECT_EQ(FormatScore(0.8125, u'.'), u"0.8125");
    EXPECT_EQ(FormatScore(0.00001234, u'.'), u"1.234E-5");
    EXPECT_EQ(FormatScore(0.8125, u','), u"0,8125");
    TQuillprint engine("en_US");
    engine.AddAuthor(u"Anna", u"the cat sat on the mat and the cat sat on the mat");
    engine.AddAuthor(u"Ben", u"a dog ran in the park");
    const std::u16string summary = engine.Detect(u"the cat sat on the mat");
    EXPECT_EQ(summary.find(u','), std::u16string::npos);
}

}  // namespace
}  // namespace quillprint::testing
