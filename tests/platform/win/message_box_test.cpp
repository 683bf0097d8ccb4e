// The program's four kinds of message box, shown through its real platform
// call and read back from the real box on another thread: title, text, the
// shared system icon, the buttons and the default one, and the answer the
// pressed button gives.
#include "platform/win32/win32_window_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/window_manager.h"
#include "support/win/ui_test_support.h"

namespace {

// Not "MessageBox": <windows.h> would rename the suite MessageBoxW.
TEST(MessageBoxKinds, EachKindShowsItsIconAndButtonsAndGivesThePressedAnswer) {
  namespace mb = platform::mb;
  // The icon: the shared system icon, the same handle every load gives.
  const struct { unsigned flags; const wchar_t* icon; std::vector<int> buttons; int press, answer; } kinds[] = {
      {mb::kStopOk, IDI_HAND, {IDOK}, IDOK, 1},
      {mb::kExclamationOk, IDI_EXCLAMATION, {IDOK}, IDOK, 1},
      {mb::kExclamationYesNo, IDI_EXCLAMATION, {IDYES, IDNO}, IDYES, 6},
      {mb::kStopYesNo, IDI_HAND, {IDYES, IDNO}, IDNO, 7},
  };
  platform::win32::Win32UserInterface ui;
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.flags);
    const std::wstring title = L"Box " + std::to_wstring(kind.flags);
    const std::wstring text = L"Shown with the flags " + std::to_wstring(kind.flags) + L".";
    testsupport::MessageBoxAnswerer answerer(kind.press);
    const int answer = ui.messageBox(text, title, kind.flags);
    ASSERT_TRUE(answerer.finish()) << "no message box appeared";
    const testsupport::MessageBoxInfo& box = answerer.box();
    EXPECT_EQ(box.title, title);
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.icon, ::LoadIconW(nullptr, kind.icon));
    EXPECT_EQ(box.buttons, kind.buttons);
    EXPECT_EQ(box.defaultButton, kind.buttons[0]);  // the first, Yes or OK
    EXPECT_EQ(answer, kind.answer);
  }
}

}  // namespace
