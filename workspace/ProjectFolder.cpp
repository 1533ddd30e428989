#include "workspace/ProjectFolder.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <system_error>

#include "engine/Text.h"

namespace quillprint {

namespace fs = std::filesystem;

fs::path ToFsPath(std::u16string_view path) {
#ifdef _WIN32
    return fs::path(std::u16string(path));
#else
    std::string bytes;
    bytes.reserve(path.size());
    for (size_t i = 0; i < path.size();) {
        const char16_t unit = path[i];
        if (unit >= 0xDC80 && unit <= 0xDCFF) {
            // A byte kept from a name that was not valid UTF-8.
            bytes += static_cast<char>(unit - 0xDC00);
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < path.size() && !(path[end] >= 0xDC80 && path[end] <= 0xDCFF && !U16_IS_LEAD(path[end - 1])))
            ++end;
        bytes += ToUtf8(path.substr(i, end - i));
        i = end;
    }
    return fs::path(std::move(bytes));
#endif
}

std::u16string FromFsPath(const fs::path& path) {
#ifdef _WIN32
    return path.u16string();
#else
    const std::string& bytes = path.native();
    const auto length = static_cast<int32_t>(bytes.size());
    std::u16string text;
    text.reserve(bytes.size());
    for (int32_t i = 0; i < length;) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(bytes.data(), i, length, c);
        if (c < 0) {
            i = start + 1;
            text += static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[static_cast<size_t>(start)]));
        } else if (U_IS_BMP(c)) {
            text += static_cast<char16_t>(c);
        } else {
            text += static_cast<char16_t>(U16_LEAD(c));
            text += static_cast<char16_t>(U16_TRAIL(c));
        }
    }
    return text;
#endif
}

TFolderReadError::TFolderReadError(const fs::path& path, const std::string& reason)
    : std::runtime_error([&] {
          const fs::path shown = path.has_filename() ? path : path.parent_path();
          const std::u8string text = shown.u8string();
          return "Cannot open folder \"" + std::string(text.begin(), text.end()) + "\". " + reason;
      }()) {}

std::u16string PathSeparator() { return std::u16string(1, static_cast<char16_t>(fs::path::preferred_separator)); }

namespace {

// Applies `map` to every code point (simple one-to-one mappings only).
template <typename Map>
std::u16string MapCodePoints(std::u16string_view text, Map map) {
    std::u16string result;
    result.reserve(text.size());
    for (int32_t i = 0; i < static_cast<int32_t>(text.size());) {
        UChar32 c;
        U16_NEXT(text.data(), i, static_cast<int32_t>(text.size()), c);
        c = map(c);
        if (U_IS_BMP(c)) {
            result += static_cast<char16_t>(c);
        } else {
            result += static_cast<char16_t>(U16_LEAD(c));
            result += static_cast<char16_t>(U16_TRAIL(c));
        }
    }
    return result;
}

std::u16string SimpleUpper(std::u16string_view text) { return MapCodePoints(text, [](UChar32 c) { return u_toupper(c); }); }

std::u16string SimpleFold(std::u16string_view text) {
    return MapCodePoints(text, [](UChar32 c) { return u_foldCase(c, U_FOLD_CASE_DEFAULT); });
}

bool IsHidden(std::u16string_view name) { return !name.empty() && name.front() == u'.'; }

enum class TEntryKind { Folder, File };

// What becomes of one listed entry.
struct TEntryLook {
    bool Wanted = false;
    std::optional<TSetAsideKind> SetAside;
};

TSetAsideKind SpecialKind(const fs::file_status& status) {
    if (fs::is_fifo(status)) return TSetAsideKind::Pipe;
    if (fs::is_socket(status)) return TSetAsideKind::Socket;
    return TSetAsideKind::Device;
}

// Looks at the entry `path` of `folder`. Without `bounds` every link is
// followed and what is not of the wanted kind is passed over, as outside a
// project.
TEntryLook LookAt(const fs::path& folder, const fs::path& path, TEntryKind kind, const TProjectBounds* bounds) {
    // The free functions always ask the file system; a directory entry may
    // answer from what the listing said, even where the entry cannot be
    // looked at.
    std::error_code error;
    const fs::file_status own = fs::symlink_status(path, error);
    if (error) {
        // A folder that can be listed but not entered: its names are there,
        // nothing about them is, and it must not pass for an empty one.
        if (error == std::errc::permission_denied) throw TFolderReadError(folder, error.message());
        return {};  // gone since it was listed
    }
    const bool link = fs::is_symlink(own);
    const fs::file_status target = link ? fs::status(path, error) : own;
    if (error) {
        // A broken or looping link could have been a text.
        if (bounds && kind == TEntryKind::File) return {false, TSetAsideKind::BrokenLink};
        return {};
    }
    // Folders inside an author folder and files beside the author folders
    // are no entries of the project.
    if ((kind == TEntryKind::Folder) != fs::is_directory(target)) return {};
    if (link && bounds && !WithinBounds(path, *bounds)) return {false, TSetAsideKind::OutsideLink};
    // Only regular files are texts: reading a pipe or a device could wait
    // forever or never end.
    if (kind == TEntryKind::File && !fs::is_regular_file(target)) {
        if (bounds) return {false, SpecialKind(target)};
        return {};
    }
    return {true, std::nullopt};
}

void ListEntries(std::vector<std::u16string>& list, std::u16string_view path, TEntryKind kind,
                 const TProjectBounds* bounds = nullptr, std::vector<TSetAside>* setAside = nullptr) {
    const fs::path folder = ToFsPath(path);
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error) {
        // A folder that is not there has no names; one that is there but
        // cannot be read must not pass for an empty one.
        if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory) return;
        throw TFolderReadError(folder, error.message());
    }
    std::vector<std::u16string> names;
    std::vector<TSetAside> asides;
    for (; entries != fs::directory_iterator(); entries.increment(error)) {
        if (error) throw TFolderReadError(folder, error.message());
        const fs::path entry = entries->path();
        std::u16string name = FromFsPath(entry.filename());
        if (IsHidden(name)) continue;
        const TEntryLook look = LookAt(folder, entry, kind, bounds);
        if (look.Wanted)
            names.push_back(std::move(name));
        else if (look.SetAside)
            asides.push_back({std::move(name), *look.SetAside});
    }
    if (error) throw TFolderReadError(folder, error.message());
    SortListing(names);
    list.insert(list.end(), std::make_move_iterator(names.begin()), std::make_move_iterator(names.end()));
    if (!setAside) return;
    // In listing order too.
    std::sort(asides.begin(), asides.end(), [](const TSetAside& a, const TSetAside& b) {
        return std::pair(SimpleUpper(a.Name), a.Name) < std::pair(SimpleUpper(b.Name), b.Name);
    });
    setAside->insert(setAside->end(), asides.begin(), asides.end());
}

}  // namespace

void SortListing(std::vector<std::u16string>& names) {
    std::vector<std::pair<std::u16string, std::u16string>> keyed;
    keyed.reserve(names.size());
    for (auto& name : names) keyed.emplace_back(SimpleUpper(name), std::move(name));
    std::sort(keyed.begin(), keyed.end());
    for (size_t i = 0; i < names.size(); ++i) names[i] = std::move(keyed[i].second);
}

void ListFolders(std::vector<std::u16string>& AList, std::u16string_view APath) {
    ListEntries(AList, APath, TEntryKind::Folder);
}

void ListFiles(std::vector<std::u16string>& AList, std::u16string_view APath) {
    ListEntries(AList, APath, TEntryKind::File);
}

void ListFolders(std::vector<std::u16string>& AList, std::u16string_view APath, const TProjectBounds& bounds,
                 std::vector<TSetAside>& setAside) {
    ListEntries(AList, APath, TEntryKind::Folder, &bounds, &setAside);
}

void ListFiles(std::vector<std::u16string>& AList, std::u16string_view APath, const TProjectBounds& bounds,
               std::vector<TSetAside>& setAside) {
    ListEntries(AList, APath, TEntryKind::File, &bounds, &setAside);
}

std::u16string SetAsideNote(TSetAsideKind kind) {
    switch (kind) {
    case TSetAsideKind::OutsideLink: return u"link outside the project, not followed";
    case TSetAsideKind::BrokenLink: return u"not a text (a broken link)";
    case TSetAsideKind::Pipe: return u"not a text (a named pipe)";
    case TSetAsideKind::Socket: return u"not a text (a socket)";
    case TSetAsideKind::Device: return u"not a text (a device)";
    }
    return {};
}

TProjectBounds ProjectBoundsOf(std::u16string_view projectDir, bool followLinks) {
    const fs::path given = ToFsPath(projectDir);
    std::error_code error;
    fs::path root = fs::canonical(given, error);
    if (error) root = fs::weakly_canonical(fs::absolute(given, error), error);
    return {root, followLinks};
}

bool WithinBounds(const fs::path& path, const TProjectBounds& bounds) {
    if (bounds.FollowLinks) return true;
    std::error_code error;
    const fs::path target = fs::canonical(path, error);
    if (error) return false;
    // Compared by components, so "/p/Alpha" never counts as inside "/p/Al".
    auto root = bounds.Root.begin();
    for (auto part = target.begin(); root != bounds.Root.end(); ++root, ++part) {
        if (root->empty()) continue;  // the empty last component of "/p/"
        if (part == target.end() || *part != *root) return false;
    }
    return true;
}

std::optional<size_t> FindUnknownFolder(const std::vector<std::u16string>& names) {
    for (size_t i = 0; i < names.size(); ++i)
        if (SimpleFold(names[i]) == u"unknown") return i;
    return std::nullopt;
}

size_t CountUnknownFolders(const std::vector<std::u16string>& names) {
    return static_cast<size_t>(
        std::count_if(names.begin(), names.end(), [](const std::u16string& name) { return SimpleFold(name) == u"unknown"; }));
}

fs::path ResolvePath(std::u16string_view path) {
    const fs::path given = ToFsPath(path);
    std::error_code error;
    if (fs::exists(given, error)) return given;

    fs::path resolved = given.root_path();
    const fs::path relative = given.relative_path();
    for (auto component = relative.begin(); component != relative.end(); ++component) {
        fs::path exact = resolved / *component;
        if (component->empty() || fs::exists(exact, error)) {
            resolved = std::move(exact);
            continue;
        }
        // A component with more after it names a folder, so a file of the
        // same name in another letter case is no match.
        const bool folderOnly = std::next(component) != relative.end();
        const std::u16string wanted = SimpleFold(FromFsPath(*component));
        std::vector<std::u16string> names;
        for (const auto& entry : fs::directory_iterator(resolved.empty() ? fs::path(".") : resolved, error)) {
            std::error_code statusError;
            if (folderOnly && !entry.is_directory(statusError)) continue;
            names.push_back(FromFsPath(entry.path().filename()));
        }
        SortListing(names);
        const auto match = std::find_if(names.begin(), names.end(),
                                        [&](const std::u16string& name) { return SimpleFold(name) == wanted; });
        if (match == names.end()) return given;
        resolved /= ToFsPath(*match);
    }
    return resolved;
}

bool PathExists(std::u16string_view path) {
    std::error_code error;
    return fs::exists(ResolvePath(path), error);
}

}  // namespace quillprint
