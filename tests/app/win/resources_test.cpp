// What the built program carries inside: its pictures, version and manifest,
// read from draviktm.exe mapped as an image. (What it imports is checked by the release script.)
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <vector>

#include "platform/win32/handles.h"
#include "support/win/test_support.h"

// Win32 structures are filled by naming only the fields a call reads.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using platform::win32::UniqueIcon;

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

// The icon drawn on a plain background as the user would see it, 0xRRGGBB per pixel.
std::vector<DWORD> Rendered(HICON icon, int size, DWORD background) {
  BITMAPINFO info{.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER), .biWidth = size, .biHeight = -size,
                                .biPlanes = 1, .biBitCount = 32, .biCompression = BI_RGB}};
  void* bits = nullptr;
  platform::win32::UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bitmap.get());
  auto* pixels = static_cast<DWORD*>(bits);
  std::fill(pixels, pixels + size * size, background);
  ::DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  ::GdiFlush();
  std::vector<DWORD> out(pixels, pixels + size * size);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  for (DWORD& p : out) p &= 0xFFFFFF;
  return out;
}

BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
  if (!IS_INTRESOURCE(name)) reinterpret_cast<std::vector<std::wstring>*>(names)->push_back(name);
  return TRUE;
}

TEST_F(ProgramResources, EveryPictureLooksItsOwnAndOnlyTheBlankOneIsEmpty) {
  std::vector<std::wstring> names;
  ::EnumResourceNamesW(module_, RT_GROUP_ICON, AddName, reinterpret_cast<LONG_PTR>(&names));
  ASSERT_GE(names.size(), 20u) << "the program's pictures were not found";
  std::map<std::vector<DWORD>, std::wstring> seen;
  for (const std::wstring& n : names) {
    const wchar_t* name = n.c_str();
    for (int size : {16, 32}) {
      UniqueIcon icon(static_cast<HICON>(::LoadImageW(module_, name, IMAGE_ICON, size, size, 0)));
      ASSERT_TRUE(icon) << Narrow(n) << " at " << size;
      // A pixel the icon leaves transparent changes neither white nor black.
      const auto onWhite = Rendered(icon.get(), size, 0xFFFFFF), onBlack = Rendered(icon.get(), size, 0);
      int inked = 0;
      for (size_t i = 0; i < onWhite.size(); ++i) inked += onWhite[i] != 0xFFFFFF || onBlack[i] != 0;
      // A few stray pixels would be a broken drawing.
      EXPECT_TRUE(n == L"IMG_EMPTY" ? inked == 0 : inked >= size * size / 8) << Narrow(n) << " inks " << inked;
      if (size == 16) {
        auto [at, fresh] = seen.emplace(Rendered(icon.get(), 16, 0xF0F0F0), n);
        EXPECT_TRUE(fresh) << Narrow(n) << " looks exactly like " << Narrow(at->second);
      }
    }
  }
}

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
