// What the built program carries inside: its pictures, version, manifest and
// the libraries it needs, read from draviktm.exe mapped as an image.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

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

TEST_F(ProgramResources, EveryPictureShipsInTheSizesItIsDrawnAtLooksItsOwnAndOnlyTheBlankOneIsEmpty) {
  // Stored no larger than drawn: toolbar, list and state pictures at 16 px; the
  // tray icon at the small-icon size and the Run picture at the large-icon size,
  // 100% to 150% scale (200% for the tray); the program icon for Explorer too.
  const std::set<int> list{16}, smallIcon{16, 20, 24, 32}, largeIcon{32, 40, 48};
  const std::map<std::wstring, std::set<int>> stored{{L"AAA", {16, 20, 24, 32, 40, 48, 64}},
                                                     {L"IMG_RUN", largeIcon}, {L"TRAY", smallIcon}};
  std::map<std::vector<DWORD>, std::wstring> seen;
  for (const wchar_t* name :
       {L"AAA", L"TB_REFRESH", L"TB_SHOWWINDOW", L"TB_ENDTASK", L"TB_RUN", L"TB_TERMINATE", L"TB_PROPERTIES",
        L"TB_START", L"TB_STOP", L"TB_PAUSE", L"TB_RESUME", L"TB_DELETE", L"TB_ABOUT", L"IMG_EMPTY", L"IMG_RUN",
        L"IMG_NOICON", L"IMG_UNKNOWN", L"TRAY", L"SVC_RUNNING", L"SVC_DISABLED", L"SVC_PAUSED", L"SVC_STOPPED"}) {
    const std::wstring n = name;
    // The widths the icon directory lists (14-byte entries after a 6-byte head).
    const std::string group = Resource(name, RT_GROUP_ICON);
    std::set<int> sizes;
    for (size_t at = 6; at + 14 <= group.size(); at += 14) {
      const int width = static_cast<unsigned char>(group[at]);
      sizes.insert(width == 0 ? 256 : width);
    }
    const auto wanted = stored.find(n);
    EXPECT_EQ(sizes, wanted == stored.end() ? list : wanted->second) << Narrow(n);

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

TEST_F(ProgramResources, ImportsOnlyKnownDllsSoNothingBesideItIsLoadedAtStart) {
  // The program is copied alone into a folder and must start there: a compiler
  // runtime DLL or a newer CRT would be missing. And it runs elevated, so what
  // it imports must be Known DLLs, which Windows maps from the system folder
  // whatever lies beside the program (comctl32 comes from the side-by-side
  // assembly the manifest names); every other system DLL is loaded at run
  // time by its full path. The image is mapped, so addresses inside it are
  // offsets from its base.
  const auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(module_) & ~ULONG_PTR{3});
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  ASSERT_EQ(nt->Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));
  const DWORD imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  ASSERT_NE(imports, 0u);
  const std::set<std::string> system = {"advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll",
                                        "kernel32.dll", "msvcrt.dll",   "ole32.dll",    "oleaut32.dll",
                                        "shell32.dll",  "shlwapi.dll",  "user32.dll"};
  std::set<std::string> found;
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports); d->Name; ++d) {
    found.insert(Lower(reinterpret_cast<const char*>(base + d->Name)));
  }
  for (const std::string& name : found) EXPECT_TRUE(system.count(name)) << "imports " << name;
  EXPECT_TRUE(found.count("kernel32.dll")) << "the import table was misread";
}

TEST(ProgramVersion, Is210ForFileAndProduct) {
  const std::wstring path = testsupport::ProgramPath();
  std::vector<BYTE> block(::GetFileVersionInfoSizeW(path.c_str(), nullptr));
  ASSERT_TRUE(!block.empty() && ::GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  UINT size = 0;
  const auto query = [&](const wchar_t* key) {
    void* found = nullptr;
    return ::VerQueryValueW(block.data(), key, &found, &size) ? found : nullptr;
  };
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\"));
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(1, 2)));
  EXPECT_EQ(fixed->dwProductVersionMS, static_cast<DWORD>(MAKELONG(1, 2)));
  EXPECT_EQ(fixed->dwFileVersionLS | fixed->dwProductVersionLS, 0u);
  for (const wchar_t* key : {L"\\StringFileInfo\\040904B0\\FileVersion", L"\\StringFileInfo\\040904B0\\ProductVersion"}) {
    EXPECT_STREQ(static_cast<const wchar_t*>(query(key)), L"2.1.0.0") << Narrow(key);
  }
}

}  // namespace
