// The help file under Wine: the real HTML help viewer; message boxes through
// a double so the test reads what would be shown without a modal loop.
#include "shell/help.h"

#include <gtest/gtest.h>

#include "doubles/fake_system.h"
#include "platform/win32/win32_help.h"
#include "platform/win32/win32_profile_files.h"
#include "support/win/ui_test_support.h"

namespace {

TEST(HelpFile, AMissingFileShowsTheMessageAndTheBuiltOneOpensAtItsDefaultTopic) {
  platform::win32::Win32HelpFiles help;
  platform::win32::Win32ProfileFiles profiles;
  fakes::FakeUserInterface ui;
  const dravik::Language german(profiles, dravik::LanguageFilePath(testsupport::ProgramDir(), L"German"));
  const std::wstring missing = testsupport::TestDir() + L"\\no such folder\\draviktm.chm";
  EXPECT_EQ(dravik::ShowHelpFile(help, ui, german, 0, missing), 0u);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, L"Die Hilfedatei draviktm.chm konnte nicht geöffnet werden. Bitte prüfen Sie, ob "
                              L"sie im Programmordner liegt.");
  EXPECT_EQ(ui.boxes[0].title, L"Hilfe nicht gefunden");
  EXPECT_EQ(ui.boxes[0].flags, 16u);

  const std::wstring built = dravik::HelpFilePath(testsupport::ProgramDir());
  const auto window = reinterpret_cast<HWND>(dravik::ShowHelpFile(help, ui, german, 0, built));
  ASSERT_NE(window, nullptr) << "no compiled help beside the program";
  EXPECT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(testsupport::WindowText(window), L"Dravik Task Manager Help");  // the project's title
  ::DestroyWindow(window);
}

}  // namespace
