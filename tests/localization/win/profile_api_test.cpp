// The system's profile API and the portable reader give the same answers. The
// real decoding of a language file is seen in the language dialog's test.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "localization/profile_vectors.h"
#include "platform/win32/win32_profile_files.h"

namespace {

// The portable reader is held to the same expected answers by the native tests.
TEST(ProfileApi, AnswersAsThePortableReaderIsExpectedTo) {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring file = std::wstring(folder) + L"dravik-profile.lng";
  std::ofstream(file.c_str(), std::ios::binary | std::ios::trunc) << vectors::kProfileFile;
  platform::win32::Win32ProfileFiles profiles;
  for (const auto& c : vectors::kProfileCases) {
    EXPECT_EQ(profiles.getString(c.section, c.key, "", c.bufferSize, file), c.expected) << c.section << "/" << c.key;
  }
  ::DeleteFileW(file.c_str());
}

}  // namespace
