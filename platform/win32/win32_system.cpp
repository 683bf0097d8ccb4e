#include "platform/win32/win32_system.h"

#include "platform/win32/handles.h"

namespace platform::win32 {

std::optional<OsVersion> Win32SystemInfo::version() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  // GetVersionEx on purpose: it reports what the manifest lets this program
  // see, which is what the supported-system rule is written against.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExW(&info)) return std::nullopt;
#pragma GCC diagnostic pop
  return OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion,
                   info.dwBuildNumber};
}

SystemDirectoryResult Win32SystemInfo::systemDirectory(std::uint32_t bufferChars) {
  SystemDirectoryResult result;
  result.buffer.assign(bufferChars, L'\0');
  result.length = ::GetSystemDirectoryW(result.buffer.data(), bufferChars);
  return result;
}

std::wstring Win32SystemInfo::programFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace platform::win32
