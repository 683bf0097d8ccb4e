// What the built program carries inside: its pictures, version, manifest and
// the libraries it needs, read from draviktm.exe as a data file and a PE file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cctype>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/win32/handles.h"
#include "support/win/test_support.h"

namespace {

constexpr const wchar_t* kPictures[] = {
    L"AAA",         L"TB_REFRESH",   L"TB_SHOWWINDOW", L"TB_ENDTASK",   L"TB_RUN",
    L"TB_TERMINATE", L"TB_PROPERTIES", L"TB_START",     L"TB_STOP",      L"TB_PAUSE",
    L"TB_RESUME",   L"TB_DELETE",    L"TB_ABOUT",      L"IMG_EMPTY",    L"IMG_RUN",
    L"IMG_NOICON",  L"IMG_UNKNOWN",  L"TRAY",          L"SVC_RUNNING",  L"SVC_DISABLED",
    L"SVC_PAUSED",  L"SVC_STOPPED"};
constexpr const wchar_t* kBlank = L"IMG_EMPTY";

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

struct ModuleFree {
  void operator()(HMODULE module) const { ::FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFree>;

class ProgramResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_.reset(::LoadLibraryExW(testsupport::ProgramPath().c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  }
  static void TearDownTestSuite() { module_.reset(); }
  void SetUp() override {
    ASSERT_TRUE(module_) << "cannot open " << Narrow(testsupport::ProgramPath())
                         << " as a data file, error " << ::GetLastError();
  }

  static std::string Resource(const wchar_t* name, const wchar_t* type) {
    HRSRC found = ::FindResourceW(module_.get(), name, type);
    if (!found) return {};
    HGLOBAL loaded = ::LoadResource(module_.get(), found);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data) return {};
    return std::string(static_cast<const char*>(data), ::SizeofResource(module_.get(), found));
  }

  // The pixel sizes listed in an icon's directory.
  static std::set<int> SizesOf(const wchar_t* name) {
    const std::string group = Resource(name, RT_GROUP_ICON);
    std::set<int> sizes;
    if (group.size() < 6) return sizes;
    WORD count = 0;
    std::memcpy(&count, group.data() + 4, sizeof count);
    constexpr size_t kEntry = 14;  // GRPICONDIRENTRY
    for (size_t i = 0; i < count && 6 + (i + 1) * kEntry <= group.size(); ++i) {
      const auto width = static_cast<unsigned char>(group[6 + i * kEntry]);
      sizes.insert(width == 0 ? 256 : width);
    }
    return sizes;
  }

  static inline UniqueModule module_;
};

// The icon drawn on a plain background as the user would see it, 0x00RRGGBB per pixel.
std::vector<DWORD> Rendered(HICON icon, int size, DWORD background) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  platform::win32::UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  HDC dc = ::CreateCompatibleDC(nullptr);
  if (!bitmap || !dc) {
    if (dc) ::DeleteDC(dc);
    return {};
  }
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

// How many pixels the icon changes on white or on black: a transparent pixel changes neither.
int InkedPixels(HICON icon, int size) {
  const auto onWhite = Rendered(icon, size, 0xFFFFFF);
  const auto onBlack = Rendered(icon, size, 0x000000);
  if (onWhite.empty() || onBlack.empty()) return -1;
  int inked = 0;
  for (size_t i = 0; i < onWhite.size(); ++i) inked += (onWhite[i] != 0xFFFFFF || onBlack[i] != 0);
  return inked;
}

int BitmapWidthOf(HICON icon) {
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return -1;
  platform::win32::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bm{};
  ::GetObjectW(colour ? colour.get() : mask.get(), sizeof bm, &bm);
  return bm.bmWidth;
}

TEST_F(ProgramResources, EveryPictureShipsInTheSizesFrom100To200PercentScale) {
  for (const wchar_t* name : kPictures) {
    const std::set<int> sizes = SizesOf(name);
    for (int wanted : {16, 20, 24, 32}) {
      EXPECT_TRUE(sizes.count(wanted)) << Narrow(name) << " has no " << wanted << " px image";
    }
  }
  // Large icons: the task switcher and a notification area at high scale.
  EXPECT_TRUE(SizesOf(L"AAA").count(48));
  EXPECT_TRUE(SizesOf(L"TRAY").count(48));
}

TEST_F(ProgramResources, EveryPictureLoadsAtExactSmallAndLargeSizeAndOnlyTheBlankOneIsEmpty) {
  for (const wchar_t* name : kPictures) {
    for (int size : {16, 32}) {
      SCOPED_TRACE(Narrow(name) + " at " + std::to_string(size));
      platform::win32::UniqueIcon icon(
          static_cast<HICON>(::LoadImageW(module_.get(), name, IMAGE_ICON, size, size, 0)));
      ASSERT_TRUE(icon) << "error " << ::GetLastError();
      EXPECT_EQ(BitmapWidthOf(icon.get()), size);
      const int inked = InkedPixels(icon.get(), size);
      if (std::wstring(name) == kBlank) {
        EXPECT_EQ(inked, 0);
      } else {
        // Every picture covers a fair part of its square; a few stray pixels are a broken drawing.
        EXPECT_GE(inked, size * size / 8);
      }
    }
  }
}

TEST_F(ProgramResources, NoTwoNamesShowTheSamePicture) {
  std::map<std::vector<DWORD>, std::wstring> seen;
  for (const wchar_t* name : kPictures) {
    platform::win32::UniqueIcon icon(static_cast<HICON>(::LoadImageW(module_.get(), name, IMAGE_ICON, 16, 16, 0)));
    ASSERT_TRUE(icon) << Narrow(name);
    auto [at, fresh] = seen.emplace(Rendered(icon.get(), 16, 0xF0F0F0), name);
    EXPECT_TRUE(fresh) << Narrow(name) << " looks exactly like " << Narrow(at->second);
  }
}

// A string value of the version resource, found by walking its String entries
// (length, value length, type, key, padding to 4 bytes, value).
std::wstring VersionString(const std::string& block, const std::wstring& key) {
  const std::string wanted(reinterpret_cast<const char*>(key.c_str()), (key.size() + 1) * sizeof(wchar_t));
  for (size_t at = block.find(wanted); at != std::string::npos; at = block.find(wanted, at + 2)) {
    if (at < 6 || (at - 6) % 4 != 0) continue;
    WORD valueLength = 0;
    std::memcpy(&valueLength, block.data() + at - 4, sizeof valueLength);
    const size_t value = (at + wanted.size() + 3) / 4 * 4;
    if (value + valueLength * sizeof(wchar_t) > block.size()) continue;
    std::wstring text(valueLength, L'\0');
    std::memcpy(text.data(), block.data() + value, valueLength * sizeof(wchar_t));
    return text.substr(0, text.find(L'\0'));
  }
  return {};
}

TEST_F(ProgramResources, VersionResourceSays2100ForFileAndProduct) {
  const std::string block = Resource(MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
  ASSERT_FALSE(block.empty());
  VS_FIXEDFILEINFO fixed{};
  bool found = false;
  for (size_t at = 0; at + sizeof fixed <= block.size() && !found; at += 4) {
    std::memcpy(&fixed, block.data() + at, sizeof fixed);
    found = fixed.dwSignature == 0xFEEF04BD;
  }
  ASSERT_TRUE(found) << "no fixed version information";
  EXPECT_EQ(fixed.dwFileVersionMS, MAKELONG(1, 2));
  EXPECT_EQ(fixed.dwFileVersionLS, 0u);
  EXPECT_EQ(fixed.dwProductVersionMS, MAKELONG(1, 2));
  EXPECT_EQ(fixed.dwProductVersionLS, 0u);
  EXPECT_EQ(VersionString(block, L"FileVersion"), L"2.1.0.0");
  EXPECT_EQ(VersionString(block, L"ProductVersion"), L"2.1.0.0");
}

// The whole start tag of the first element named `element` that contains `marker`.
std::string TagWith(const std::string& xml, const std::string& element, const std::string& marker) {
  for (size_t at = xml.find('<' + element); at != std::string::npos; at = xml.find('<' + element, at + 1)) {
    const std::string tag = xml.substr(at, xml.find('>', at) - at);
    if (tag.find(marker) != std::string::npos) return tag;
  }
  return {};
}

// The XML without its comments, which may well talk about what is left out.
std::string WithoutComments(std::string xml) {
  for (size_t at = xml.find("<!--"); at != std::string::npos; at = xml.find("<!--", at)) {
    const size_t end = xml.find("-->", at);
    xml.erase(at, end == std::string::npos ? std::string::npos : end + 3 - at);
  }
  return xml;
}

TEST_F(ProgramResources, ManifestAsksForAdministratorCommonControls6AndSystemDpiWithoutSupportedSystems) {
  const std::string manifest = WithoutComments(Resource(MAKEINTRESOURCEW(1), RT_MANIFEST));
  ASSERT_FALSE(manifest.empty()) << "no manifest with id 1";
  EXPECT_NE(TagWith(manifest, "requestedExecutionLevel", "level=\"requireAdministrator\""), "");
  const std::string controls = TagWith(manifest, "assemblyIdentity", "\"Microsoft.Windows.Common-Controls\"");
  EXPECT_NE(controls.find("version=\"6.0.0.0\""), std::string::npos) << controls;
  EXPECT_NE(controls.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos) << controls;
  const size_t open = manifest.find("<dpiAware>");
  ASSERT_NE(open, std::string::npos) << "no dpiAware setting";
  std::string dpi = manifest.substr(open + 10, manifest.find("</dpiAware>", open) - open - 10);
  std::transform(dpi.begin(), dpi.end(), dpi.begin(), [](char ch) { return static_cast<char>(std::tolower(static_cast<unsigned char>(ch))); });
  EXPECT_EQ(dpi, "true");
  // A supportedOS entry would make newer systems report their real version to the start-up check.
  EXPECT_EQ(manifest.find("supportedOS"), std::string::npos);
}

// The DLL names a PE file imports, directly or delay-loaded; throws on a malformed file.
std::vector<std::string> ImportedLibraries(const std::string& file) {
  auto read = [&](size_t at, auto& out) {
    if (at + sizeof out > file.size()) throw std::out_of_range("PE field beyond the end of the file");
    std::memcpy(&out, file.data() + at, sizeof out);
  };
  IMAGE_DOS_HEADER dos{};
  read(0, dos);
  if (dos.e_magic != IMAGE_DOS_SIGNATURE) throw std::runtime_error("no MZ header");
  const size_t nt = static_cast<size_t>(dos.e_lfanew);
  DWORD signature = 0;
  IMAGE_FILE_HEADER header{};
  read(nt, signature);
  read(nt + 4, header);
  if (signature != IMAGE_NT_SIGNATURE) throw std::runtime_error("no PE header");
  const size_t optional = nt + 4 + sizeof header;
  WORD magic = 0;
  read(optional, magic);
  IMAGE_DATA_DIRECTORY imports{}, delayed{};
  if (magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    IMAGE_OPTIONAL_HEADER64 o{};
    read(optional, o);
    imports = o.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    delayed = o.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT];
  } else {
    IMAGE_OPTIONAL_HEADER32 o{};
    read(optional, o);
    imports = o.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    delayed = o.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT];
  }
  std::vector<IMAGE_SECTION_HEADER> sections(header.NumberOfSections);
  for (size_t i = 0; i < sections.size(); ++i) {
    read(optional + header.SizeOfOptionalHeader + i * sizeof(IMAGE_SECTION_HEADER), sections[i]);
  }
  auto offsetOf = [&](DWORD rva) -> size_t {
    for (const auto& s : sections) {
      const DWORD extent = std::max<DWORD>(s.Misc.VirtualSize, s.SizeOfRawData);
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + extent) return rva - s.VirtualAddress + s.PointerToRawData;
    }
    throw std::out_of_range("address outside every section");
  };
  auto nameAt = [&](DWORD rva) {
    const size_t at = offsetOf(rva);
    const size_t end = file.find('\0', at);
    if (end == std::string::npos) throw std::out_of_range("unterminated DLL name");
    return file.substr(at, end - at);
  };
  std::vector<std::string> names;
  if (imports.VirtualAddress != 0) {
    for (size_t at = offsetOf(imports.VirtualAddress);; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
      IMAGE_IMPORT_DESCRIPTOR d{};
      read(at, d);
      if (d.Name == 0) break;
      names.push_back(nameAt(d.Name));
    }
  }
  if (delayed.VirtualAddress != 0) {
    for (size_t at = offsetOf(delayed.VirtualAddress);; at += 8 * sizeof(DWORD)) {
      DWORD attributesAndName[2] = {};
      read(at, attributesAndName);
      if (attributesAndName[1] == 0) break;
      names.push_back(nameAt(attributesAndName[1]));
    }
  }
  return names;
}

std::string WholeFile(const std::wstring& path) {
  platform::win32::UniqueKernelHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                         OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.get(), &size)) return {};
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) return {};
  bytes.resize(got);
  return bytes;
}

TEST(ProgramImports, OnlyLibrariesEverySupportedWindowsHasInItsSystemFolder) {
  // The program is copied alone into a folder and must start there: a compiler
  // runtime DLL (C++ library, gcc support, threads) or a newer CRT would be missing.
  const std::set<std::string> system = {
      "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll",  "iphlpapi.dll", "kernel32.dll",
      "msvcrt.dll",   "ntdll.dll",    "ole32.dll",    "oleaut32.dll", "pdh.dll",     "psapi.dll",
      "shell32.dll",  "shlwapi.dll",  "user32.dll",   "uxtheme.dll", "vdmdbg.dll",  "version.dll",
      "winhttp.dll",  "ws2_32.dll",   "hhctrl.ocx",   "rpcrt4.dll", "winmm.dll",   "imm32.dll"};
  const std::string file = WholeFile(testsupport::ProgramPath());
  ASSERT_FALSE(file.empty()) << "cannot read " << Narrow(testsupport::ProgramPath());
  std::vector<std::string> libraries;
  ASSERT_NO_THROW(libraries = ImportedLibraries(file));
  ASSERT_FALSE(libraries.empty()) << "no import table found";
  bool kernel = false;
  for (std::string name : libraries) {
    std::transform(name.begin(), name.end(), name.begin(), [](char ch) { return static_cast<char>(std::tolower(static_cast<unsigned char>(ch))); });
    EXPECT_TRUE(system.count(name)) << "imports " << name;
    kernel = kernel || name == "kernel32.dll";
  }
  EXPECT_TRUE(kernel) << "the import table was misread: every program imports kernel32.dll";
}

}  // namespace
