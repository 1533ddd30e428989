#include "engine/Collation.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <stdexcept>
#include <string_view>

#include "engine/Cancellation.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace quillprint {

std::string DefaultLocaleName()
{
    std::string name;
    for (const char* variable : {"LC_ALL", "LC_COLLATE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            name = value;
            break;
        }
    }
    // "de_DE.UTF-8@euro" -> "de_DE"
    name = name.substr(0, name.find_first_of(".@"));
    if (name == "C" || name == "POSIX")
        name.clear();
    return name;
}

bool IsKnownLocale(const std::string& name)
{
    // A name starts with a letter: "..", "@" or a path would leave nothing
    // to look up once the codeset and modifier are cut off.
    if (!name.empty() && !((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z')))
        return false;
    const std::string base = name.substr(0, name.find_first_of(".@"));
    if (base.empty() || base == "C" || base == "POSIX")
        return true;
    // Letters, digits, "_" and "-" only: ICU would read anything else as
    // some locale of its own making.
    for (const char c : base) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
            || c == '-';
        if (!plain)
            return false;
    }
    const icu::Locale locale(base.c_str());
    if (locale.isBogus())
        return false;
    const std::string language = locale.getLanguage();
    const std::string full = locale.getBaseName();
    int32_t count = 0;
    const icu::Locale* available = icu::Locale::getAvailableLocales(count);
    for (int32_t i = 0; i < count; ++i) {
        const std::string known = available[i].getBaseName();
        if (known == full || (!language.empty() && known == language))
            return true;
    }
    return false;
}

struct TCollation::TImpl {
    std::unique_ptr<icu::Collator> Collator;
};

TCollation::TCollation(const std::string& localeName)
    : FImpl(std::make_unique<TImpl>())
    , FLocaleName(localeName)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale locale = localeName.empty() ? icu::Locale::getRoot() : icu::Locale(localeName.c_str());
    FImpl->Collator.reset(icu::Collator::createInstance(locale, status));
    if (U_FAILURE(status) || !FImpl->Collator)
        throw std::runtime_error("Cannot create the collation for locale \"" + localeName + "\"");
    // Letter case ignored, accents kept; blanks and punctuation always count.
    FImpl->Collator->setStrength(icu::Collator::SECONDARY);
    FImpl->Collator->setAttribute(UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, status);
    if (U_FAILURE(status))
        throw std::runtime_error("Cannot set up the collation for locale \"" + localeName + "\"");
}

TCollation::~TCollation() = default;

int TCollation::Compare(std::u16string_view left, std::u16string_view right) const
{
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result = FImpl->Collator->compare(
        left.data(), static_cast<int32_t>(left.size()), right.data(), static_cast<int32_t>(right.size()), status);
    return static_cast<int>(result);
}

std::vector<int32_t> TCollation::Ranks(const std::vector<std::u16string_view>& words, const std::stop_token& stop) const
{
    // Sort keys compare like the collator itself, so equal keys mean equal
    // strings under the collation. The keys lie one after another in one
    // buffer; each is made by one call into room that usually suffices (a
    // second call only for a key longer than that).
    std::vector<uint8_t> room(256);
    std::vector<uint8_t> store;
    store.reserve(words.size() * 16);
    std::vector<size_t> starts(words.size() + 1, 0);
    for (size_t i = 0; i < words.size(); ++i) {
        // A sort key costs far more than a plain step.
        CheckEvery64K(stop, i * 16);
        const auto* text = reinterpret_cast<const UChar*>(words[i].data());
        const auto textLength = static_cast<int32_t>(words[i].size());
        auto length = static_cast<size_t>(
            FImpl->Collator->getSortKey(text, textLength, room.data(), static_cast<int32_t>(room.size())));
        if (length > room.size()) {
            room.resize(length);
            FImpl->Collator->getSortKey(text, textLength, room.data(), static_cast<int32_t>(length));
        }
        // The key ends with a zero byte that carries no order.
        if (length > 0 && room[length - 1] == 0)
            --length;
        store.insert(store.end(), room.begin(), room.begin() + static_cast<std::ptrdiff_t>(length));
        starts[i + 1] = store.size();
    }
    const auto key = [&](int32_t i) {
        const auto at = static_cast<size_t>(i);
        return std::string_view(reinterpret_cast<const char*>(store.data()) + starts[at], starts[at + 1] - starts[at]);
    };
    std::vector<int32_t> order(words.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return key(a) < key(b); });

    std::vector<int32_t> ranks(words.size());
    int32_t rank = -1;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i == 0 || key(order[i]) != key(order[i - 1]))
            ++rank;
        ranks[order[i]] = rank;
    }
    return ranks;
}

}  // namespace quillprint
