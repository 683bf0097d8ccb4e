// A help file that cannot be opened, under Wine: the real HTML help viewer; the
// message box through a double so the test reads it without a modal loop. That
// the built help opens is seen in the DLL-planting test, on the started program.
#include "shell/help.h"

#include <gtest/gtest.h>

#include "doubles/fake_system.h"
#include "platform/win32/win32_help.h"
#include "platform/win32/win32_profile_files.h"
#include "support/win/test_support.h"

namespace {

TEST(HelpFile, AMissingFileShowsTheMessageInTheRunningLanguage) {
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
}

}  // namespace
