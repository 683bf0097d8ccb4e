#include "processes/number_text.h"

#include <algorithm>
#include <cmath>

namespace dravik {

std::wstring GroupDigits(std::uint64_t value, const platform::NumberFormat& format) {
  const std::wstring digits = std::to_wstring(value);
  std::wstring out;
  const std::size_t lead = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
  out.append(digits, 0, lead);
  for (std::size_t i = lead; i < digits.size(); i += 3) {
    out += format.groupSeparator;
    out.append(digits, i, 3);
  }
  return out;
}

std::wstring FixedDecimals(std::uint64_t scaled, int decimals,
                           const platform::NumberFormat& format) {
  std::uint64_t unit = 1;
  for (int i = 0; i < decimals; ++i) unit *= 10;
  std::wstring out = std::to_wstring(scaled / unit);
  if (decimals > 0) {
    std::wstring fraction = std::to_wstring(scaled % unit);
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), L'0');
    out += format.decimalSeparator + fraction;
  }
  return out;
}

std::wstring TwoDecimals(double value, const platform::NumberFormat& format) {
  if (!std::isfinite(value)) return FixedDecimals(0, 2, format);
  const bool negative = value < 0;
  // 2^63 hundredths is far beyond any figure shown; clamp rather than overflow.
  const double hundredths = std::min(std::floor(std::fabs(value) * 100 + 0.5), 9.2e18);
  const std::wstring text = FixedDecimals(static_cast<std::uint64_t>(hundredths), 2, format);
  return negative && hundredths > 0 ? L"-" + text : text;
}

}  // namespace dravik
