// The system's profile API and the portable reader give the same answers, and
// the language lookup decodes by the file's character set on the real system.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "localization/profile_reader.h"
#include "localization/profile_vectors.h"
#include "localization/read_ini.h"
#include "platform/win32/win32_profile_files.h"

namespace {

std::wstring TempFile(const std::string& contents) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"dravik-profile.lng";
  std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << contents;
  return path;
}

TEST(ProfileApi, SystemAndPortableReaderAnswerAlike) {
  platform::win32::Win32ProfileFiles profiles;
  const std::wstring file = TempFile(vectors::kProfileFile);
  for (const auto& c : vectors::kProfileCases) {
    const std::string system = profiles.getString(c.section, c.key, "", c.bufferSize, file);
    EXPECT_EQ(system, c.expected) << c.section << "/" << c.key;
    EXPECT_EQ(dravik::LookupProfileValue(vectors::kProfileFile, c.section, c.key, "", c.bufferSize),
              system)
        << c.section << "/" << c.key;
  }
  // "Файл" in code page 1251, and a missing file giving the empty text.
  const std::wstring russian = TempFile("[LANGUAGE]\r\nCharacterSet=204\r\n[Main]\r\n1=\xD4\xE0\xE9\xEB\r\n");
  EXPECT_EQ(dravik::ReadINI(profiles, "Main", "1", russian), L"\u0424\u0430\u0439\u043B");
  ::DeleteFileW(russian.c_str());
  EXPECT_EQ(dravik::ReadINI(profiles, "Main", "1", russian), L"");
}

}  // namespace
