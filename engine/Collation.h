// Locale collation of the sorted word lists: letter case ignored, accents
// kept, spaces and punctuation always significant.
#pragma once

#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace quillprint {

// The locale named by LC_ALL, LC_COLLATE or LANG (in that order), without
// encoding suffix; "C" and "POSIX" give the root collation ("").
std::string DefaultLocaleName();

// True when ICU has data for the locale `name` ("de_DE", "de-AT", also with
// an encoding suffix such as ".UTF-8") or for its language, or when it names
// the root collation ("", "C", "POSIX"). Anything else, and any name that
// does not start with a letter (".", "@", "../x"), would silently fall back
// to the root collation.
bool IsKnownLocale(const std::string& name);

class TCollation {
public:
    explicit TCollation(const std::string& localeName);
    ~TCollation();
    TCollation(const TCollation&) = delete;
    TCollation& operator=(const TCollation&) = delete;

    // <0, 0 or >0 as `left` sorts before, equal to or after `right`.
    int Compare(std::u16string_view left, std::u16string_view right) const;

    // Collation ranks of distinct strings: equal ranks exactly when the
    // strings compare equal, and rank order is collation order.
    std::vector<int32_t> Ranks(const std::vector<std::u16string_view>& words, const std::stop_token& stop = {}) const;

    const std::string& LocaleName() const { return FLocaleName; }

private:
    struct TImpl;
    std::unique_ptr<TImpl> FImpl;
    std::string FLocaleName;
};

}  // namespace quillprint
