#include "TempProject.h"

#include <atomic>
#include <fstream>
#include <random>
#include <stdexcept>
#include <sys/stat.h>

namespace quillprint::testing {

namespace fs = std::filesystem;

TTempFolder::TTempFolder() {
    static std::atomic<int> counter{0};
    const auto stamp = std::to_string(std::random_device{}()) + "-" + std::to_string(counter++);
    FPath = fs::temp_directory_path() / ("quillprint-test-" + stamp);
    fs::create_directories(FPath);
}

TTempFolder::~TTempFolder() {
    std::error_code error;
    // Give back permissions a test may have taken away, then remove.
    for (auto it = fs::recursive_directory_iterator(FPath, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error))
        if (!it->is_symlink()) fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(FPath, error);
}

std::u16string TTempFolder::Dir() const {
    const std::u16string path = FPath.u16string();
    return path + u"/";
}

fs::path TTempFolder::Write(const fs::path& relative, std::string_view bytes) const {
    const fs::path path = FPath / relative;
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write test file " + path.string());
    return path;
}

fs::path TTempFolder::MakeFolder(const fs::path& relative) const {
    const fs::path path = FPath / relative;
    fs::create_directories(path);
    return path;
}

TFolderSnapshot SnapshotFolder(const fs::path& folder) {
    TFolderSnapshot snapshot;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        struct stat info {};
        if (::lstat(it->path().c_str(), &info) != 0) continue;
        snapshot[it->path().string()] = std::to_string(info.st_size) + " " + std::to_string(info.st_mtim.tv_sec) + "." +
                                        std::to_string(info.st_mtim.tv_nsec) + " " + std::to_string(info.st_mode);
    }
    return snapshot;
}

}  // namespace quillprint::testing
