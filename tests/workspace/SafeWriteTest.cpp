#include "workspace/SafeWrite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "TempProject.h"

namespace quillprint {
namespace {

namespace fs = std::filesystem;
using testing::Slurp;
using testing::SnapshotFolder;
using testing::TTempFolder;

// The paths below `folder`, without sizes and times.
std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> entries;
    for (const auto& [path, facts] : SnapshotFolder(folder)) entries.push_back(path);
    return entries;
}

// Sets the write hook for one test and takes it away again.
class TWriteHook {
public:
    explicit TWriteHook(std::function<void(const fs::path&)> hook) { SetWriteHookForTesting(std::move(hook)); }
    ~TWriteHook() { SetWriteHookForTesting(nullptr); }
};

void Write(TNewFolder& folder, const TOpenFolder& in, const std::string& name, const std::string& bytes) {
    TNewFile file = folder.CreateFile(in, name);
    file.Write(bytes);
    file.Close();
}

// The user's folder "work" beside an "outside" folder that must never change.
class SafeWrite : public ::testing::Test {
protected:
    void SetUp() override {
        Victim = Temp.Write("outside/victim.txt", "keep me");
        Temp.MakeFolder("outside/empty");
        Work = Temp.MakeFolder("work");
        Outside = SnapshotFolder(Temp.Path() / "outside");
    }
    void ExpectOutsideUntouched() const {
        EXPECT_EQ(SnapshotFolder(Temp.Path() / "outside"), Outside);
        EXPECT_EQ(Slurp(Victim), "keep me");
    }
    TTempFolder Temp;
    fs::path Victim;
    fs::path Work;
    testing::TFolderSnapshot Outside;
};

TEST_F(SafeWrite, BuildsTheFolderBesideItsTargetAndRenamesItIntoPlace) {
    const fs::path target = Work / "new" / "export";  // "new" is made as well
    {
        TNewFolder folder(target);
        const TOpenFolder ann = folder.MakeFolder(folder.Root(), "Ann");
        Write(folder, ann, "chat.txt", "hello");
        Write(folder, folder.Root(), "spool", "moved");
        folder.Move(folder.Root(), "spool", ann, "second.txt");
        EXPECT_FALSE(fs::exists(target)) << "nothing is in place before the end";
        folder.Commit();
    }
    EXPECT_EQ(Slurp(target / "Ann" / "chat.txt"), "hello");
    EXPECT_EQ(Slurp(target / "Ann" / "second.txt"), "moved");
    EXPECT_EQ(SnapshotFolder(Work).size(), 5u) << "new, export, Ann and two files; nothing hidden left";

    // An empty folder the user made is filled the same way.
    const fs::path empty = Temp.MakeFolder("work/empty");
    TNewFolder again(empty);
    Write(again, again.Root(), "a.txt", "a");
    again.Commit();
    EXPECT_EQ(Slurp(empty / "a.txt"), "a");
}

TEST_F(SafeWrite, AFailureOrAnAbandonedFolderLeavesNothingBehind) {
    const auto before = Entries(Temp.Path());
    {
        TNewFolder folder(Work / "a" / "b" / "export");
        const TOpenFolder ann = folder.MakeFolder(folder.Root(), "Ann");
        Write(folder, ann, "chat.txt", "hello");
        // Taken names fail and say why.
        EXPECT_THROW(folder.MakeFolder(folder.Root(), "Ann"), TWriteError);
        EXPECT_THROW(folder.CreateFile(ann, "chat.txt"), TWriteError);
        try {
            folder.MakeFolder(folder.Root(), std::string(256, 'n'));
            ADD_FAILURE() << "a name over 255 bytes was made";
        } catch (const TWriteError& error) {
            EXPECT_NE(std::string(error.what()).find("File name too long"), std::string::npos) << error.what();
        }
    }
    EXPECT_EQ(Entries(Temp.Path()), before) << "the made parents a/b go too";
}

// Links planted between two writes: a file or folder name taken by a link
// into "outside", or a folder already made swapped for such a link.
TEST_F(SafeWrite, ALinkPlantedWhileWritingIsNeverFollowed) {
    struct TCase {
        std::string Name;
        std::function<void(const fs::path& building)> Plant;
        std::function<void(TNewFolder&, const TOpenFolder& p1)> Next;
        std::string WrittenAt;  // where the next write lands; empty: it must fail
    };
    const fs::path outside = Temp.Path() / "outside";
    const TCase cases[] = {
        {"a link where the next file goes",
         [&](const fs::path& building) { fs::create_symlink(Victim, building / "P1" / "next.txt"); },
         [](TNewFolder& folder, const TOpenFolder& p1) { Write(folder, p1, "next.txt", "written"); }, ""},
        {"a link where the next folder goes",
         [&](const fs::path& building) { fs::create_directory_symlink(outside / "empty", building / "P2"); },
         [](TNewFolder& folder, const TOpenFolder&) {
             Write(folder, folder.MakeFolder(folder.Root(), "P2"), "next.txt", "written");
         },
         ""},
        {"a made folder swapped for a link",
         [&](const fs::path& building) {
             fs::rename(building / "P1", building / "moved");
             fs::create_directory_symlink(outside / "empty", building / "P1");
         },
         [](TNewFolder& folder, const TOpenFolder& p1) { Write(folder, p1, "next.txt", "written"); }, "moved/next.txt"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const fs::path target = Work / "export";
        bool planted = false;
        const TWriteHook hook([&](const fs::path& building) {
            if (planted || !fs::exists(building / "P1" / "first.txt")) return;
            planted = true;
            c.Plant(building);
        });
        try {
            TNewFolder folder(target);
            const TOpenFolder p1 = folder.MakeFolder(folder.Root(), "P1");
            Write(folder, p1, "first.txt", "first");
            ASSERT_TRUE(planted);
            c.Next(folder, p1);
            folder.Commit();
            // Written into the folder it made, wherever that went.
            ASSERT_FALSE(c.WrittenAt.empty()) << "the write through the link succeeded";
            EXPECT_EQ(Slurp(target / c.WrittenAt), "written");
        } catch (const TWriteError& error) {
            EXPECT_TRUE(c.WrittenAt.empty()) << error.what();
            EXPECT_FALSE(fs::exists(target)) << error.what();
        }
        ExpectOutsideUntouched();
        fs::remove_all(target);
        EXPECT_TRUE(fs::is_empty(Work)) << "nothing left beside the target";
    }
}

TEST_F(SafeWrite, OnlyOneOfTwoFoldersForOneTargetTakesIt) {
    const fs::path target = Work / "export";
    TNewFolder first(target);
    TNewFolder second(target);
    Write(first, first.Root(), "first.txt", "1");
    Write(second, second.Root(), "second.txt", "2");
    second.Commit();
    EXPECT_THROW(first.Commit(), TFolderTakenError);
    EXPECT_EQ(SnapshotFolder(Work).size(), 2u) << "export and second.txt only";
    EXPECT_TRUE(fs::exists(target / "second.txt"));
    // And a third run is refused at once.
    EXPECT_THROW(TNewFolder{target}, TFolderTakenError);
}

TEST_F(SafeWrite, RefusesATargetThatIsNotANewOrEmptyFolder) {
    Temp.Write("work/full/keep.txt", "mine");
    fs::create_directory_symlink(Temp.Path() / "outside" / "empty", Work / "link");
    fs::create_symlink(Temp.Path() / "nowhere", Work / "dangling");
    const auto before = Entries(Work);
    for (const char* name : {"full", "link", "dangling", "full/keep.txt"})
        EXPECT_THROW(TNewFolder{Work / name}, TFolderTakenError) << name;
    EXPECT_EQ(Entries(Work), before);
    ExpectOutsideUntouched();

    // The target turned into a link to an empty folder while it was built.
    TNewFolder folder(Work / "late");
    Write(folder, folder.Root(), "a.txt", "a");
    fs::create_directory_symlink(Temp.Path() / "outside" / "empty", Work / "late");
    EXPECT_THROW(folder.Commit(), TFolderTakenError);
    ExpectOutsideUntouched();
}

TEST_F(SafeWrite, AWholeFileReplacesALinkInsteadOfWritingThroughIt) {
    const fs::path link = Work / "report.html";
    fs::create_symlink(Victim, link);
    WriteWholeFile(link, "<html>");
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_EQ(Slurp(link), "<html>");
    ExpectOutsideUntouched();

    // An existing file is replaced and keeps its permissions.
    fs::permissions(link, fs::perms::owner_read | fs::perms::owner_write);
    WriteWholeFile(link, "second");
    EXPECT_EQ(Slurp(link), "second");
    EXPECT_EQ(fs::status(link).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    // A failure names the reason and leaves nothing.
    try {
        WriteWholeFile(Work / "missing" / "report.html", "x");
        ADD_FAILURE() << "written into a missing folder";
    } catch (const TWriteError& error) {
        EXPECT_NE(std::string(error.what()).find("No such file or directory"), std::string::npos) << error.what();
    }
    Temp.MakeFolder("work/folder");
    EXPECT_THROW(WriteWholeFile(Work / "folder", "x"), TWriteError);
    EXPECT_EQ(SnapshotFolder(Work).size(), 2u) << "report.html and folder only";
}

}  // namespace
}  // namespace quillprint
