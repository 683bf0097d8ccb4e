#include "platform/win32/win32_shell_files.h"

#include <windows.h>
#include <shellapi.h>

namespace platform::win32 {

SystemIcon Win32ShellFiles::smallIcon(const std::wstring& path) {
  SHFILEINFOW info{};
  // Only the image list and the icon index are wanted. Asking for the
  // executable type as well (SHGFI_EXETYPE) changes what the call returns, and
  // some shells then return nothing at all; the type and display names would
  // cost a lookup per process for texts nobody reads.
  constexpr UINT kFlags = SHGFI_SYSICONINDEX | SHGFI_SHELLICONSIZE | SHGFI_SMALLICON;
  const DWORD_PTR list = ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), kFlags);
  if (list == 0) return {};
  return {static_cast<std::uintptr_t>(list), info.iIcon};
}

bool Win32ShellFiles::showProperties(const std::wstring& path) {
  SHELLEXECUTEINFOW execute{};
  execute.cbSize = sizeof(execute);
  execute.fMask = SEE_MASK_INVOKEIDLIST;
  execute.hwnd = nullptr;
  execute.lpVerb = L"properties";
  execute.lpFile = path.c_str();
  execute.nShow = SW_SHOW;
  return ::ShellExecuteExW(&execute) != FALSE;
}

}  // namespace platform::win32
