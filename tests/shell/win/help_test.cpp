// The help file under Wine: the real HTML help viewer; message boxes through
// a double so the test reads what would be shown without a modal loop.
#include "shell/help.h"

#include <gtest/gtest.h>

#include <fstream>

#include "doubles/fake_system.h"
#include "platform/win32/win32_help.h"
#include "platform/win32/win32_profile_files.h"
#include "support/win/test_support.h"
#include "support/win/ui_test_support.h"

namespace {

TEST(HelpFile, AMissingFileShowsTheLanguagesMessageWithTheStopIcon) {
  platform::win32::Win32HelpFiles help;
  platform::win32::Win32ProfileFiles profiles;
  fakes::FakeUserInterface ui;
  const dravik::Language german(profiles,
                                dravik::LanguageFilePath(testsupport::ProgramDir(), L"German"));
  const std::wstring missing = testsupport::TestDir() + L"\\no such folder\\draviktm.chm";
  EXPECT_EQ(dravik::ShowHelpFile(help, ui, german, 0, missing), 0u);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, german.main("75"));
  EXPECT_EQ(ui.boxes[0].title, german.main("76"));
  EXPECT_FALSE(ui.boxes[0].text.empty());
  EXPECT_EQ(ui.boxes[0].flags, 16u);
}

TEST(HelpFile, TheCompiledHelpLiesBesideTheProgram) {
  const std::wstring path = dravik::HelpFilePath(testsupport::ProgramDir());
  EXPECT_EQ(path, testsupport::ProgramDir() + L"\\draviktm.chm");
  std::ifstream file(path.c_str(), std::ios::binary);
  ASSERT_TRUE(file) << "draviktm.chm was not built into the program folder";
  char signature[4] = {};
  file.read(signature, 4);
  EXPECT_EQ(std::string(signature, 4), "ITSF");  // compiled HTML help
}

}  // namespace

namespace {

TEST(HelpFile, TheBuiltHelpOpensAtItsDefaultTopic) {
  platform::win32::Win32HelpFiles help;
  platform::win32::Win32ProfileFiles profiles;
  fakes::FakeUserInterface ui;
  const dravik::Language german(profiles,
                                dravik::LanguageFilePath(testsupport::ProgramDir(), L"German"));
  const auto window =
      dravik::ShowHelpFile(help, ui, german, 0, dravik::HelpFilePath(testsupport::ProgramDir()));
  EXPECT_NE(window, 0u);
  EXPECT_TRUE(ui.boxes.empty());
  // The viewer's caption is the title the help project gives.
  EXPECT_EQ(testsupport::WindowText(reinterpret_cast<HWND>(window)), L"Dravik Task Manager Help");
  if (window) testsupport::SaveScreenshot(reinterpret_cast<HWND>(window), L"help_window.bmp");
  if (window) ::DestroyWindow(reinterpret_cast<HWND>(window));
}

}  // namespace
