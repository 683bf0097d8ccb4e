// The Tasks tab under Wine, against the windows of a helper program, in a
// stand-in main window of this test.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/win/refresh_timer.h"
#include "platform/win32/win32_process_control.h"
#include "platform/win32/win32_task_windows.h"
#include "processes/process_path.h"
#include "support/win/tab_test_window.h"
#include "support/win/ui_test_support.h"
#include "tasks/win/tasks_tab.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

std::wstring HelperPath() { return testsupport::TestDir() + L"\\task_windows_helper.exe"; }

class TasksTabTest : public ::testing::Test {
 protected:
  void SetUp() override { paths_.LoadDeviceMap(); }
  // Starts the helper and waits for its `count` visible windows, handling our own messages meanwhile.
  std::vector<HWND> start(const std::wstring& arguments, std::size_t count) {
    helpers_.push_back(testsupport::Start(HelperPath(), arguments));
    std::vector<HWND> found;
    testsupport::PumpUntil([&] {
      found.clear();
      for (HWND w : testsupport::WindowsOf(helpers_.back().pid(), L"DravikTaskHelper")) {
        if (::IsWindowVisible(w)) found.push_back(w);
      }
      return found.size() == count;
    });
    return found;
  }
  int rowOf(HWND w) {
    wchar_t handle[24];
    std::swprintf(handle, 24, L"&h%llX", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(w)));
    return window_.find(2, handle);
  }
  std::wstring status(HWND w) { return rowOf(w) < 0 ? L"<no row>" : window_.text(rowOf(w), 1); }

  tabtest::TabWindow window_{dravik::Tab::Tasks, 4, /*scripted=*/false};  // real message boxes
  platform::win32::Win32ProcessControl control_;
  dravik::ProcessPaths paths_{control_};
  dravik::TasksTab tab_{window_.context, window_.list, [this](std::uint32_t pid) { return paths_.GetProcessPath(pid); }};
  std::vector<testsupport::ChildProcess> helpers_;
};

TEST_F(TasksTabTest, TheListFollowsTheWindowsAStalledOneAndEndTask) {
  const std::vector<HWND> polite = start(L"Polite 2", 2);
  const std::vector<HWND> stubborn = start(L"Stubborn 1 ignoreclose", 1);
  ASSERT_EQ(polite.size() + stubborn.size(), 3u) << "the helper's windows did not come: is there a display?";
  const std::vector<HWND> windows = {polite[0], polite[1], stubborn[0]};
  // A window that does not answer within the time-out (a loaded machine) is left for the next refresh.
  const auto allListed = [&] { return std::all_of(windows.begin(), windows.end(), [&](HWND w) { return rowOf(w) >= 0; }); };
  for (int tries = 0; tries < 10 && !allListed(); ++tries) tab_.refresh(), ::Sleep(tries ? 200 : 0);
  for (HWND w : windows) {
    ASSERT_GE(rowOf(w), 0);
    EXPECT_EQ(status(w), L"Running");
    EXPECT_EQ(window_.text(rowOf(w), 0), testsupport::WindowText(w));
  }
  EXPECT_EQ(window_.text(rowOf(stubborn[0]), 3), std::to_wstring(helpers_[1].pid()));
  EXPECT_EQ(window_.find(0, L"Dravik Task Manager"), -1) << "the program's own window is listed";
  dravik::RefreshTimer(window_.context, tab_).tick();  // the status bar from the real memory status
  EXPECT_EQ(window_.panels[1].back(), L"(" + std::to_wstring(window_.rows()) + L") Tasks");
  EXPECT_NE(window_.panels[3].back().find(L"%) Mem Usage"), std::wstring::npos) << window_.panels[3].back();
  // Wine hands out no icon of another process's window: the stock one, not the blank picture.
  EXPECT_GT(window_.image(rowOf(polite[0])), 0);
  EXPECT_EQ(tab_.tasks().hIconSm(tab_.tasks().getIndex(platform::win32::FromHwnd(polite[0]))),
            reinterpret_cast<platform::IconHandle>(::LoadIconW(nullptr, IDI_WINLOGO)));

  const int row = rowOf(polite[0]);
  window_.select(row);
  ::SendMessageW(polite[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Renamed window"));
  tab_.refresh();
  EXPECT_EQ(window_.text(row, 0), L"Renamed window");
  EXPECT_EQ(tab_.rows().selectedRow(), row);

  ::PostMessageW(stubborn[0], WM_APP + 1, 3500, 0);
  ::Sleep(100);
  auto began = Clock::now();
  tab_.refresh();
  // Two timed messages reach the stalled window (its caption length and the
  // probe); each may take the time-out, nothing more.
  EXPECT_LT(Clock::now() - began, milliseconds(2 * 250 + 400));
  EXPECT_EQ(status(stubborn[0]), L"Not Responding");
  EXPECT_EQ(window_.text(rowOf(stubborn[0]), 0), L"Stubborn 1");  // kept while it stalls
  EXPECT_TRUE(testsupport::WaitFor([&] { return tab_.refresh(), status(stubborn[0]) == L"Running"; },
                                   std::chrono::seconds(8)));

  ::ShowWindow(polite[1], SW_MINIMIZE);
  tab_.refresh();
  window_.select(rowOf(polite[1]));
  tab_.command(dravik::Command::ShowWindow);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !::IsIconic(polite[1]); }));
  EXPECT_EQ(::GetForegroundWindow(), polite[1]);
  EXPECT_TRUE(::IsIconic(window_.window));
  ::ShowWindow(window_.window, SW_RESTORE);

  window_.select(rowOf(polite[0]));
  {
    testsupport::MessageBoxAnswerer no(IDNO);
    EXPECT_TRUE(tab_.command(dravik::Command::EndTask));
    EXPECT_TRUE(no.finish());
  }
  EXPECT_FALSE(helpers_[0].waitForExit(300));
  EXPECT_TRUE(window_.enables.empty());

  testsupport::MessageBoxAnswerer yes(IDYES);
  began = Clock::now();
  tab_.command(dravik::Command::EndTask);
  ASSERT_TRUE(yes.finish());
  EXPECT_EQ(yes.title(), L"Task: Renamed window");
  EXPECT_EQ(yes.box().icon, ::LoadIconW(nullptr, IDI_EXCLAMATION));
  EXPECT_EQ(yes.box().buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(yes.box().defaultButton, IDYES);
  EXPECT_TRUE(helpers_[0].waitForExit(1000));
  EXPECT_EQ(helpers_[0].exitCode(), 0u) << "ended by force instead of closing";
  EXPECT_LT(Clock::now() - began, milliseconds(2900));
  EXPECT_EQ(window_.enables, (std::vector<bool>{false, true}));
  tab_.refresh();
  EXPECT_LT(rowOf(polite[0]), 0);
  EXPECT_EQ(tab_.rows().selectedRow(), -1);

  window_.select(rowOf(stubborn[0]));
  testsupport::MessageBoxAnswerer yesAgain(IDYES);
  began = Clock::now();
  tab_.command(dravik::Command::EndTask);
  EXPECT_GE(Clock::now() - began, milliseconds(2900));
  EXPECT_TRUE(helpers_[1].waitForExit(1000));
  EXPECT_TRUE(::IsWindowEnabled(window_.window));
}

}  // namespace
