// What the built program carries inside: its version and manifest,
// read from draviktm.exe mapped as an image. (What it imports is checked by the release script.)
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "support/win/test_support.h"

// Win32 structures are filled by naming only the fields a call reads.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

class ProgramResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = ::LoadLibraryExW(testsupport::ProgramPath().c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  static void TearDownTestSuite() { ::FreeLibrary(module_); }
  void SetUp() override { ASSERT_NE(module_, nullptr) << "cannot map draviktm.exe, error " << ::GetLastError(); }

  static std::string Resource(const wchar_t* name, const wchar_t* type) {
    HRSRC found = ::FindResourceW(module_, name, type);
    const void* data = found ? ::LockResource(::LoadResource(module_, found)) : nullptr;
    return data ? std::string(static_cast<const char*>(data), ::SizeofResource(module_, found)) : std::string();
  }
  static inline HMODULE module_ = nullptr;
};

TEST_F(ProgramResources, ManifestAsksForAdministratorCommonControls6AndSystemDpiWithoutSupportedSystems) {
  std::string manifest = Resource(MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_FALSE(manifest.empty()) << "no manifest with id 1";
  // Comments may well talk about what is left out.
  for (size_t at = manifest.find("<!--"); at != std::string::npos; at = manifest.find("<!--", at)) {
    manifest.erase(at, manifest.find("-->", at) + 3 - at);
  }
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
  const size_t controls = manifest.find("\"Microsoft.Windows.Common-Controls\"");
  ASSERT_NE(controls, std::string::npos);
  const std::string tag = manifest.substr(manifest.rfind('<', controls), manifest.find('>', controls) - manifest.rfind('<', controls));
  EXPECT_NE(tag.find("version=\"6.0.0.0\""), std::string::npos) << tag;
  EXPECT_NE(tag.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos) << tag;
  EXPECT_NE(Lower(manifest).find("<dpiaware>true</dpiaware>"), std::string::npos);
  // A supportedOS entry would make newer systems report their real version to the start-up check.
  EXPECT_EQ(manifest.find("supportedOS"), std::string::npos);
}

TEST(ProgramVersion, Is210ForFileAndProduct) {
  const std::wstring path = testsupport::ProgramPath();
  std::vector<BYTE> block(::GetFileVersionInfoSizeW(path.c_str(), nullptr));
  ASSERT_TRUE(!block.empty() && ::GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  void* found = nullptr;
  UINT size = 0;
  ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", &found, &size));
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(found);
  EXPECT_EQ((std::vector<DWORD>{fixed->dwFileVersionMS, fixed->dwFileVersionLS, fixed->dwProductVersionMS, fixed->dwProductVersionLS}),
            (std::vector<DWORD>{MAKELONG(1, 2), 0, MAKELONG(1, 2), 0}));
  for (const wchar_t* key : {L"\\StringFileInfo\\040904B0\\FileVersion", L"\\StringFileInfo\\040904B0\\ProductVersion"}) {
    EXPECT_TRUE(::VerQueryValueW(block.data(), key, &found, &size) && std::wstring(static_cast<const wchar_t*>(found)) == L"2.1.0.0")
        << Narrow(key);
  }
}

}  // namespace
