// The narrowed DLL search, under Wine against the real loader.
// planted_library.dll lies beside this test program, as a planted DLL would
// lie beside draviktm.exe. That the program itself loads none of the DLLs
// planted beside it is the DLL-planting test's.
#include "platform/win32/system_library.h"

#include <gtest/gtest.h>

#include <string>

#include "support/win/test_support.h"

namespace {

bool LoadsByName(const wchar_t* name) {
  const HMODULE found = ::LoadLibraryW(name);
  if (found) ::FreeLibrary(found);
  return found != nullptr;
}

TEST(DllSearch, OnceRestrictedNoDllIsFoundByNameBesideTheProgramOrInTheCurrentFolder) {
  const std::wstring beside = testsupport::TestDir();
  const std::wstring current = beside + L"\\dll-search-current";
  ::CreateDirectoryW(current.c_str(), nullptr);
  ASSERT_TRUE(::SetCurrentDirectoryW(current.c_str()));
  for (const std::wstring& copy : {beside + L"\\beside_before.dll", beside + L"\\beside_after.dll",
                                   current + L"\\current_before.dll", current + L"\\current_after.dll"}) {
    ASSERT_TRUE(::CopyFileW((beside + L"\\planted_library.dll").c_str(), copy.c_str(), FALSE));
  }
  // Before: the usual search finds both, so the copies are where it looks.
  EXPECT_TRUE(LoadsByName(L"beside_before.dll"));
  EXPECT_TRUE(LoadsByName(L"current_before.dll"));
  platform::win32::RestrictDllSearch();
  EXPECT_FALSE(LoadsByName(L"beside_after.dll"));
  EXPECT_FALSE(LoadsByName(L"current_after.dll"));
  EXPECT_TRUE(LoadsByName(L"vdmdbg.dll"));  // a system DLL still loads by name
}

}  // namespace
