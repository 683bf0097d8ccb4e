// The start-up decisions over doubles: Wine cannot pretend to be every system
// or lack the control library. The program that starts, and the second copy
// it refuses, are the real one in win/program_test.cpp.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/settings.h"
#include "doubles/fake_profile_files.h"
#include "doubles/fake_registry.h"
#include "doubles/fake_system.h"

namespace {

using platform::OsVersion;
using dravik::OsSupport;

TEST(GetOS, SupportsNt51To6x) {
  fakes::FakeSystemInfo system;
  const std::pair<OsVersion, OsSupport> table[] = {
      {{2, 5, 0}, OsSupport::Unsupported},  {{2, 5, 1}, OsSupport::Supported},
      {{2, 6, 3}, OsSupport::Supported},    {{2, 10, 0}, OsSupport::Unsupported},
      {{1, 6, 0}, OsSupport::Unsupported},  // 9x platform, whatever the numbers
  };
  for (const auto& [version, expected] : table) {
    system.os = version;
    EXPECT_EQ(dravik::GetOS(system), expected) << version.platformId << " " << version.major << "." << version.minor;
  }
  system.os.reset();
  EXPECT_EQ(dravik::GetOS(system), OsSupport::QueryFailed);
  system.systemFolder = L"C:\\" + std::wstring(251, L's');  // 254 characters fit
  EXPECT_EQ(dravik::GetSysDir(system).size(), 254u);
  system.systemFolder += L's';
  EXPECT_EQ(dravik::GetSysDir(system), L"");
}

class StartupTest : public ::testing::Test {
 protected:
  // Each refusal shows one box with the stop icon and opens no window.
  void expectRefusal(dravik::StartupOutcome outcome, const std::wstring& text) {
    bool opened = false;
    EXPECT_EQ(dravik::Main(platform_, [&] { opened = true; }, [&](bool) { opened = true; }).outcome, outcome);
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, text);
    EXPECT_EQ(ui_.boxes[0].flags, 16u);
    EXPECT_FALSE(opened);
    ui_.boxes.clear();
  }

  fakes::FakeInstanceLock instance_;
  fakes::FakeControlLibrary controls_;
  fakes::FakeSystemInfo system_;
  fakes::FakeShell shell_;
  fakes::FakeUserInterface ui_;
  fakes::FakeRegistry registry_;
  fakes::FakeProfileFiles profiles_;
  dravik::StartupPlatform platform_{instance_, controls_, system_, shell_, ui_, registry_, profiles_};
};

TEST_F(StartupTest, AnUnsupportedSystemShowsTheSplashTextOfTheLanguageFileAndAMissingLibraryItsOwn) {
  const auto dir = std::filesystem::temp_directory_path() / "dravik-startup";
  std::filesystem::create_directories(dir / "Language");
  std::ofstream(dir / "Language" / "German.lng", std::ios::binary)
      << "[Splash]\r\n5=Dieses System wird nicht unterst\xFCtzt.\r\n";
  registry_.setString(platform::RegistryRoot::LocalMachine, dravik::kSettingsKey, L"Language", L"German");
  system_.os = OsVersion{2, 5, 0};
  system_.folder = fakes::WidePath(dir.string());
  expectRefusal(dravik::StartupOutcome::UnsupportedSystem, L"Dieses System wird nicht unterst\u00FCtzt.");
  std::filesystem::remove_all(dir);
  system_.os.reset();  // a failed query is refused too; without the file the box is empty
  expectRefusal(dravik::StartupOutcome::UnsupportedSystem, L"");
  system_.os = OsVersion{2, 5, 1};
  controls_.inSystem = false;
  expectRefusal(dravik::StartupOutcome::LibraryMissing, L"File: COMCTL32.OCX is missing!");
}

}  // namespace
