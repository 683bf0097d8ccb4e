#include "platform/win32/system_library.h"

#include <string>
#include <utility>

namespace platform::win32 {

void RestrictDllSearch() {
  // Looked up: the call is absent on XP and on Vista or 7 without the update.
  using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
  const auto setDefault = reinterpret_cast<SetDefaultDirectories>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  ::SetDllDirectoryW(L"");
}

SystemLibrary::SystemLibrary(const wchar_t* fileName) {
  wchar_t folder[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::wstring path(folder, length);
  if (path.back() != L'\\') path += L'\\';
  path += fileName;
  // With a full path, the altered search looks for the DLL's own imports in
  // its folder, never in the program's.
  module_ = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

SystemLibrary::~SystemLibrary() {
  if (module_) ::FreeLibrary(module_);
}

SystemLibrary::SystemLibrary(SystemLibrary&& other) noexcept
    : module_(std::exchange(other.module_, nullptr)) {}

SystemLibrary& SystemLibrary::operator=(SystemLibrary&& other) noexcept {
  if (this != &other) {
    if (module_) ::FreeLibrary(module_);
    module_ = std::exchange(other.module_, nullptr);
  }
  return *this;
}

void* SystemLibrary::address(const char* name) const {
  return module_ ? reinterpret_cast<void*>(::GetProcAddress(module_, name)) : nullptr;
}

}  // namespace platform::win32
