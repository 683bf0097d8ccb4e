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

struct Kind {
  const char* name;
  unsigned flags;
  const wchar_t* icon;  // the shared system icon the box must show: the same handle every load gives
  std::vector<int> buttons;
  int defaultButton;
  int press;
  int answer;
};

// Not "MessageBox": <windows.h> would rename the suite MessageBoxW.
TEST(MessageBoxKinds, EachKindShowsItsIconAndButtonsAndGivesThePressedAnswer) {
  namespace mb = platform::mb;
  const Kind kinds[] = {
      {"16: stop, OK", mb::kStopOk, IDI_HAND, {IDOK}, IDOK, IDOK, 1},
      {"48: exclamation, OK", mb::kExclamationOk, IDI_EXCLAMATION, {IDOK}, IDOK, IDOK, 1},
      {"52: exclamation, Yes and No", mb::kExclamationYesNo, IDI_EXCLAMATION, {IDYES, IDNO}, IDYES, IDYES, 6},
      {"20: stop, Yes and No", mb::kStopYesNo, IDI_HAND, {IDYES, IDNO}, IDYES, IDNO, 7},
  };
  platform::win32::Win32UserInterface ui;
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(kind.name);
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
    EXPECT_EQ(box.defaultButton, kind.defaultButton);
    EXPECT_EQ(answer, kind.answer);
  }
}

}  // namespace
