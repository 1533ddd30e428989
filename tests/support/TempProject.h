// A temporary folder for tests that need files on disk, removed afterwards,
// and a record of a folder's files to prove nothing was written into it.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace quillprint::testing {

class TTempFolder {
public:
    TTempFolder();
    ~TTempFolder();
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    // The path with a trailing separator, as the workspace wants it.
    std::u16string Dir() const;
    // Writes `bytes` to `relative` (folders made as needed); returns the path.
    std::filesystem::path Write(const std::filesystem::path& relative, std::string_view bytes) const;
    // Makes the folder `relative` (and its parents).
    std::filesystem::path MakeFolder(const std::filesystem::path& relative) const;

private:
    std::filesystem::path FPath;
};

// Every entry below a folder with its size and modification time.
using TFolderSnapshot = std::map<std::string, std::string>;
TFolderSnapshot SnapshotFolder(const std::filesystem::path& folder);

}  // namespace quillprint::testing
