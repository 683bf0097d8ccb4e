#include "platform/win32/win32_profile_files.h"

#include <windows.h>

#include <vector>

#include "platform/win32/text.h"

namespace platform::win32 {

namespace {

// The 8-bit profile calls take an 8-bit path. A folder name the ANSI code page
// cannot spell is reached through its short (8.3) name instead.
std::string AnsiPath(const std::wstring& file) {
  BOOL lossy = FALSE;
  const int size = static_cast<int>(file.size());
  const int bytes = ::WideCharToMultiByte(CP_ACP, 0, file.data(), size, nullptr, 0, nullptr, &lossy);
  if (!lossy && bytes > 0) return Narrow(CP_ACP, file);
  wchar_t shortPath[MAX_PATH];
  const DWORD length = ::GetShortPathNameW(file.c_str(), shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return Narrow(CP_ACP, file);
  return Narrow(CP_ACP, std::wstring_view(shortPath, length));
}

}  // namespace

std::string Win32ProfileFiles::getString(std::string_view section, std::string_view key,
                                         std::string_view fallback, std::size_t bufferSize,
                                         const std::wstring& file) {
  if (bufferSize == 0) return {};
  std::vector<char> buffer(bufferSize, '\0');
  const std::string sectionText(section), keyText(key), fallbackText(fallback);
  const DWORD copied = ::GetPrivateProfileStringA(sectionText.c_str(), keyText.c_str(),
                                                  fallbackText.c_str(), buffer.data(),
                                                  static_cast<DWORD>(bufferSize),
                                                  AnsiPath(file).c_str());
  return std::string(buffer.data(), copied);
}

bool Win32ProfileFiles::writeString(std::string_view section, std::string_view key,
                                    std::string_view value, const std::wstring& file) {
  const std::string sectionText(section), keyText(key), valueText(value);
  return ::WritePrivateProfileStringA(sectionText.c_str(), keyText.c_str(), valueText.c_str(),
                                      AnsiPath(file).c_str()) != FALSE;
}

std::wstring Win32ProfileFiles::decode(unsigned codePage, std::string_view bytes) {
  return Widen(codePage, bytes);
}

unsigned Win32ProfileFiles::ansiCodePage() { return ::GetACP(); }

}  // namespace platform::win32
