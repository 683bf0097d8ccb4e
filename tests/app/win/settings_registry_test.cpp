// The settings store against Wine's real registry.
#include <gtest/gtest.h>

#include "app/settings.h"
#include "platform/win32/win32_registry.h"
#include "support/win/test_support.h"

namespace {

using platform::RegistryRoot;
const std::wstring kTestRoot = L"SOFTWARE\\Dravik Tests";

class RealRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kTestRoot); }
  void TearDown() override { testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kTestRoot); }

  void setRaw(const std::wstring& path, const std::wstring& name, DWORD type, const void* data,
              DWORD bytes) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
  }

  platform::win32::Win32Registry registry_;
};

TEST_F(RealRegistryTest, WriteCreatesMissingParentKeysAndReadFindsTheValue) {
  const std::wstring path = kTestRoot + L"\\Deep\\Deeper\\Dravik Task Manager";
  EXPECT_TRUE(dravik::RegWriteString(registry_, RegistryRoot::LocalMachine, path, L"Width", L"11415"));
  EXPECT_EQ(dravik::RegReadString(registry_, RegistryRoot::LocalMachine, path, L"Width"), L"11415");

  // Stored as REG_SZ with its terminating NUL.
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0, bytes = 0;
  ASSERT_EQ(::RegQueryValueExW(key, L"Width", nullptr, &type, nullptr, &bytes), ERROR_SUCCESS);
  ::RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(bytes, 6 * sizeof(wchar_t));
}

TEST_F(RealRegistryTest, ReadDoesNotFindANameSpelledInAnotherCase) {
  EXPECT_TRUE(dravik::RegWriteString(registry_, RegistryRoot::LocalMachine, kTestRoot, L"language", L"German"));
  EXPECT_EQ(dravik::RegReadString(registry_, RegistryRoot::LocalMachine, kTestRoot, L"Language"), L"");
  EXPECT_EQ(dravik::RegReadString(registry_, RegistryRoot::LocalMachine, kTestRoot, L"language"), L"German");
}

TEST_F(RealRegistryTest, ValueListedAfterAnOverlongOneIsNotFound) {
  // Wine lists values in name order: "A..." comes before "Width".
  const std::wstring longData(300, L'x');
  setRaw(kTestRoot, L"Aaa", REG_SZ, longData.c_str(), static_cast<DWORD>((longData.size() + 1) * 2));
  EXPECT_TRUE(dravik::RegWriteString(registry_, RegistryRoot::LocalMachine, kTestRoot, L"Width", L"9000"));
  EXPECT_EQ(dravik::RegReadString(registry_, RegistryRoot::LocalMachine, kTestRoot, L"Width"), L"");

  testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kTestRoot);
  const std::wstring longName(299, L'A');
  setRaw(kTestRoot, longName, REG_SZ, L"x", 4);
  EXPECT_TRUE(dravik::RegWriteString(registry_, RegistryRoot::LocalMachine, kTestRoot, L"Width", L"9000"));
  EXPECT_EQ(dravik::RegReadString(registry_, RegistryRoot::LocalMachine, kTestRoot, L"Width"), L"");
}

TEST_F(RealRegistryTest, EmptyDataAndMissingKeysReadAsEmpty) {
  setRaw(kTestRoot, L"Empty", REG_SZ, L"", 0);
  setRaw(kTestRoot, L"JustNul", REG_SZ, L"", 2);
  EXPECT_EQ(dravik::RegReadString(registry_, RegistryRoot::LocalMachine, kTestRoot, L"Empty"), L"");
  EXPECT_EQ(dravik::RegReadString(registry_, RegistryRoot::LocalMachine, kTestRoot, L"JustNul"), L"");
  EXPECT_EQ(dravik::RegReadString(registry_, RegistryRoot::LocalMachine, kTestRoot + L"\\None", L"X"), L"");
}

TEST_F(RealRegistryTest, SettingsUseTheProgramsKeyInTheLocalMachine) {
  dravik::Settings settings(registry_);
  const std::wstring before = settings.read(dravik::kSettingLanguage);
  settings.write(dravik::kSettingLanguage, L"Klingon");
  EXPECT_EQ(dravik::RegReadString(registry_, RegistryRoot::LocalMachine,
                                  L"SOFTWARE\\Dravik Task Manager", L"Language"),
            L"Klingon");
  settings.write(dravik::kSettingLanguage, before);
}

}  // namespace
