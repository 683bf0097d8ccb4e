// The start-up decisions over doubles: Wine cannot pretend to be every system
// or lack the control library. The second copy is refused in win/program_test.cpp.
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
using dravik::StartupOutcome;
constexpr wchar_t kFolder[] = L"C:\\Program Files\\Dravik Task Manager";

class StartupTest : public ::testing::Test {
 protected:
  dravik::StartupResult start() {
    return dravik::Main(platform_, [&] { events_.push_back("open windows"); },
                        [&](bool visible) { events_.push_back(visible ? "show" : "hide"); });
  }
  void setting(const wchar_t* name, const wchar_t* value) {
    registry_.setString(platform::RegistryRoot::LocalMachine, dravik::kSettingsKey, name, value);
  }
  // The one message box shown, and that no window was opened.
  void expectOnlyBox(const std::wstring& text, unsigned flags) {
    ASSERT_EQ(ui_.boxes.size(), 1u);
    EXPECT_EQ(ui_.boxes[0].text, text);
    EXPECT_EQ(ui_.boxes[0].flags, flags);
    EXPECT_TRUE(events_.empty());
  }

  fakes::FakeInstanceLock instance_;
  fakes::FakeControlLibrary controls_;
  fakes::FakeSystemInfo system_;
  fakes::FakeShell shell_;
  fakes::FakeUserInterface ui_;
  fakes::FakeRegistry registry_;
  fakes::FakeProfileFiles profiles_;
  dravik::StartupPlatform platform_{instance_, controls_, system_, shell_, ui_, registry_, profiles_};
  std::vector<std::string> events_;
};

TEST(GetOS, SupportsNt51To6x) {
  fakes::FakeSystemInfo system;
  const std::pair<OsVersion, dravik::OsSupport> table[] = {
      {{2, 5, 0}, dravik::OsSupport::Unsupported},  {{2, 5, 1}, dravik::OsSupport::Supported},
      {{2, 6, 0}, dravik::OsSupport::Supported},    {{2, 6, 3}, dravik::OsSupport::Supported},
      {{2, 10, 0}, dravik::OsSupport::Unsupported}, {{2, 4, 0}, dravik::OsSupport::Unsupported},
      {{1, 6, 0}, dravik::OsSupport::Unsupported},  // 9x platform, whatever the numbers
  };
  for (const auto& [version, expected] : table) {
    system.os = version;
    EXPECT_EQ(dravik::GetOS(system), expected) << version.platformId << " " << version.major << "." << version.minor;
  }
  system.os.reset();
  EXPECT_EQ(dravik::GetOS(system), dravik::OsSupport::QueryFailed);
}

TEST(GetSysDir, DropsATrailingBackslashAndRefusesWhatDoesNotFit) {
  fakes::FakeSystemInfo system;
  EXPECT_EQ(dravik::GetSysDir(system), L"C:\\windows\\system32");
  system.systemFolder = L"D:\\";
  EXPECT_EQ(dravik::GetSysDir(system), L"D:");
  system.systemFolder = L"C:\\" + std::wstring(251, L's');  // 254 characters fit
  EXPECT_EQ(dravik::GetSysDir(system).size(), 254u);
  system.systemFolder += L's';
  EXPECT_EQ(dravik::GetSysDir(system), L"");
}

TEST_F(StartupTest, UnsupportedSystemShowsTheSplashTextOfTheLanguageFile) {
  const auto dir = std::filesystem::temp_directory_path() / "dravik-startup";
  std::filesystem::create_directories(dir / "Language");
  std::ofstream(dir / "Language" / "German.lng", std::ios::binary)
      << "[Splash]\r\n5=Dieses System wird nicht unterst\xFCtzt.\r\n";
  setting(L"Language", L"German");
  system_.os = OsVersion{2, 5, 0};
  system_.folder = fakes::WidePath(dir.string());
  EXPECT_EQ(start().outcome, StartupOutcome::UnsupportedSystem);
  expectOnlyBox(L"Dieses System wird nicht unterst\u00FCtzt.", 16);
  EXPECT_EQ(ui_.boxes[0].title, L"");  // the application's title
  std::filesystem::remove_all(dir);
  // Without the file the box is empty; a failed query is refused too.
  ui_.boxes.clear();
  system_.os.reset();
  EXPECT_EQ(start().outcome, StartupOutcome::UnsupportedSystem);
  expectOnlyBox(L"", 16);
}

TEST_F(StartupTest, LibraryPresentOpensTheWindowsWithEnglishBesideTheProgram) {
  auto result = start();
  EXPECT_EQ(result.outcome, StartupOutcome::Started);
  EXPECT_EQ(result.languageFile, std::wstring(kFolder) + L"\\Language\\English.lng");
  EXPECT_TRUE(ui_.boxes.empty() && shell_.calls.empty());
  EXPECT_EQ(controls_.inits, 1);
  EXPECT_EQ(controls_.askedSystemFolder, L"C:\\windows\\system32");
  EXPECT_EQ(events_, (std::vector<std::string>{"open windows", "show"}));
  EXPECT_EQ(ui_.pumps, 1);
  setting(L"Language", L"French");
  setting(L"RunMinimized", L"true");  // only "True" is: the real program shows it in win/program_test.cpp
  EXPECT_EQ(start().languageFile, std::wstring(kFolder) + L"\\Language\\French.lng");
  EXPECT_EQ(events_.back(), "show");
}

TEST_F(StartupTest, LibraryMissingEndsTheProgramBeforeAnyWindow) {
  controls_.inSystem = false;
  EXPECT_EQ(start().outcome, StartupOutcome::LibraryMissing);
  expectOnlyBox(L"File: COMCTL32.OCX is missing!", 16);
}

}  // namespace
