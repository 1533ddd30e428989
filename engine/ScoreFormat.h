// How scores are written in the summary text.
#pragma once

#include <cstdint>
#include <string>

namespace quillprint {

// General form with at most 15 significant digits, trailing zeros dropped;
// a non-zero magnitude below 1E-4 in scientific form ("5E-5", "1.25E-7").
std::u16string FormatScore(double value, char16_t decimalSeparator);

// The decimal separator of a locale ("" is the root locale: ".").
char16_t DecimalSeparatorOf(const std::string& localeName);

// A count for the user, UTF-8, grouped as the locale writes numbers
// ("1,200" in en_US and the root locale "", "1.200" in de_DE).
std::string FormatCount(int64_t value, const std::string& localeName);

// Nearest integer, an exact half to the even neighbour.
int64_t RoundHalfEven(long double value);

}  // namespace quillprint
