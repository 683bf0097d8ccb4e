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

class StartupTest : public ::testing::Test {
 protected:
  dravik::StartupResult start() {
    return dravik::Main(platform_, [&] { events_.push_back("open windows"); },
                        [&](bool visible) { events_.push_back(visible ? "show" : "hide"); });
  }

  fakes::FakeInstanceLock instance_;
  fakes::FakeControlLibrary controls_;
  fakes::FakeSystemInfo system_;
  fakes::FakeFileSystem files_;
  fakes::FakeShell shell_;
  fakes::FakeUserInterface ui_;
  fakes::FakeRegistry registry_;
  fakes::FakeProfileFiles profiles_;
  dravik::StartupPlatform platform_{instance_, controls_, system_, files_,
                                    shell_,    ui_,       registry_, profiles_};
  std::vector<std::string> events_;
};

TEST(GetOS, SupportsNt51To6x) {
  // The version query is a double: Wine cannot pretend to be every system.
  fakes::FakeSystemInfo system;
  const std::pair<OsVersion, dravik::OsSupport> table[] = {
      {{2, 5, 0}, dravik::OsSupport::Unsupported},  // Windows 2000
      {{2, 5, 1}, dravik::OsSupport::Supported},    // XP
      {{2, 5, 2}, dravik::OsSupport::Supported},    // Server 2003
      {{2, 6, 0}, dravik::OsSupport::Supported},    // Vista
      {{2, 6, 3}, dravik::OsSupport::Supported},    // 8.1
      {{2, 10, 0}, dravik::OsSupport::Unsupported}, // 10 when a manifest lets it say so
      {{2, 4, 0}, dravik::OsSupport::Unsupported},  // NT 4
      {{1, 4, 10}, dravik::OsSupport::Unsupported}, // 98
      {{1, 6, 0}, dravik::OsSupport::Unsupported},  // 9x platform, whatever the numbers
  };
  for (const auto& [version, expected] : table) {
    system.os = version;
    EXPECT_EQ(dravik::GetOS(system), expected)
        << version.platformId << " " << version.major << "." << version.minor;
  }
  system.os.reset();
  EXPECT_EQ(dravik::GetOS(system), dravik::OsSupport::QueryFailed);
}

TEST(GetSysDir, DropsATrailingBackslashAndRefusesWhatDoesNotFit) {
  fakes::FakeSystemInfo system;
  system.systemFolder = L"C:\\windows\\system32";
  EXPECT_EQ(dravik::GetSysDir(system), L"C:\\windows\\system32");
  system.systemFolder = L"D:\\";
  EXPECT_EQ(dravik::GetSysDir(system), L"D:");
  system.systemFolder = L"C:\\" + std::wstring(251, L's');  // 254 characters fit
  EXPECT_EQ(dravik::GetSysDir(system).size(), 254u);
  system.systemFolder = L"C:\\" + std::wstring(252, L's');  // 255 characters do not
  EXPECT_EQ(dravik::GetSysDir(system), L"");
}

TEST_F(StartupTest, SecondInstanceShowsOnlyTheRunningMessage) {
  instance_.running = true;
  EXPECT_EQ(start().outcome, dravik::StartupOutcome::AlreadyRunning);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, L"Application is already running!");
  EXPECT_EQ(ui_.boxes[0].title, L"Dravik Task Manager");
  EXPECT_EQ(ui_.boxes[0].flags, 16u);
  EXPECT_EQ(controls_.inits, 0);
  EXPECT_TRUE(events_.empty());
  EXPECT_EQ(registry_.opens, 0);
}

TEST_F(StartupTest, UnsupportedSystemShowsTheSplashTextOfTheLanguageFile) {
  const auto dir = std::filesystem::temp_directory_path() / "dravik-startup";
  std::filesystem::create_directories(dir / "Language");
  std::ofstream(dir / "Language" / "German.lng", std::ios::binary)
      << "[Splash]\r\n5=Dieses System wird nicht unterst\xFCtzt.\r\n";
  registry_.setString(platform::RegistryRoot::LocalMachine, dravik::kSettingsKey, L"Language",
                      L"German");
  system_.os = OsVersion{2, 5, 0};
  system_.folder = fakes::WidePath(dir.string());
  auto result = start();
  EXPECT_EQ(result.outcome, dravik::StartupOutcome::UnsupportedSystem);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, L"Dieses System wird nicht unterst\u00FCtzt.");
  EXPECT_EQ(ui_.boxes[0].title, L"");  // the application's title
  EXPECT_EQ(ui_.boxes[0].flags, 16u);
  EXPECT_TRUE(events_.empty());
  std::filesystem::remove_all(dir);
}

TEST_F(StartupTest, UnsupportedSystemWithoutALanguageFileShowsAnEmptyBox) {
  system_.os = OsVersion{1, 4, 90};
  EXPECT_EQ(start().outcome, dravik::StartupOutcome::UnsupportedSystem);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, L"");
  EXPECT_TRUE(events_.empty());
}

TEST_F(StartupTest, FailedVersionQueryIsRefusedToo) {
  system_.os.reset();
  EXPECT_EQ(start().outcome, dravik::StartupOutcome::UnsupportedSystem);
}

TEST_F(StartupTest, LanguageFileDefaultsToEnglishBesideTheProgram) {
  auto result = start();
  EXPECT_EQ(result.languageFile,
            L"C:\\Program Files\\Dravik Task Manager\\Language\\English.lng");
  registry_.setString(platform::RegistryRoot::LocalMachine, dravik::kSettingsKey, L"Language",
                      L"French");
  EXPECT_EQ(start().languageFile,
            L"C:\\Program Files\\Dravik Task Manager\\Language\\French.lng");
}

TEST_F(StartupTest, LibraryPresentOpensTheWindowsWithoutMessages) {
  auto result = start();
  EXPECT_EQ(result.outcome, dravik::StartupOutcome::Started);
  EXPECT_TRUE(ui_.boxes.empty());
  EXPECT_TRUE(files_.copies.empty());
  EXPECT_TRUE(shell_.calls.empty());
  EXPECT_EQ(controls_.inits, 1);
  EXPECT_EQ(controls_.askedSystemFolder, L"C:\\windows\\system32");
  EXPECT_EQ(events_, (std::vector<std::string>{"open windows", "show"}));
  EXPECT_EQ(ui_.pumps, 1);
}

TEST_F(StartupTest, LibraryBesideTheProgramIsInstalledAndTheProgramEnds) {
  // Only a double can offer a library file: the real classes come with the system.
  controls_.inSystem = false;
  controls_.besideProgram = true;
  files_.files.insert(L"C:\\Program Files\\Dravik Task Manager\\comctl32.ocx");
  EXPECT_EQ(start().outcome, dravik::StartupOutcome::LibraryInstalled);
  ASSERT_EQ(files_.copies.size(), 1u);
  EXPECT_EQ(files_.copies[0].second, L"C:\\windows\\system32\\comctl32.ocx");
  ASSERT_EQ(shell_.calls.size(), 1u);
  EXPECT_EQ(shell_.calls[0].verb, L"open");
  EXPECT_EQ(shell_.calls[0].file, L"REGSVR32.EXE");
  EXPECT_EQ(shell_.calls[0].parameters, L"C:\\windows\\system32\\comctl32.ocx /s");
  EXPECT_EQ(shell_.calls[0].folder, L"C:\\Program Files\\Dravik Task Manager");
  EXPECT_EQ(shell_.calls[0].show, 1);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, L"Configuration completed.\r\nPlease run the software again.");
  EXPECT_EQ(ui_.boxes[0].flags, 48u);
  EXPECT_EQ(ui_.events, (std::vector<std::wstring>{L"pump", L"pump", L"box"}));
  EXPECT_TRUE(events_.empty());
}

TEST_F(StartupTest, RegistrationToolThatCannotStartIsReportedThenConfigurationCompletes) {
  controls_.inSystem = false;
  controls_.besideProgram = true;
  shell_.result = 2;  // file not found
  EXPECT_EQ(start().outcome, dravik::StartupOutcome::LibraryInstalled);
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[0].text, L"Error jumping to:REGSVR32.EXE");
  EXPECT_EQ(ui_.boxes[0].title, L"Warning");
  EXPECT_EQ(ui_.boxes[0].flags, 48u);
  EXPECT_EQ(ui_.boxes[1].text, L"Configuration completed.\r\nPlease run the software again.");
}

TEST_F(StartupTest, LibraryMissingEverywhereEndsTheProgram) {
  controls_.inSystem = false;
  EXPECT_EQ(start().outcome, dravik::StartupOutcome::LibraryMissing);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, L"File: COMCTL32.OCX is missing!");
  EXPECT_EQ(ui_.boxes[0].flags, 16u);
  EXPECT_TRUE(files_.copies.empty());
  EXPECT_TRUE(events_.empty());
}

TEST_F(StartupTest, UnreadableSystemFolderLooksAtTheRootOfTheDrive) {
  system_.systemFolder = std::wstring(300, L's');
  start();
  EXPECT_EQ(controls_.askedSystemFolder, L"");
}

TEST_F(StartupTest, RunMinimizedOnlyWhenExactlyTrue) {
  registry_.setString(platform::RegistryRoot::LocalMachine, dravik::kSettingsKey,
                      L"RunMinimized", L"true");
  EXPECT_FALSE(start().runMinimized);
  EXPECT_EQ(events_.back(), "show");
  fakes::FakeRegistry exact;
  exact.setString(platform::RegistryRoot::LocalMachine, dravik::kSettingsKey, L"RunMinimized",
                  L"True");
  dravik::StartupPlatform platform{instance_, controls_, system_, files_,
                                   shell_,    ui_,       exact,   profiles_};
  events_.clear();
  auto result = dravik::Main(platform, [&] { events_.push_back("open windows"); },
                             [&](bool visible) { events_.push_back(visible ? "show" : "hide"); });
  EXPECT_TRUE(result.runMinimized);
  // The main window shows itself while it loads, then goes to the notification area.
  EXPECT_EQ(events_, (std::vector<std::string>{"open windows", "hide"}));
}

TEST_F(StartupTest, ShellOpenFileWithNoFileDoesNothing) {
  dravik::ShellOpenFile(platform_, L"", L"x");
  EXPECT_TRUE(shell_.calls.empty());
  EXPECT_TRUE(ui_.boxes.empty());
}

}  // namespace
