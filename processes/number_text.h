#pragma once
// Numbers as the status bar shows them, in the user's number format.
#include <cstdint>
#include <string>

#include "platform/performance.h"

namespace dravik {

// Decimal digits in groups of three: 1234567 -> "1,234,567".
std::wstring GroupDigits(std::uint64_t value, const platform::NumberFormat& format);
// A value given in units of 10^-decimals with exactly `decimals` decimals:
// (1250, 2) -> "12.50"; (7, 0) -> "7".
std::wstring FixedDecimals(std::uint64_t scaled, int decimals,
                           const platform::NumberFormat& format);
// A non-negative double rounded half up to two decimals ("0.00"); negative
// values show as "-" and their magnitude.
std::wstring TwoDecimals(double value, const platform::NumberFormat& format);

}  // namespace dravik
