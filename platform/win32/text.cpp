#include "platform/win32/text.h"

#include <windows.h>

namespace platform::win32 {

std::wstring Widen(unsigned codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int chars = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (chars <= 0) return std::wstring(bytes.begin(), bytes.end());
  std::wstring text(static_cast<std::size_t>(chars), L'\0');
  ::MultiByteToWideChar(codePage, 0, bytes.data(), size, text.data(), chars);
  return text;
}

std::string Narrow(unsigned codePage, std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int bytes = ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string out(static_cast<std::size_t>(bytes), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), bytes, nullptr, nullptr);
  return out;
}

}  // namespace platform::win32
