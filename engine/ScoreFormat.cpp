#include "engine/ScoreFormat.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include <unicode/dcfmtsym.h>
#include <unicode/locid.h>
#include <unicode/numberformatter.h>

namespace quillprint {
namespace {

// Drops trailing zeros of a digit string after the separator, and the
// separator itself when nothing follows it.
void TrimFraction(std::string& digits)
{
    const size_t point = digits.find('.');
    if (point == std::string::npos)
        return;
    size_t end = digits.size();
    while (end > point + 1 && digits[end - 1] == '0')
        --end;
    if (end == point + 1)
        --end;
    digits.resize(end);
}

std::u16string Widen(const std::string& text, char16_t decimalSeparator)
{
    std::u16string result;
    for (const char c : text)
        result.push_back(c == '.' ? decimalSeparator : static_cast<char16_t>(c));
    return result;
}

}  // namespace

std::u16string FormatScore(double value, char16_t decimalSeparator)
{
    if (value == 0.0)
        return u"0";
    if (std::isnan(value))
        return u"NAN";
    if (std::isinf(value))
        return value > 0 ? u"INF" : u"-INF";

    // Round to 15 significant digits first (half to even on the exact binary
    // value); the exponent of the rounded value picks the form. std::to_chars
    // writes "." whatever the process locale (the window's may be German).
    char buffer[400];
    std::to_chars_result written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    const std::string scientific(buffer, written.ptr);
    const size_t e = scientific.find('e');
    std::string mantissa = scientific.substr(0, e);
    const int exponent = std::atoi(scientific.c_str() + e + 1);

    if (exponent < -4 || exponent >= 15) {
        TrimFraction(mantissa);
        return Widen(mantissa + "E" + std::to_string(exponent), decimalSeparator);
    }
    written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 14 - exponent);
    std::string fixed(buffer, written.ptr);
    TrimFraction(fixed);
    return Widen(fixed, decimalSeparator);
}

char16_t DecimalSeparatorOf(const std::string& localeName)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale locale = localeName.empty() ? icu::Locale::getRoot() : icu::Locale(localeName.c_str());
    const icu::DecimalFormatSymbols symbols(locale, status);
    if (U_FAILURE(status))
        return u'.';
    const icu::UnicodeString separator = symbols.getSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol);
    return separator.length() == 1 ? separator.charAt(0) : u'.';
}

int64_t RoundHalfEven(long double value)
{
    const long double floor = std::floor(value);
    const long double fraction = value - floor;
    auto result = static_cast<int64_t>(floor);
    if (fraction > 0.5L || (fraction == 0.5L && (result % 2 != 0)))
        ++result;
    return result;
}

std::string FormatCount(int64_t value, const std::string& localeName)
{
    const icu::Locale locale = localeName.empty() ? icu::Locale::getRoot() : icu::Locale(localeName.c_str());
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString text =
        icu::number::NumberFormatter::withLocale(locale).formatInt(value, status).toString(status);
    if (U_FAILURE(status))
        return std::to_string(value);
    std::string utf8;
    return text.toUTF8String(utf8);
}

}  // namespace quillprint
