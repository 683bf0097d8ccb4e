// The narrowed DLL search, under Wine against the real loader.
// planted_library.dll lies beside this test program, as a planted DLL would
// lie beside draviktm.exe. That the program itself loads none of the DLLs
// planted beside it is the DLL-planting test's.
#include "platform/win32/system_library.h"

#include <gtest/gtest.h>

#include <string>

#include "support/win/test_support.h"

namespace {

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
