// The project folder on disk: listing author folders and their text files,
// and turning the tree's labels back into paths.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace quillprint {

// Paths held as text (FProjectDir, labels) are UTF-16; the file system wants
// its own form. On Linux that is bytes, normally UTF-8. A byte that is not
// part of valid UTF-8 (a name from an older system, "Jos\xe9") becomes the
// lone surrogate U+DC00 + byte, which no valid text holds: such names still
// open, two of them never become one, and they show as U+FFFD.
std::filesystem::path ToFsPath(std::u16string_view path);
std::u16string FromFsPath(const std::filesystem::path& path);

// A folder that exists but cannot be listed. what() is UTF-8 for the user:
// Cannot open folder "<path>". <the system's reason>
class TFolderReadError : public std::runtime_error {
public:
    TFolderReadError(const std::filesystem::path& path, const std::string& reason);
};

// The platform's path separator as text ("/" on Linux).
std::u16string PathSeparator();

// Appends the names of the subfolders of `APath` (a path ending with a
// separator), leaving out hidden ones (a leading "."). Names come in listing
// order: upper-cased by the simple one-to-one mapping, then compared code unit
// by code unit; names equal after that by their own code units. A folder that
// does not exist yields no names; one that cannot be listed or entered (no permission)
// throws TFolderReadError, so its texts are never silently left out.
void ListFolders(std::vector<std::u16string>& AList, std::u16string_view APath);

// As ListFolders, for the plain files of `APath`: regular files and links to
// them; not folders, broken or looping links, pipes, devices or hidden files.
void ListFiles(std::vector<std::u16string>& AList, std::u16string_view APath);

// An entry of a project folder that is listed but never read, and why.
enum class TSetAsideKind {
    OutsideLink,  // a link whose target lies outside the project folder
    BrokenLink,   // a link that leads nowhere, or to itself
    Pipe,
    Socket,
    Device,
};
struct TSetAside {
    std::u16string Name;
    TSetAsideKind Kind = TSetAsideKind::OutsideLink;
};

// What the user is told about a set-aside entry, as the tree shows it beside
// the name: "link outside the project, not followed", "not a text (a named
// pipe)"...
std::u16string SetAsideNote(TSetAsideKind kind);

// How the entries of a project are listed. A link whose target lies outside
// `Root` (the project folder as the file system resolves it) is set aside
// unless `FollowLinks`; links that stay inside the project are followed.
struct TProjectBounds {
    std::filesystem::path Root;
    bool FollowLinks = false;
};
// The bounds of the project folder `projectDir`.
TProjectBounds ProjectBoundsOf(std::u16string_view projectDir, bool followLinks);
// True when `path` (any link on the way resolved) lies inside the bounds, or
// when the bounds follow every link.
bool WithinBounds(const std::filesystem::path& path, const TProjectBounds& bounds);

// ListFolders and ListFiles within a project: entries that `bounds` keep out,
// and in ListFiles those that are no text (broken links, pipes, sockets,
// devices), are appended to `setAside` in listing order instead of being
// passed over. An entry that cannot be looked at because the folder can be
// listed but not entered throws TFolderReadError ("Permission denied").
void ListFolders(std::vector<std::u16string>& AList, std::u16string_view APath, const TProjectBounds& bounds,
                 std::vector<TSetAside>& setAside);
void ListFiles(std::vector<std::u16string>& AList, std::u16string_view APath, const TProjectBounds& bounds,
               std::vector<TSetAside>& setAside);

// Sorts names into listing order (see ListFolders).
void SortListing(std::vector<std::u16string>& names);

// Position of the first name that equals "Unknown" under simple case folding.
std::optional<size_t> FindUnknownFolder(const std::vector<std::u16string>& names);
// How many names equal "Unknown" under simple case folding.
size_t CountUnknownFolders(const std::vector<std::u16string>& names);

// The path as given when it exists; otherwise each component that does not
// exist is looked up in its folder without regard to letter case (first match
// in listing order; only folders for all but the last component), so the
// label "Unknown" reaches a folder "unknown" even beside a file "UNKNOWN".
// Returns the path as given when no such match exists either.
std::filesystem::path ResolvePath(std::u16string_view path);

// Whether something is at `path` (a failure to look counts as nothing there).
bool PathExists(std::u16string_view path);

}  // namespace quillprint
