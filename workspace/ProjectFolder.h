// The project folder on disk: listing author folders and their text files,
// and turning the tree's labels back into paths.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quillprint {

// Paths held as text (FProjectDir, labels) are UTF-16; the file system wants
// its own form. On Linux that is UTF-8.
std::filesystem::path ToFsPath(std::u16string_view path);
std::u16string FromFsPath(const std::filesystem::path& path);

// The platform's path separator as text ("/" on Linux).
std::u16string PathSeparator();

// Appends the names of the subfolders of `APath` (a path ending with a
// separator), leaving out hidden ones (a leading "."). Names come in listing
// order: upper-cased by the simple one-to-one mapping, then compared code unit
// by code unit; names equal after that by their own code units. A folder that
// does not exist or cannot be listed yields no names and no error.
void ListFolders(std::vector<std::u16string>& AList, std::u16string_view APath);

// As ListFolders, for the plain files of `APath`: regular files and links to
// them; not folders, broken or looping links, pipes, devices or hidden files.
void ListFiles(std::vector<std::u16string>& AList, std::u16string_view APath);

// Sorts names into listing order (see ListFolders).
void SortListing(std::vector<std::u16string>& names);

// Position of the first name that equals "Unknown" under simple case folding.
std::optional<size_t> FindUnknownFolder(const std::vector<std::u16string>& names);

// The path as given when it exists; otherwise each component that does not
// exist is looked up in its folder without regard to letter case (first match
// in listing order), so the label "Unknown" reaches a folder "unknown".
// Returns the path as given when no such match exists either.
std::filesystem::path ResolvePath(std::u16string_view path);

}  // namespace quillprint
