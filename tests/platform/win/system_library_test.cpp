// The loader of system DLLs and the narrowed DLL search, under Wine against
// the real loader. planted_library.dll lies beside this test program, as a
// planted DLL would lie beside draviktm.exe. Narrowing the search lasts for
// the whole process, which is why these tests have a test program of their own.
#include "platform/win32/system_library.h"

#include <pdh.h>

#include <gtest/gtest.h>

#include <string>

#include "support/win/test_support.h"

namespace {

using platform::win32::SystemLibrary;

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(::towlower(c));
  return text;
}

std::wstring SystemFolder() {
  wchar_t folder[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder, length);
}

TEST(SystemLibrary, LoadsOnlyFromTheSystemFolderAndGivesNullForWhatIsMissing) {
  const SystemLibrary pdh(L"pdh.dll");
  ASSERT_TRUE(pdh);
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(pdh.get(), path, MAX_PATH);
  EXPECT_EQ(Lower(path), Lower(SystemFolder() + L"\\pdh.dll"));
  // The typed pointer calls the real function.
  const auto open = pdh.find<decltype(::PdhOpenQueryW)>("PdhOpenQueryW");
  const auto close = pdh.find<decltype(::PdhCloseQuery)>("PdhCloseQuery");
  ASSERT_TRUE(open && close);
  PDH_HQUERY query = nullptr;
  EXPECT_EQ(open(nullptr, 0, &query), ERROR_SUCCESS);
  EXPECT_EQ(close(query), ERROR_SUCCESS);
  EXPECT_EQ(pdh.find<decltype(::PdhCloseQuery)>("PdhNoSuchCall"), nullptr);

  // A DLL found only beside the program is not a system DLL.
  ASSERT_NE(::GetFileAttributesW((testsupport::TestDir() + L"\\planted_library.dll").c_str()),
            INVALID_FILE_ATTRIBUTES);
  const SystemLibrary besideProgram(L"planted_library.dll");
  EXPECT_FALSE(besideProgram);
  EXPECT_EQ(besideProgram.find<decltype(::PdhCloseQuery)>("PdhCloseQuery"), nullptr);
  EXPECT_FALSE(SystemLibrary(L"dravik-no-such-library.dll"));

  SystemLibrary first(L"psapi.dll");
  const HMODULE module = first.get();
  SystemLibrary second(std::move(first));
  EXPECT_FALSE(first);  // NOLINT(bugprone-use-after-move): a moved-from owner is empty
  EXPECT_EQ(second.get(), module);
}

TEST(DllSearch, OnceRestrictedNoDllIsFoundByNameBesideTheProgramOrInTheCurrentFolder) {
  const std::wstring planted = testsupport::TestDir() + L"\\planted_library.dll";
  const std::wstring current = testsupport::TestDir() + L"\\dll-search-current";
  ::CreateDirectoryW(current.c_str(), nullptr);
  ASSERT_TRUE(::SetCurrentDirectoryW(current.c_str()));
  for (const std::wstring& copy : {testsupport::TestDir() + L"\\beside_before.dll",
                                   testsupport::TestDir() + L"\\beside_after.dll",
                                   current + L"\\current_before.dll", current + L"\\current_after.dll"}) {
    ASSERT_TRUE(::CopyFileW(planted.c_str(), copy.c_str(), FALSE));
  }
  // Before: the usual search finds both, so the copies are where it looks.
  for (const wchar_t* name : {L"beside_before.dll", L"current_before.dll"}) {
    const HMODULE found = ::LoadLibraryW(name);
    EXPECT_NE(found, nullptr) << "before: " << std::string(name, name + wcslen(name));
    if (found) ::FreeLibrary(found);
  }

  platform::win32::RestrictDllSearch();
  for (const wchar_t* name : {L"beside_after.dll", L"current_after.dll"}) {
    const HMODULE found = ::LoadLibraryW(name);
    EXPECT_EQ(found, nullptr) << "after: " << std::string(name, name + wcslen(name));
    if (found) ::FreeLibrary(found);
  }
  const HMODULE system = ::LoadLibraryW(L"vdmdbg.dll");  // a system DLL still loads by name
  EXPECT_NE(system, nullptr);
  if (system) ::FreeLibrary(system);
}

}  // namespace
