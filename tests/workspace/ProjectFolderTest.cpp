#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempProject.h"
#include "engine/Text.h"
#include "workspace/ProjectFolder.h"

namespace quillprint {
namespace {

namespace fs = std::filesystem;
using testing::TTempFolder;
using TNames = std::vector<std::u16string>;

TNames Folders(const std::u16string& path) {
    TNames names;
    ListFolders(names, path);
    return names;
}

TNames Files(const std::u16string& path) {
    TNames names;
    ListFiles(names, path);
    return names;
}

TEST(ListFolders, SortsWithoutRegardToCaseAndSkipsHiddenFoldersAndFiles) {
    TTempFolder project;
    for (const char* name : {"beta", "Alpha", "Unknown", ".hidden", "Ärger", "with space"}) project.MakeFolder(name);
    project.Write("loose file.txt", "x");
    EXPECT_EQ(Folders(project.Dir()), (TNames{u"Alpha", u"beta", u"Unknown", u"with space", u"Ärger"}));
}

TEST(ListFolders, MissingFolderGivesNoNames) {
    TTempFolder project;
    EXPECT_TRUE(Folders(project.Dir() + u"nowhere/").empty());
    TNames list{u"kept"};
    ListFolders(list, project.Dir() + u"nowhere/");
    EXPECT_EQ(list, TNames{u"kept"});
}

TEST(ListFiles, ListsOnlyRegularFilesAndLinksToThem) {
    TTempFolder project;
    const auto author = project.MakeFolder("Author");
    project.Write("Author/b.txt", "b");
    project.Write("Author/A.doc", "a");
    project.Write("Author/.hidden", "h");
    project.Write("Author/no extension", "n");
    project.MakeFolder("Author/inner");
    project.Write("Author/inner/deep.txt", "d");
    fs::create_symlink(author / "b.txt", author / "link.txt");
    fs::create_symlink(author / "missing", author / "broken");
    fs::create_symlink(author / "self", author / "self");  // a link loop
    fs::create_directory_symlink(author, author / "loop");  // a folder loop
    ASSERT_EQ(::mkfifo((author / "pipe").c_str(), 0600), 0);
    EXPECT_EQ(Files(project.Dir() + u"Author/"), (TNames{u"A.doc", u"b.txt", u"link.txt", u"no extension"}));
}

// A project beside a folder "outside" it, with every kind of entry a
// listing within the project meets.
class ProjectListing : public ::testing::Test {
protected:
    void SetUp() override {
        Outside.Write("key.txt", "secret");
        const fs::path root = Project.MakeFolder("project");
        Project.Write("project/Unknown/u.txt", "u");
        Project.Write("project/Bob/b.txt", "b");
        const fs::path bob = root / "Bob";
        fs::create_symlink(Outside.Path() / "key.txt", bob / "notes.txt");
        fs::create_symlink("../Unknown/u.txt", bob / "inside.txt");
        fs::create_symlink(root / "Unknown" / "u.txt", bob / "absolute inside.txt");
        // Out through the project's parent and back in is still inside.
        fs::create_symlink("../../project/Bob/b.txt", bob / "round trip.txt");
        fs::create_symlink(bob / "missing", bob / "broken");
        fs::create_symlink(bob / "self", bob / "self");
        ASSERT_EQ(::mkfifo((bob / "pipe").c_str(), 0600), 0);
        fs::create_directory_symlink(Outside.Path(), root / "Etc");
        fs::create_directory_symlink("Bob", root / "Robert");
        // A folder beside the project whose name starts like it.
        Project.Write("project-other/x.txt", "x");
        fs::create_symlink("../../project-other/x.txt", bob / "sibling.txt");
    }
    TTempFolder Project, Outside;
    std::u16string Root() const { return Project.Dir() + u"project/"; }
};

TEST_F(ProjectListing, LinksLeavingTheProjectAndWhatIsNoTextAreSetAside) {
    struct TCase {
        bool Follow;
        TNames Folders, Files;
        std::vector<std::pair<std::u16string, TSetAsideKind>> FolderAsides, FileAsides;
    };
    using K = TSetAsideKind;
    const TNames inside{u"absolute inside.txt", u"b.txt", u"inside.txt", u"round trip.txt"};
    const TNames followed{u"absolute inside.txt", u"b.txt",          u"inside.txt",
                          u"notes.txt",           u"round trip.txt", u"sibling.txt"};
    for (const TCase& c : {TCase{false,
                                 {u"Bob", u"Robert", u"Unknown"},
                                 inside,
                                 {{u"Etc", K::OutsideLink}},
                                 {{u"broken", K::BrokenLink},
                                  {u"notes.txt", K::OutsideLink},
                                  {u"pipe", K::Pipe},
                                  {u"self", K::BrokenLink},
                                  {u"sibling.txt", K::OutsideLink}}},
                           TCase{true,
                                 {u"Bob", u"Etc", u"Robert", u"Unknown"},
                                 followed,
                                 {},
                                 {{u"broken", K::BrokenLink}, {u"pipe", K::Pipe}, {u"self", K::BrokenLink}}}}) {
        const TProjectBounds bounds = ProjectBoundsOf(Root(), c.Follow);
        TNames folders, files;
        std::vector<TSetAside> folderAsides, fileAsides;
        ListFolders(folders, Root(), bounds, folderAsides);
        ListFiles(files, Root() + u"Bob/", bounds, fileAsides);
        EXPECT_EQ(folders, c.Folders) << c.Follow;
        EXPECT_EQ(files, c.Files) << c.Follow;
        const auto pairs = [](const std::vector<TSetAside>& asides) {
            std::vector<std::pair<std::u16string, TSetAsideKind>> list;
            for (const TSetAside& aside : asides) list.emplace_back(aside.Name, aside.Kind);
            return list;
        };
        EXPECT_EQ(pairs(folderAsides), c.FolderAsides) << c.Follow;
        EXPECT_EQ(pairs(fileAsides), c.FileAsides) << c.Follow;
    }
}

TEST_F(ProjectListing, AProjectReachedThroughALinkKeepsItsOwnLinks) {
    // The project's own path is a link: what lies in the folder it leads to
    // is inside.
    const fs::path alias = Outside.Path() / "alias";
    fs::create_directory_symlink(Project.Path() / "project", alias);
    const std::u16string dir = FromFsPath(alias) + u"/";
    TNames files;
    std::vector<TSetAside> asides;
    ListFiles(files, dir + u"Bob/", ProjectBoundsOf(dir, false), asides);
    EXPECT_EQ(files, (TNames{u"absolute inside.txt", u"b.txt", u"inside.txt", u"round trip.txt"}));
}

TEST(ListFiles, ListsTwoThousandFilesInOrder) {
    TTempFolder project;
    for (int i = 1999; i >= 0; --i) project.Write("Author/f" + std::to_string(i), "x");
    const TNames names = Files(project.Dir() + u"Author/");
    ASSERT_EQ(names.size(), 2000u);
    EXPECT_EQ(names[0], u"f0");
    EXPECT_EQ(names[1], u"f1");
    EXPECT_EQ(names[2], u"f10");
    EXPECT_EQ(names.back(), u"f999");
}

TEST(SortListing, UpperCasesOneToOneThenComparesCodeUnits) {
    TNames names{u"b", u"B", u"a_", u"A", u"ß", u"SS", u"z"};
    SortListing(names);
    // "ß" has no one-to-one upper case and stays after "Z"; names equal
    // after upper-casing ("B", "b") go by their own code units.
    EXPECT_EQ(names, (TNames{u"A", u"a_", u"B", u"b", u"SS", u"z", u"ß"}));
}

TEST(FindUnknownFolder, MatchesWithoutRegardToCase) {
    EXPECT_EQ(FindUnknownFolder({u"Alpha", u"unknown"}), 1u);
    EXPECT_EQ(FindUnknownFolder({u"UNKNOWN"}), 0u);
    EXPECT_EQ(FindUnknownFolder({u"Unknown", u"unknown"}), 0u);
    EXPECT_FALSE(FindUnknownFolder({u"Unknown2", u"Unknow"}).has_value());
    EXPECT_FALSE(FindUnknownFolder({}).has_value());
}

TEST(ResolvePath, FindsAComponentSpelledInAnotherCase) {
    TTempFolder project;
    const auto file = project.Write("unknown/Text.TXT", "x");
    EXPECT_EQ(ResolvePath(project.Dir() + u"Unknown/text.txt"), file);
    EXPECT_EQ(ResolvePath(project.Dir() + u"unknown/Text.TXT"), project.Path() / "unknown/Text.TXT");
    const auto missing = project.Dir() + u"Unknown/other.txt";
    EXPECT_EQ(ResolvePath(missing), ToFsPath(missing));
}

TEST(FsPath, RoundTripsNonAsciiNames) {
    const std::u16string name = u"/tmp/Ärger ß 文字";
    EXPECT_EQ(FromFsPath(ToFsPath(name)), name);
}

TEST(FsPath, KeepsTheBytesOfNamesThatAreNotUtf8) {
    // Each byte outside valid UTF-8 is kept as U+DC00 + byte; valid parts
    // around it decode as usual.
    struct TCase {
        std::string Bytes;
        std::u16string Text;
    };
    for (const TCase& c : {TCase{"Jos\xe9", u"Jos\xDCE9"}, {"Jos\xe8", u"Jos\xDCE8"},
                           {"\xc3\xa9\xff\xc3", u"\u00E9\xDCFF\xDCC3"}, {"\xed\xa0\x80", u"\xDCED\xDCA0\xDC80"},
                           {"a\xf0\x9f\x98\x80", u"a\U0001F600"}}) {
        const std::filesystem::path path(c.Bytes);
        EXPECT_EQ(FromFsPath(path), c.Text) << c.Bytes;
        EXPECT_EQ(ToFsPath(c.Text).native(), c.Bytes) << c.Bytes;
    }
    // Shown to the user, a kept byte reads as U+FFFD.
    EXPECT_EQ(ToUtf8(FromFsPath(std::filesystem::path("Jos\xe9"))), "Jos\xEF\xBF\xBD");
}

TEST(ListFolders, NamesThatAreNotUtf8StayApartAndOpen) {
    TTempFolder project;
    project.Write("Jos\xe9/caf\xe9.txt", "one");
    project.Write("Jos\xe8/caf\xe9.txt", "two");
    std::vector<std::u16string> folders;
    ListFolders(folders, project.Dir());
    ASSERT_EQ(folders, (std::vector<std::u16string>{u"Jos\xDCE8", u"Jos\xDCE9"}));
    std::vector<std::u16string> files;
    ListFiles(files, project.Dir() + folders[1] + u"/");
    ASSERT_EQ(files, std::vector<std::u16string>{u"caf\xDCE9.txt"});
    EXPECT_TRUE(std::filesystem::is_regular_file(ResolvePath(project.Dir() + folders[1] + u"/" + files[0])));
}

TEST(ResolvePath, AFileOfTheSameNameIsNoFolder) {
    TTempFolder project;
    project.Write("UNKNOWN", "a file listed before the folder");
    const auto file = project.Write("unknown/u.txt", "x");
    EXPECT_EQ(ResolvePath(project.Dir() + u"Unknown/u.txt"), file);
}

TEST(CountUnknownFolders, CountsEveryCaseOfTheName) {
    EXPECT_EQ(CountUnknownFolders({u"Unknown", u"Alpha", u"unknown", u"UNKNOWN"}), 3u);
    EXPECT_EQ(CountUnknownFolders({u"Unknown", u"Unknown2"}), 1u);
    EXPECT_EQ(CountUnknownFolders({}), 0u);
}

}  // namespace
}  // namespace quillprint
