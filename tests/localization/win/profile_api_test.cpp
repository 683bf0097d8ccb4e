// The portable profile reader and the system's profile API answer alike.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "localization/profile_vectors.h"
#include "localization/read_ini.h"
#include "platform/win32/win32_profile_files.h"

namespace {

TEST(ProfileApi, SystemAndPortableReaderGiveTheSameAnswersAndWriteIniIsReadBack) {
  platform::win32::Win32ProfileFiles profiles;
  const std::wstring file = (std::filesystem::temp_directory_path() / L"dravik-vectors.lng").wstring();
  std::ofstream(file.c_str(), std::ios::binary | std::ios::trunc) << vectors::kProfileFile;
  for (const auto& c : vectors::ProfileCases()) {
    EXPECT_EQ(profiles.getString(c.section, c.key, "", c.bufferSize, file), c.expected)
        << c.section << "/" << c.key;
  }
  std::filesystem::remove(file);
  EXPECT_EQ(profiles.getString("Main", "1", "dflt", 355, file), "dflt");  // no file at all
  EXPECT_EQ(dravik::ReadINI(profiles, "Main", "1", file), L"");
  EXPECT_EQ(dravik::WriteINI(profiles, "Main", "5", "written", file), 0);
  EXPECT_EQ(dravik::ReadINI(profiles, "Main", "5", file), L"written");
  std::filesystem::remove(file);
}

}  // namespace
