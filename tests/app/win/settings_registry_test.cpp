// The settings store against Wine's real registry.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include "app/settings.h"
#include "platform/win32/win32_registry.h"
#include "support/win/test_support.h"

namespace {

constexpr auto kLM = platform::RegistryRoot::LocalMachine;
const std::wstring kRoot = L"SOFTWARE\\Dravik Tests";

class RealRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, kRoot.c_str()); }
  void TearDown() override { ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, kRoot.c_str()); }
  void setRaw(const std::wstring& name, const std::wstring& data, DWORD bytes) {
    ASSERT_EQ(testsupport::SetRegistryValue(HKEY_LOCAL_MACHINE, kRoot, name, REG_SZ, data.c_str(), bytes), 0);
  }
  std::wstring read(const std::wstring& name) { return dravik::RegReadString(registry_, kLM, kRoot, name); }
  platform::win32::Win32Registry registry_;
};

TEST_F(RealRegistryTest, WriteCreatesMissingParentKeysAndStoresAStringWithItsNul) {
  const std::wstring path = kRoot + L"\\Deep\\Deeper\\Dravik Task Manager";
  EXPECT_TRUE(dravik::RegWriteString(registry_, kLM, path, L"Width", L"11415"));
  EXPECT_EQ(dravik::RegReadString(registry_, kLM, path, L"Width"), L"11415");
  DWORD type = 0, bytes = 0;
  ASSERT_EQ(::RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), L"Width", RRF_RT_ANY, &type, nullptr, &bytes), 0);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(bytes, 6 * sizeof(wchar_t));
  // The program's own settings live in the local machine's hive.
  testsupport::RegistryGuard guard{HKEY_LOCAL_MACHINE, testsupport::kSettingsKey, {L"Language"}};
  dravik::Settings(registry_).write(dravik::kSettingLanguage, L"Klingon");
  EXPECT_EQ(testsupport::ReadSetting(L"Language"), L"Klingon");
}

TEST_F(RealRegistryTest, NamesMatchExactlyAndEmptyOrMissingValuesReadAsEmpty) {
  EXPECT_TRUE(dravik::RegWriteString(registry_, kLM, kRoot, L"language", L"German"));
  EXPECT_EQ(read(L"Language"), L"");
  EXPECT_EQ(read(L"language"), L"German");
  setRaw(L"Empty", L"", 0);
  setRaw(L"JustNul", L"", 2);
  EXPECT_EQ(read(L"Empty"), L"");
  EXPECT_EQ(read(L"JustNul"), L"");
  EXPECT_EQ(dravik::RegReadString(registry_, kLM, kRoot + L"\\None", L"X"), L"");
}

TEST_F(RealRegistryTest, AValueListedAfterAnOverlongOneIsNotFound) {
  // Wine lists values in name order: "A..." comes before "Width". 254
  // characters and the NUL still fit the reader's buffers of 255.
  const std::wstring fits(254, L'd');
  setRaw(L"Aaa", fits, 255 * 2);
  EXPECT_TRUE(dravik::RegWriteString(registry_, kLM, kRoot, L"Width", L"9000"));
  EXPECT_EQ(read(L"Aaa"), fits);
  EXPECT_EQ(read(L"Width"), L"9000");
  const std::wstring overlong(255, L'd');
  setRaw(L"Aaa", overlong, 256 * 2);
  EXPECT_EQ(read(L"Width"), L"");
  testsupport::DeleteRegistryValue(HKEY_LOCAL_MACHINE, kRoot, L"Aaa");
  setRaw(std::wstring(255, L'A'), L"x", 4);  // a name that does not fit with its NUL
  EXPECT_EQ(read(L"Width"), L"");
}

}  // namespace
