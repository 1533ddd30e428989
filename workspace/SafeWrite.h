// Writing files and folders so that nothing lands outside the place named.
// Every step is made relative to an open folder handle (openat, mkdirat),
// never through a symbolic link (O_NOFOLLOW) and never over an entry that
// is already there (O_EXCL). A result is built under a fresh hidden name
// beside its target and renamed into place at the end, so a reader sees all
// of it or nothing, and a failure leaves nothing behind. POSIX only.
#pragma once

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillprint {

// A write that failed. what() is UTF-8 for the user and names the place and
// the system's reason: Cannot write "<path>": <reason>.
class TWriteError : public std::runtime_error {
public:
    TWriteError(const std::string& what, int error) : std::runtime_error(what), FError(error) {}
    int Error() const { return FError; }  // the errno value

private:
    int FError;
};

// The target folder is there already and is not an empty folder (or it is a
// link): another run, or the user, has it.
class TFolderTakenError : public TWriteError {
public:
    using TWriteError::TWriteError;
};

// An open file or folder handle, closed with its owner.
class TFileHandle {
public:
    TFileHandle() = default;
    explicit TFileHandle(int fd) : FFd(fd) {}
    TFileHandle(TFileHandle&& other) noexcept : FFd(std::exchange(other.FFd, -1)) {}
    TFileHandle& operator=(TFileHandle&& other) noexcept;
    ~TFileHandle();
    int Get() const { return FFd; }
    // Closes now; the system's error of close(), 0 when none.
    int Close();

private:
    int FFd = -1;
};

// A folder being written, with the path to name it by in messages.
struct TOpenFolder {
    TFileHandle Handle;
    std::filesystem::path Shown;
};

// A file being written; every Write reaches the file or throws TWriteError.
class TNewFile {
public:
    TNewFile(TFileHandle handle, std::filesystem::path shown) : FHandle(std::move(handle)), FShown(std::move(shown)) {}
    void Write(std::string_view bytes);
    // Closes the file; a delayed write error shows here.
    void Close();

private:
    TFileHandle FHandle;
    std::filesystem::path FShown;
};

// A new folder at `target`, built beside it under a hidden name and renamed
// to `target` by Commit. Missing parents of `target` are made first. Until
// Commit, a failure or the destructor removes everything it made.
class TNewFolder {
public:
    // Throws TFolderTakenError when `target` is there and is not an empty
    // folder, TWriteError when it cannot begin.
    explicit TNewFolder(const std::filesystem::path& target);
    ~TNewFolder();
    TNewFolder(const TNewFolder&) = delete;
    TNewFolder& operator=(const TNewFolder&) = delete;

    const TOpenFolder& Root() const { return FRoot; }
    // Makes the folder `name` (one path component) inside `parent`.
    TOpenFolder MakeFolder(const TOpenFolder& parent, std::string_view name);
    // Makes the new file `name` inside `folder`.
    TNewFile CreateFile(const TOpenFolder& folder, std::string_view name);
    // Opens the file `name` that CreateFile made, to write on at its end.
    TNewFile AppendToFile(const TOpenFolder& folder, std::string_view name);
    // Moves an entry from one folder being written to another; the new name
    // must not be taken.
    void Move(const TOpenFolder& from, std::string_view name, const TOpenFolder& to, std::string_view newName);
    // Renames the folder into place. Throws TFolderTakenError when `target`
    // has meanwhile become something other than an empty folder.
    void Commit();

private:
    void RemoveMade() noexcept;

    std::filesystem::path FTarget;  // as the user named it
    std::string FTargetName;
    TFileHandle FParent;
    std::string FBuildingName;
    std::filesystem::path FBuilding;
    TOpenFolder FRoot;
    std::vector<std::filesystem::path> FMadeParents;
    bool FCommitted = false;
};

// Writes `bytes` as the file `path`: into a new hidden file beside it, which
// then replaces `path` (a link at `path` is replaced, never followed). An
// existing file's permissions are kept. Throws TWriteError.
void WriteWholeFile(const std::filesystem::path& path, std::string_view bytes);

// For tests: called with the path of the hidden folder or file being built
// after each folder made and file created, so a test can change the folder
// between two writes.
void SetWriteHookForTesting(std::function<void(const std::filesystem::path& building)> hook);

}  // namespace quillprint
