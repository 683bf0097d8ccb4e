#include "platform/win32/win32_file_listing.h"

#include <windows.h>

#include "platform/win32/handles.h"

namespace platform::win32 {

std::vector<std::wstring> Win32FileListing::files(const std::wstring& folder,
                                                  const std::wstring& pattern) {
  std::vector<std::wstring> names;
  std::wstring search = folder;
  if (!search.empty() && search.back() != L'\\') search += L'\\';
  search += pattern;
  WIN32_FIND_DATAW found{};
  UniqueFindHandle find(::FindFirstFileW(search.c_str(), &found));
  if (!find) return names;
  // A file list shows neither folders nor hidden and system files.
  constexpr DWORD kNotListed =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    if ((found.dwFileAttributes & kNotListed) == 0) names.emplace_back(found.cFileName);
  } while (::FindNextFileW(find.get(), &found));
  return names;
}

}  // namespace platform::win32
