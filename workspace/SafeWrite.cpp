#include "workspace/SafeWrite.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace quillprint {

namespace fs = std::filesystem;

namespace {

std::function<void(const fs::path&)>& WriteHook() {
    static std::function<void(const fs::path&)> hook;
    return hook;
}

void CallHook(const fs::path& building) {
    if (WriteHook()) WriteHook()(building);
}

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

[[noreturn]] void Fail(const std::string& action, const fs::path& shown, int error) {
    throw TWriteError(action + " \"" + Utf8(shown) + "\": " + std::strerror(error), error);
}

[[noreturn]] void Taken(const fs::path& target) {
    throw TFolderTakenError("\"" + Utf8(target) + "\" is not an empty folder", EEXIST);
}

// A name no one else uses, for something being built beside its target.
std::string HiddenName(std::string_view base) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    char suffix[20];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
    return "." + std::string(base) + ".quillprint-" + suffix;
}

int OpenFolderAt(int parent, const char* name) {
    return ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// An entry of `parent` that is neither there nor an empty folder (links
// included) counts as taken.
bool IsMissingOrEmptyFolder(int parent, const std::string& name) {
    struct stat status {};
    if (::fstatat(parent, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
    if (!S_ISDIR(status.st_mode)) return false;
    const int fd = OpenFolderAt(parent, name.c_str());
    if (fd < 0) return false;
    DIR* listing = ::fdopendir(fd);
    if (!listing) {
        ::close(fd);
        return false;
    }
    bool empty = true;
    while (const dirent* entry = ::readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) empty = false;
    }
    ::closedir(listing);
    return empty;
}

// Removes the folder `name` of `parent` and all it holds, never through a
// link: a link inside goes, what it points to stays.
void RemoveTree(int parent, const std::string& name) noexcept {
    const int fd = OpenFolderAt(parent, name.c_str());
    if (fd >= 0) {
        if (DIR* listing = ::fdopendir(fd)) {
            std::vector<std::string> entries;
            while (const dirent* entry = ::readdir(listing))
                if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
                    entries.emplace_back(entry->d_name);
            for (const std::string& entry : entries) {
                struct stat status {};
                if (::fstatat(fd, entry.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(status.st_mode))
                    RemoveTree(fd, entry);
                else
                    ::unlinkat(fd, entry.c_str(), 0);
            }
            ::closedir(listing);
        } else {
            ::close(fd);
        }
    }
    ::unlinkat(parent, name.c_str(), AT_REMOVEDIR);
}

// Renames without replacing an entry already at `to`.
int RenameNoReplace(int fromFolder, const char* from, int toFolder, const char* to) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(fromFolder, from, toFolder, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
#endif
    // Without renameat2: a hard link fails on an existing name.
    if (::linkat(fromFolder, from, toFolder, to, 0) != 0) return -1;
    return ::unlinkat(fromFolder, from, 0);
}

// Every byte of `bytes` to `fd`, however many writes it takes.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return 0;
}

}  // namespace

TFileHandle& TFileHandle::operator=(TFileHandle&& other) noexcept {
    if (this != &other) {
        Close();
        FFd = std::exchange(other.FFd, -1);
    }
    return *this;
}

TFileHandle::~TFileHandle() { Close(); }

int TFileHandle::Close() {
    if (FFd < 0) return 0;
    const int result = ::close(std::exchange(FFd, -1));
    return result == 0 || errno == EINTR ? 0 : errno;
}

void TNewFile::Write(std::string_view bytes) {
    if (const int error = WriteAll(FHandle.Get(), bytes)) Fail("Cannot write", FShown, error);
}

void TNewFile::Close() {
    if (const int error = FHandle.Close()) Fail("Cannot write", FShown, error);
}

TNewFolder::TNewFolder(const fs::path& target) : FTarget(target) {
    const fs::path absolute = fs::absolute(target).lexically_normal();
    fs::path parent = absolute.parent_path();
    std::string name = absolute.filename().string();
    if (name.empty()) {  // "DIR/" names DIR
        name = parent.filename().string();
        parent = parent.parent_path();
    }
    if (name.empty() || name == "." || name == "..") Taken(target);
    // Parents the user named but that are not there yet.
    std::vector<fs::path> missing;
    for (fs::path p = parent; !p.empty() && ::access(p.c_str(), F_OK) != 0 && errno == ENOENT; p = p.parent_path()) {
        missing.push_back(p);
        if (p == p.parent_path()) break;
    }
    for (auto p = missing.rbegin(); p != missing.rend(); ++p) {
        if (::mkdir(p->c_str(), 0777) != 0 && errno != EEXIST) {
            const int error = errno;
            RemoveMade();
            Fail("Cannot create folder", *p, error);
        }
        FMadeParents.push_back(*p);
    }
    FParent = TFileHandle(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (FParent.Get() < 0) {
        const int error = errno;
        RemoveMade();
        Fail("Cannot open folder", parent, error);
    }
    FTargetName = name;
    if (!IsMissingOrEmptyFolder(FParent.Get(), name)) {
        RemoveMade();
        Taken(target);
    }
    for (int attempt = 0;; ++attempt) {
        FBuildingName = HiddenName("new");
        if (::mkdirat(FParent.Get(), FBuildingName.c_str(), 0777) == 0) break;
        if (errno != EEXIST || attempt == 100) {
            const int error = errno;
            FBuildingName.clear();
            RemoveMade();
            Fail("Cannot create folder", target, error);
        }
    }
    FBuilding = parent / FBuildingName;
    FRoot = {TFileHandle(OpenFolderAt(FParent.Get(), FBuildingName.c_str())), target};
    if (FRoot.Handle.Get() < 0) {
        const int error = errno;
        RemoveMade();
        Fail("Cannot create folder", target, error);
    }
}

TNewFolder::~TNewFolder() {
    if (!FCommitted) RemoveMade();
}

void TNewFolder::RemoveMade() noexcept {
    FRoot.Handle.Close();
    if (!FBuildingName.empty()) RemoveTree(FParent.Get(), FBuildingName);
    FBuildingName.clear();
    // Parents made for this folder go too, as long as nothing else came in.
    for (auto p = FMadeParents.rbegin(); p != FMadeParents.rend(); ++p) ::rmdir(p->c_str());
    FMadeParents.clear();
}

TOpenFolder TNewFolder::MakeFolder(const TOpenFolder& parent, std::string_view name) {
    const std::string entry(name);
    const fs::path shown = parent.Shown / entry;
    if (::mkdirat(parent.Handle.Get(), entry.c_str(), 0777) != 0) Fail("Cannot create folder", shown, errno);
    TOpenFolder folder{TFileHandle(OpenFolderAt(parent.Handle.Get(), entry.c_str())), shown};
    if (folder.Handle.Get() < 0) Fail("Cannot create folder", shown, errno);
    CallHook(FBuilding);
    return folder;
}

TNewFile TNewFolder::CreateFile(const TOpenFolder& folder, std::string_view name) {
    const std::string entry(name);
    const fs::path shown = folder.Shown / entry;
    const int fd =
        ::openat(folder.Handle.Get(), entry.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) Fail("Cannot create file", shown, errno);
    TNewFile file(TFileHandle(fd), shown);
    CallHook(FBuilding);
    return file;
}

TNewFile TNewFolder::AppendToFile(const TOpenFolder& folder, std::string_view name) {
    const std::string entry(name);
    const fs::path shown = folder.Shown / entry;
    const int fd = ::openat(folder.Handle.Get(), entry.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) Fail("Cannot write", shown, errno);
    return TNewFile(TFileHandle(fd), shown);
}

void TNewFolder::Move(const TOpenFolder& from, std::string_view name, const TOpenFolder& to, std::string_view newName) {
    const std::string source(name);
    const std::string destination(newName);
    if (RenameNoReplace(from.Handle.Get(), source.c_str(), to.Handle.Get(), destination.c_str()) != 0)
        Fail("Cannot create file", to.Shown / destination, errno);
}

void TNewFolder::Commit() {
    FRoot.Handle.Close();
    // Replaces an empty folder at the target, but fails on anything else: a
    // folder that is no longer empty, a file or a link.
    if (::renameat(FParent.Get(), FBuildingName.c_str(), FParent.Get(), FTargetName.c_str()) != 0) {
        const int error = errno;
        RemoveMade();
        if (error == ENOTEMPTY || error == EEXIST || error == ENOTDIR || error == EISDIR) Taken(FTarget);
        Fail("Cannot create folder", FTarget, error);
    }
    FCommitted = true;
}

void WriteWholeFile(const fs::path& path, std::string_view bytes) {
    const fs::path absolute = fs::absolute(path);
    const fs::path parent = absolute.parent_path();
    const std::string name = absolute.filename().string();
    const TFileHandle folder(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() < 0) Fail("Cannot write", path, errno);
    std::string building;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        building = HiddenName(name.substr(0, 64));
        fd = ::openat(folder.Get(), building.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt == 100)) Fail("Cannot write", path, errno);
    }
    TFileHandle file(fd);
    CallHook(parent / building);
    int error = 0;
    struct stat existing {};
    if (::fstatat(folder.Get(), name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(file.Get(), existing.st_mode & 07777);
    error = WriteAll(file.Get(), bytes);
    if (!error) error = file.Close();
    if (!error && ::renameat(folder.Get(), building.c_str(), folder.Get(), name.c_str()) != 0) error = errno;
    if (error) {
        ::unlinkat(folder.Get(), building.c_str(), 0);
        Fail("Cannot write", path, error);
    }
}

void SetWriteHookForTesting(std::function<void(const fs::path& building)> hook) { WriteHook() = std::move(hook); }

}  // namespace quillprint
