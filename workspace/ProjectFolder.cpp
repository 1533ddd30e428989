#include "workspace/ProjectFolder.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <system_error>

#include "engine/Text.h"

namespace quillprint {

namespace fs = std::filesystem;

fs::path ToFsPath(std::u16string_view path) {
#ifdef _WIN32
    return fs::path(std::u16string(path));
#else
    const std::string utf8 = ToUtf8(path);
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
#endif
}

std::u16string FromFsPath(const fs::path& path) {
    const std::u8string utf8 = path.u8string();
    return FromUtf8(std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

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

void ListEntries(std::vector<std::u16string>& list, std::u16string_view path, TEntryKind kind) {
    std::error_code error;
    fs::directory_iterator entries(ToFsPath(path), error);
    if (error) return;
    std::vector<std::u16string> names;
    for (const fs::directory_entry& entry : entries) {
        std::u16string name = FromFsPath(entry.path().filename());
        if (IsHidden(name)) continue;
        // Links are followed; a broken or looping link is neither kind.
        std::error_code statusError;
        const fs::file_status status = entry.status(statusError);
        if (statusError) continue;
        // Only regular files are texts: reading a pipe or a device could wait
        // forever or never end.
        const bool wanted = kind == TEntryKind::Folder ? fs::is_directory(status) : fs::is_regular_file(status);
        if (wanted) names.push_back(std::move(name));
    }
    SortListing(names);
    list.insert(list.end(), std::make_move_iterator(names.begin()), std::make_move_iterator(names.end()));
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

std::optional<size_t> FindUnknownFolder(const std::vector<std::u16string>& names) {
    for (size_t i = 0; i < names.size(); ++i)
        if (SimpleFold(names[i]) == u"unknown") return i;
    return std::nullopt;
}

fs::path ResolvePath(std::u16string_view path) {
    const fs::path given = ToFsPath(path);
    std::error_code error;
    if (fs::exists(given, error)) return given;

    fs::path resolved = given.root_path();
    for (const fs::path& component : given.relative_path()) {
        fs::path exact = resolved / component;
        if (component.empty() || fs::exists(exact, error)) {
            resolved = std::move(exact);
            continue;
        }
        const std::u16string wanted = SimpleFold(FromFsPath(component));
        std::vector<std::u16string> names;
        for (const auto& entry : fs::directory_iterator(resolved.empty() ? fs::path(".") : resolved, error))
            names.push_back(FromFsPath(entry.path().filename()));
        SortListing(names);
        const auto match = std::find_if(names.begin(), names.end(),
                                        [&](const std::u16string& name) { return SimpleFold(name) == wanted; });
        if (match == names.end()) return given;
        resolved /= ToFsPath(*match);
    }
    return resolved;
}

}  // namespace quillprint
