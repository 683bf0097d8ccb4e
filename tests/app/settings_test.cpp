#include "app/settings.h"

#include <gtest/gtest.h>

#include "doubles/fake_registry.h"

namespace {

using platform::RegistryRoot;
constexpr auto kLM = RegistryRoot::LocalMachine;

class SettingsTest : public ::testing::Test {
 protected:
  fakes::FakeRegistry registry_;
  dravik::Settings settings_{registry_};
};

TEST_F(SettingsTest, WriteCreatesTheKeyAndItsParentsWithTheSettingsAccess) {
  EXPECT_TRUE(dravik::RegWriteString(registry_, kLM, L"SOFTWARE\\A\\B\\C", L"Width", L"11415"));
  EXPECT_TRUE(registry_.hasKey(kLM, L"SOFTWARE\\A"));
  EXPECT_TRUE(registry_.hasKey(kLM, L"SOFTWARE\\A\\B"));
  EXPECT_EQ(registry_.lastAccess, 0x13Fu);
  ASSERT_NE(registry_.key(kLM, L"SOFTWARE\\A\\B\\C"), nullptr);
  EXPECT_EQ(registry_.key(kLM, L"SOFTWARE\\A\\B\\C")->front().data, std::wstring(L"11415\0", 6));
  EXPECT_EQ(dravik::RegReadString(registry_, kLM, L"SOFTWARE\\A\\B\\C", L"Width"), L"11415");
  EXPECT_EQ(registry_.lastAccess, 0x13Fu);
}

TEST_F(SettingsTest, ReadMatchesTheNameExactlyAndCaseSensitively) {
  registry_.setString(kLM, dravik::kSettingsKey, L"language", L"German");
  EXPECT_EQ(settings_.read(L"Language"), L"");
  EXPECT_EQ(settings_.languageName(), L"English");
  registry_.setString(kLM, dravik::kSettingsKey, L"Language", L"French");
  EXPECT_EQ(settings_.languageName(), L"French");
}

TEST_F(SettingsTest, ValuesAfterOneTooLongForTheBuffersAreNotFound) {
  registry_.setString(kLM, dravik::kSettingsKey, L"Before", L"seen");
  registry_.setString(kLM, dravik::kSettingsKey, std::wstring(255, L'n'), L"x");  // name + NUL > 255
  registry_.setString(kLM, dravik::kSettingsKey, L"After", L"hidden");
  EXPECT_EQ(settings_.read(L"Before"), L"seen");
  EXPECT_EQ(settings_.read(L"After"), L"");

  fakes::FakeRegistry longData;
  longData.setString(kLM, dravik::kSettingsKey, L"Big", std::wstring(255, L'd'));  // data + NUL > 255
  longData.setString(kLM, dravik::kSettingsKey, L"Width", L"9000");
  EXPECT_EQ(dravik::Settings(longData).read(L"Width"), L"");
  // 254 characters and the NUL still fit.
  fakes::FakeRegistry fits;
  fits.setString(kLM, dravik::kSettingsKey, L"Big", std::wstring(254, L'd'));
  fits.setString(kLM, dravik::kSettingsKey, L"Width", L"9000");
  EXPECT_EQ(dravik::Settings(fits).read(L"Big"), std::wstring(254, L'd'));
  EXPECT_EQ(dravik::Settings(fits).read(L"Width"), L"9000");
}

TEST_F(SettingsTest, EmptyDataAndMissingKeyReadAsEmpty) {
  EXPECT_EQ(settings_.read(L"Width"), L"");
  registry_.setRaw(kLM, dravik::kSettingsKey, L"Width", L"");
  EXPECT_EQ(settings_.read(L"Width"), L"");
  registry_.setRaw(kLM, dravik::kSettingsKey, L"Heigth", std::wstring(L"\0", 1));
  EXPECT_EQ(settings_.read(L"Heigth"), L"");
}

TEST_F(SettingsTest, OnlyExactlyTrueStartsMinimized) {
  EXPECT_FALSE(settings_.runMinimized());
  registry_.setString(kLM, dravik::kSettingsKey, L"RunMinimized", L"true");
  EXPECT_FALSE(settings_.runMinimized());
  fakes::FakeRegistry exact;
  exact.setString(kLM, dravik::kSettingsKey, L"RunMinimized", L"True");
  EXPECT_TRUE(dravik::Settings(exact).runMinimized());
}

TEST_F(SettingsTest, WriteKeepsTheFirstSpellingOfAName) {
  settings_.write(L"Heigth", L"8820");
  settings_.write(L"HEIGTH", L"9000");
  EXPECT_EQ(settings_.read(L"Heigth"), L"9000");
  EXPECT_EQ(settings_.read(L"Height"), L"");
}

}  // namespace
