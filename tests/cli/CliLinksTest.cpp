// quillprint-cli on a project holding links and entries that are no texts:
// nothing outside the project folder is read unless asked, and nothing is
// left out without a word.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "CliRun.h"
#include "TempProject.h"

namespace quillprint {
namespace {

namespace fs = std::filesystem;
using testing::Quoted;
using testing::RunCli;
using testing::TRun;
using testing::TTempFolder;

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A project whose author Bob links to a key file outside it, beside a folder
// link to outside ("Etc"), links that stay inside, and a broken link, a named
// pipe and a socket in the author folders.
class CliLinks : public ::testing::Test {
protected:
    void SetUp() override {
        Outside.Write("key.txt", "zebra quokka narwhal\n");
        Outside.Write("etc/passwd", "root wombat\n");
        Project.Write("Unknown/u.txt", "the cat sat on the mat\n");
        Project.Write("Bob/b.txt", "a dog ran in the park\n");
        const fs::path bob = Project.Path() / "Bob";
        fs::create_symlink(Outside.Path() / "key.txt", bob / "notes.txt");
        fs::create_symlink("../Unknown/u.txt", bob / "copy.txt");
        fs::create_symlink(bob / "missing", bob / "broken");
        fs::create_directory_symlink(Outside.Path() / "etc", Project.Path() / "Etc");
        fs::create_directory_symlink("Bob", Project.Path() / "Robert");
        ASSERT_EQ(::mkfifo((bob / "pipe").c_str(), 0600), 0);
        MakeSocket(bob / "socket");
    }
    void TearDown() override {
        if (Socket >= 0) ::close(Socket);
    }
    void MakeSocket(const fs::path& path) {
        Socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(Socket, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        ASSERT_LT(path.string().size(), sizeof(address.sun_path));
        std::strcpy(address.sun_path, path.c_str());
        ASSERT_EQ(::bind(Socket, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    }
    TRun Run(const std::string& options) {
        return RunCli("--locale en_US --json " + options + Quoted(Project.Path().string()));
    }

    TTempFolder Project, Outside;
    int Socket = -1;
};

TEST_F(CliLinks, LinksOutOfTheProjectAreNamedAndNotRead) {
    const TRun run = Run("");
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Err,
              "Left out \"Etc\": link outside the project, not followed (--follow-links follows it)\n"
              "Left out \"Bob/broken\": not a text (a broken link)\n"
              "Left out \"Bob/notes.txt\": link outside the project, not followed (--follow-links follows it)\n"
              "Left out \"Bob/pipe\": not a text (a named pipe)\n"
              "Left out \"Bob/socket\": not a text (a socket)\n"
              "Left out \"Robert/broken\": not a text (a broken link)\n"
              "Left out \"Robert/notes.txt\": link outside the project, not followed (--follow-links follows it)\n"
              "Left out \"Robert/pipe\": not a text (a named pipe)\n"
              "Left out \"Robert/socket\": not a text (a socket)\n");
    // Not a word of the files outside; the links inside are read.
    EXPECT_FALSE(Holds(run.Out, "quokka")) << run.Out;
    EXPECT_FALSE(Holds(run.Out, "wombat")) << run.Out;
    EXPECT_FALSE(Holds(run.Out, "\"name\":\"Etc\"")) << run.Out;
    EXPECT_TRUE(Holds(run.Out, "\"name\":\"Robert\"")) << run.Out;
    EXPECT_TRUE(Holds(run.Out, "\"mat\"")) << run.Out;
}

TEST_F(CliLinks, FollowLinksReadsThemAndStillNamesWhatIsNoText) {
    const TRun run = Run("--follow-links ");
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_FALSE(Holds(run.Err, "link outside")) << run.Err;
    EXPECT_TRUE(Holds(run.Err, "Left out \"Bob/pipe\": not a text (a named pipe)\n")) << run.Err;
    EXPECT_TRUE(Holds(run.Out, "quokka")) << run.Out;
    EXPECT_TRUE(Holds(run.Out, "\"name\":\"Etc\"")) << run.Out;
    EXPECT_TRUE(Holds(run.Out, "wombat")) << run.Out;
}

TEST_F(CliLinks, AnUnknownFolderLeadingOutIsNamedBeforeTheRefusal) {
    TTempFolder project;
    project.Write("Alpha/a.txt", "the cat\n");
    fs::create_directory_symlink(Outside.Path() / "etc", project.Path() / "unknown");
    const TRun run = RunCli("--locale en_US " + Quoted(project.Path().string()));
    EXPECT_EQ(run.Exit, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err,
              "Left out \"Unknown\": link outside the project, not followed (--follow-links follows it)\n"
              "Please add \"Unknown\" folder for analysis\n");
}

}  // namespace
}  // namespace quillprint
