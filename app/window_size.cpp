#include "app/window_size.h"

#include <cmath>

namespace dravik {

namespace {

// More digits than any screen needs; keeps the arithmetic far from overflow.
constexpr std::size_t kMaxDigits = 7;

double LoadOne(const Settings& settings, const wchar_t* name, double fallback) {
  if (auto size = ParseStoredSize(settings.read(name))) return *size;
  settings.write(name, std::to_wstring(static_cast<long>(fallback)));
  return fallback;
}

}  // namespace

std::optional<double> ParseStoredSize(const std::wstring& text) {
  std::size_t begin = text.find_first_not_of(L' ');
  if (begin == std::wstring::npos) return std::nullopt;
  const std::size_t end = text.find_last_not_of(L' ') + 1;
  bool negative = false;
  if (text[begin] == L'-' || text[begin] == L'+') {
    negative = text[begin] == L'-';
    ++begin;
  }
  if (begin == end || end - begin > kMaxDigits) return std::nullopt;
  double value = 0;
  for (std::size_t i = begin; i < end; ++i) {
    if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
    value = value * 10 + (text[i] - L'0');
  }
  return negative ? -value : value;
}

WindowSize LoadWindowSize(const Settings& settings) {
  WindowSize size;
  size.height = LoadOne(settings, kSettingHeight, kMinimumWindowHeight);
  size.width = LoadOne(settings, kSettingWidth, kMinimumWindowWidth);
  return size;
}

void SaveWindowSize(const Settings& settings, WindowSize size) {
  settings.write(kSettingHeight, std::to_wstring(std::lround(size.height)));
  settings.write(kSettingWidth, std::to_wstring(std::lround(size.width)));
}

}  // namespace dravik
