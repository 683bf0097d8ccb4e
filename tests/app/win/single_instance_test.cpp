// The real program started twice.
#include <gtest/gtest.h>

#include "support/win/test_support.h"

namespace {

TEST(SingleInstance, SecondStartShowsOnlyTheRunningMessageAndLeavesTheFirstAlone) {
  auto first = testsupport::Start(testsupport::ProgramPath());
  ASSERT_TRUE(first.running());
  HWND mainWindow = nullptr;
  ASSERT_TRUE(testsupport::WaitFor([&] {
    for (HWND w : testsupport::WindowsOf(first.pid())) {
      if (::IsWindowVisible(w) && testsupport::WindowText(w) == L"Dravik Task Manager") {
        mainWindow = w;
        return true;
      }
    }
    return false;
  })) << "the first copy did not open its window";

  auto second = testsupport::Start(testsupport::ProgramPath());
  ASSERT_TRUE(second.running() || second.exitCode() == 0);
  testsupport::MessageBoxInfo box;
  ASSERT_TRUE(testsupport::WaitFor([&] {
    box = testsupport::FindMessageBox(second.pid());
    return box.window != nullptr;
  })) << "the second copy showed no message";
  EXPECT_EQ(box.title, L"Dravik Task Manager");
  EXPECT_EQ(box.text, L"Application is already running!");
  // Nothing but the message box: no window of its own.
  for (HWND w : testsupport::WindowsOf(second.pid())) {
    if (w != box.window && ::IsWindowVisible(w)) {
      ADD_FAILURE() << "second copy shows a window titled " << testsupport::WindowText(w).size();
    }
  }
  ::PostMessageW(box.window, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(second.waitForExit(10000));

  EXPECT_TRUE(first.running());
  EXPECT_TRUE(::IsWindow(mainWindow));
  EXPECT_TRUE(::IsWindowVisible(mainWindow));
  first.kill();
}

}  // namespace
