// The program reads a language file by its wide path, whatever the system's
// code page. The real decoding of a language file is seen in the language
// dialog's test and in the started program's.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "localization/read_ini.h"
#include "platform/win32/win32_profile_files.h"

namespace {

std::wstring TempFolder() {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  return folder;
}

// "ą" is in none of the code pages 1252, 1251 and 932, "日" in neither of the first two.
TEST(ProfileFiles, ReadsALanguageFileInAFolderNoAnsiCodePageCanSpell) {
  const std::wstring folder = TempFolder() + L"dravik-\u0105\u65E5";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring file = folder + L"\\Russian.lng";
  std::ofstream(file.c_str(), std::ios::binary | std::ios::trunc)
      << "[LANGUAGE]\r\nCharacterSet=204\r\n[Main]\r\n1=\xD4\xE0\xE9\xEB\r\n";  // "Файл" in 1251
  platform::win32::Win32ProfileFiles profiles;
  EXPECT_EQ(dravik::ReadINI(profiles, "Main", "1", file), L"Файл");
  EXPECT_EQ(dravik::ReadINI(profiles, "Main", "1", folder + L"\\Missing.lng"), L"");
  ::DeleteFileW(file.c_str());
  ::RemoveDirectoryW(folder.c_str());
}

}  // namespace
