// The portable profile reader and the system's profile API answer alike.
#include <gtest/gtest.h>

#include <fstream>

#include "localization/profile_reader.h"
#include "localization/profile_vectors.h"
#include "localization/read_ini.h"
#include "platform/win32/win32_profile_files.h"
#include "support/win/test_support.h"

namespace {

std::wstring TempFile(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  ::GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + name;
}

void WriteFile(const std::wstring& path, const std::string& text) {
  std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << text;
}

TEST(ProfileApi, SystemAndPortableReaderGiveTheSameAnswers) {
  platform::win32::Win32ProfileFiles profiles;
  const std::wstring file = TempFile(L"dravik-vectors.lng");
  for (const auto& c : vectors::ProfileCases()) {
    WriteFile(file, c.file);
    EXPECT_EQ(profiles.getString(c.section, c.key, "", c.bufferSize, file), c.expected) << c.name;
    EXPECT_EQ(dravik::LookupProfileValue(c.file, c.section, c.key, "", c.bufferSize), c.expected)
        << c.name;
  }
  ::DeleteFileW(file.c_str());
}

TEST(ProfileApi, MissingFileGivesTheFallback) {
  platform::win32::Win32ProfileFiles profiles;
  const std::wstring missing = TempFile(L"dravik-no-such-file.lng");
  EXPECT_EQ(profiles.getString("Main", "1", "", 355, missing), "");
  EXPECT_EQ(profiles.getString("Main", "1", "dflt", 355, missing), "dflt");
  EXPECT_EQ(dravik::ReadINI(profiles, "Main", "1", missing), L"");
}

TEST(ProfileApi, ReadIniDecodesCyrillicFromItsCharacterSet) {
  platform::win32::Win32ProfileFiles profiles;
  const std::wstring file = TempFile(L"dravik-russian.lng");
  WriteFile(file, "[LANGUAGE]\r\nCharacterSet=204\r\n[Main]\r\n1=\xD4\xE0\xE9\xEB\r\n");
  EXPECT_EQ(dravik::ReadINI(profiles, "Main", "1", file), L"\u0424\u0430\u0439\u043B");
  ::DeleteFileW(file.c_str());
}

TEST(ProfileApi, WriteIniWritesAValueTheReaderFinds) {
  platform::win32::Win32ProfileFiles profiles;
  const std::wstring file = TempFile(L"dravik-write.lng");
  ::DeleteFileW(file.c_str());
  EXPECT_EQ(dravik::WriteINI(profiles, "Main", "5", "written", file), 0);
  EXPECT_EQ(dravik::ReadINI(profiles, "Main", "5", file), L"written");
  ::DeleteFileW(file.c_str());
}

}  // namespace
