// The task list over a double of the window manager: which windows are
// tasks, how entries are kept, and how a task is ended.
#include "tasks/task_list.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "doubles/fake_tasks.h"
#include "tasks/terminate_proc.h"

namespace {

using dravik::WindowHandle;
using fakes::FakeWindow;
constexpr std::uint32_t kToolWindow = 0x80;

class TaskListTest : public ::testing::Test {
 protected:
  FakeWindow& add(WindowHandle h, const std::wstring& caption, std::uint32_t pid = 100) {
    FakeWindow w;
    w.handle = h;
    w.caption = caption;
    w.pid = pid;
    processes.running.insert(pid);
    return windows.add(w);
  }
  fakes::FakeTaskWindows windows;
  fakes::FakeProcessControl processes;
  dravik::CTaskList tasks{windows, processes, true};
};

TEST_F(TaskListTest, StartsEmptyWithTwentySlotsAndItsDefaults) {
  EXPECT_EQ(tasks.count(), 0);
  EXPECT_EQ(tasks.capacity(), 20u);
  EXPECT_EQ(tasks.mode(), 0);
  EXPECT_EQ(tasks.hungTimeout(), 500);
}

TEST_F(TaskListTest, HungTimeoutAndModeIgnoreBadValues) {
  tasks.setHungTimeout(250);
  tasks.setHungTimeout(0);
  tasks.setHungTimeout(-5);
  EXPECT_EQ(tasks.hungTimeout(), 250);
  tasks.setMode(1);
  tasks.setMode(2);
  tasks.setMode(-1);
  EXPECT_EQ(tasks.mode(), 1);
  tasks.setMode(0);
  EXPECT_EQ(tasks.mode(), 0);
}

TEST_F(TaskListTest, ModeZeroTaskTest) {
  add(0x10, L"plain");
  add(0x20, L"tool").exStyle = kToolWindow;
  add(0x30, L"hidden").visible = false;
  add(0x40, L"child").parent = 0x10;
  add(0x50, L"tool owner").exStyle = kToolWindow;
  add(0x51, L"owned by tool").owner = 0x50;
  add(0x60, L"owned by plain").owner = 0x10;
  add(0x70, L"");  // empty caption: never added
  add(0x80, L"Program Manager").className = L"Progman";
  tasks.refresh();
  std::vector<WindowHandle> listed;
  for (int i = 1; i <= tasks.count(); ++i) listed.push_back(tasks.hWnd(i));
  // z-order: last added first
  EXPECT_EQ(listed, (std::vector<WindowHandle>{0x80, 0x51, 0x10}));
  // The owned task shows its tool-window owner's caption.
  EXPECT_EQ(tasks.caption(2), L"tool owner");
}

TEST_F(TaskListTest, ModeOneTaskTest) {
  tasks.setMode(1);
  add(0x10, L"plain");
  add(0x20, L"tool").exStyle = kToolWindow;
  FakeWindow& progman = add(0x30, L"Program Manager");
  progman.exStyle = kToolWindow;
  progman.className = L"Progman";
  add(0x40, L"plain desktop").className = L"Progman";
  add(0x50, L"tool owner").exStyle = kToolWindow;
  add(0x51, L"owned by tool").owner = 0x50;
  tasks.refresh();
  std::vector<WindowHandle> listed;
  for (int i = 1; i <= tasks.count(); ++i) listed.push_back(tasks.hWnd(i));
  EXPECT_EQ(listed, (std::vector<WindowHandle>{0x50, 0x40, 0x20, 0x10}));
}

TEST_F(TaskListTest, TwentyFirstTaskGrowsTheArrayByTwenty) {
  for (WindowHandle h = 1; h <= 20; ++h) add(h * 0x10, L"task " + std::to_wstring(h));
  tasks.refresh();
  EXPECT_EQ(tasks.count(), 20);
  EXPECT_EQ(tasks.capacity(), 20u);
  add(0x999, L"the 21st");
  tasks.refresh();
  EXPECT_EQ(tasks.count(), 21);
  EXPECT_EQ(tasks.capacity(), 40u);
  EXPECT_EQ(tasks.hWnd(21), 0x999u);
  EXPECT_EQ(tasks.caption(21), L"the 21st");
  EXPECT_EQ(tasks.getIndex(0x999), 21);
}

TEST_F(TaskListTest, DestroyedWindowGoesAndTheOthersMoveUpWithAllTheirFields) {
  add(0x30, L"third", 303).bigIcon = 0x3B;
  add(0x20, L"second", 202);
  FakeWindow& first = add(0x10, L"first", 101);
  first.bigIcon = 0x1B;
  first.smallIcon = 0x15;
  tasks.refresh();
  ASSERT_EQ(tasks.count(), 3);
  windows.destroy(0x20);
  tasks.refresh();
  ASSERT_EQ(tasks.count(), 2);
  EXPECT_EQ(tasks.hWnd(1), 0x10u);
  EXPECT_EQ(tasks.processId(1), 101u);
  EXPECT_EQ(tasks.hIcon(1), 0x1Bu);
  EXPECT_EQ(tasks.hWnd(2), 0x30u);
  EXPECT_EQ(tasks.caption(2), L"third");
  EXPECT_EQ(tasks.processId(2), 303u);
  EXPECT_EQ(tasks.hIcon(2), 0x3Bu);
  // The freed slot is cleared, so a later lookup cannot find stale data.
  EXPECT_EQ(tasks.hWnd(3), 0u);
  EXPECT_EQ(tasks.getIndex(0x20), 0);
}

TEST_F(TaskListTest, NeutralResultsOutOfRange) {
  add(0x10, L"only");
  tasks.refresh();
  for (int index : {0, -1, 2, 1000}) {
    EXPECT_EQ(tasks.caption(index), L"");
    EXPECT_EQ(tasks.hWnd(index), 0u);
    EXPECT_EQ(tasks.hIcon(index), 0u);
    EXPECT_EQ(tasks.hIconSm(index), 0u);
    EXPECT_EQ(tasks.processId(index), 0u);
    EXPECT_EQ(tasks.status(index), 0);
    EXPECT_FALSE(tasks.valid(index));
    EXPECT_EQ(tasks.vdm(index), 0);
    EXPECT_FALSE(tasks.activate(index));
    EXPECT_FALSE(tasks.terminate(index, 0, 0));
  }
  // A window that is not in the list is out of range too, whatever the index.
  EXPECT_FALSE(tasks.valid(1, 0x999));
  EXPECT_FALSE(tasks.terminate(1, 0x999, 0));
  EXPECT_EQ(tasks.count(), 1);
  EXPECT_TRUE(processes.kills.empty());
}

TEST_F(TaskListTest, IconsFallBackFromSmallToLargeToTheStockIcon) {
  FakeWindow& both = add(0x10, L"both");
  both.bigIcon = 0xB1;
  both.smallIcon = 0x51;
  add(0x20, L"large only").bigIcon = 0xB2;
  FakeWindow& classIcons = add(0x30, L"class icons");
  classIcons.classBigIcon = 0xCB;
  classIcons.classSmallIcon = 0xC5;
  add(0x40, L"none");
  tasks.refresh();
  const int none = tasks.getIndex(0x40), large = tasks.getIndex(0x20), cls = tasks.getIndex(0x30),
            full = tasks.getIndex(0x10);
  EXPECT_EQ(tasks.hIconSm(full), 0x51u);
  EXPECT_EQ(tasks.hIconSm(large), 0xB2u);
  EXPECT_EQ(tasks.hIcon(cls), 0xCBu);
  EXPECT_EQ(tasks.hIconSm(cls), 0xC5u);
  EXPECT_EQ(tasks.hIcon(none), fakes::FakeTaskWindows::kLogo);
  EXPECT_EQ(tasks.hIconSm(none), fakes::FakeTaskWindows::kLogo);
  tasks.setMode(1);
  EXPECT_EQ(tasks.hIconSm(none), fakes::FakeTaskWindows::kApplication);
}

TEST_F(TaskListTest, HungWindowKeepsItsDataAndIsNotAdded) {
  add(0x10, L"before");
  tasks.setHungTimeout(250);
  tasks.refresh();
  windows.window(0x10).caption = L"after";
  windows.window(0x10).hung = true;
  add(0x20, L"new but hung").hung = true;
  tasks.refresh();
  EXPECT_EQ(tasks.count(), 1);
  EXPECT_EQ(tasks.caption(1), L"before");
  EXPECT_EQ(tasks.status(1), 1);
  windows.window(0x10).hung = false;
  EXPECT_EQ(tasks.status(1), 0);
  tasks.refresh();
  EXPECT_EQ(tasks.caption(1), L"after");
  // Every message went out with the time-out that was set.
  for (unsigned t : windows.timeoutsSeen) EXPECT_EQ(t, 250u);
}

TEST_F(TaskListTest, EmptiedCaptionKeepsTheOldOne) {
  add(0x10, L"named");
  tasks.refresh();
  windows.window(0x10).caption = L"";
  tasks.refresh();
  EXPECT_EQ(tasks.caption(1), L"named");
}

TEST_F(TaskListTest, ValidDropsATaskThatNoLongerQualifies) {
  add(0x20, L"second");
  add(0x10, L"first");
  tasks.refresh();
  windows.window(0x10).visible = false;
  tasks.refresh();  // a hidden window still exists: refresh keeps it
  EXPECT_EQ(tasks.count(), 2);
  EXPECT_TRUE(tasks.valid(0, 0x20));
  EXPECT_FALSE(tasks.valid(0, 0x10));
  EXPECT_EQ(tasks.count(), 1);
  EXPECT_EQ(tasks.hWnd(1), 0x20u);
}

TEST_F(TaskListTest, ActivateRestoresAMinimizedWindowFirst) {
  add(0x10, L"minimized").minimized = true;
  add(0x20, L"refuses").refusesForeground = true;
  tasks.refresh();
  EXPECT_TRUE(tasks.activate(0, 0x10));
  EXPECT_EQ(windows.calls, (std::vector<std::wstring>{L"restore", L"foreground"}));
  EXPECT_FALSE(windows.window(0x10).minimized);
  EXPECT_FALSE(tasks.activate(0, 0x20));
}

TEST_F(TaskListTest, TerminatePostsCloseToUnownedWindowsAndWaits) {
  add(0x10, L"polite", 10);
  add(0x11, L"polite's dialog", 10).owner = 0x10;
  add(0x12, L"hidden helper of the same process", 10).visible = false;
  add(0x20, L"other process", 20);
  tasks.refresh();
  processes.endsOnClose.insert(10);
  windows.onClose = [&](WindowHandle h) { processes.closeRequested.insert(windows.window(h).pid); };
  EXPECT_TRUE(tasks.terminate(0, 0x10, 3000));
  // Unowned windows of that process only, hidden ones included.
  std::vector<WindowHandle> closed = windows.closesPosted;
  std::sort(closed.begin(), closed.end());
  EXPECT_EQ(closed, (std::vector<WindowHandle>{0x10, 0x12}));
  ASSERT_EQ(processes.waits.size(), 1u);
  EXPECT_EQ(processes.waits[0], (std::pair<std::uint32_t, unsigned>{10, 3000}));
  EXPECT_TRUE(processes.kills.empty());
  EXPECT_TRUE(processes.running.count(20));
}

TEST_F(TaskListTest, TerminateEndsByForceWhenTheProcessIgnoresTheClose) {
  add(0x20, L"stubborn", 20);
  tasks.refresh();
  EXPECT_TRUE(tasks.terminate(1, 0, 3000));
  EXPECT_EQ(processes.kills, (std::vector<std::uint32_t>{20}));
  EXPECT_FALSE(processes.running.count(20));
}

TEST_F(TaskListTest, TerminateWithNoDelayChecksOnceThenKills) {
  add(0x20, L"stubborn", 20);
  tasks.refresh();
  EXPECT_TRUE(tasks.terminate(0, 0x20));
  ASSERT_EQ(processes.waits.size(), 1u);
  EXPECT_EQ(processes.waits[0].second, 0u);
  EXPECT_EQ(processes.kills, (std::vector<std::uint32_t>{20}));
}

TEST_F(TaskListTest, TerminateOfAProcessThatCannotBeOpened) {
  add(0x20, L"gone already", 20);
  add(0x30, L"protected", 30);
  tasks.refresh();
  processes.running.erase(20);  // it ended on its own: cannot be opened any more
  EXPECT_TRUE(tasks.terminate(0, 0x20, 0));
  processes.unopenable.insert(30);
  EXPECT_TRUE(tasks.terminate(0, 0x30, 0));  // cannot be opened to wait: counts as ended
  EXPECT_TRUE(processes.kills.empty());
  // Ending by force needs the process opened; without it, no success is claimed.
  EXPECT_FALSE(dravik::KillProcess(processes, 30));
}

TEST_F(TaskListTest, SixteenBitAndDosTasksAreNeverEnded) {
  // A double: no system this runs on has a 16-bit subsystem to show.
  add(0x10, L"16-bit Windows program", 10);
  add(0x20, L"DOS program", 20);
  add(0x30, L"Win32 program in a DOS-named process", 30);
  processes.wow = {10};
  processes.modules[10] = L"ntvdm.exe";
  processes.modules[20] = L"NtVdm.Exe";
  processes.modules[30] = L"program.exe";
  tasks.refresh();
  EXPECT_EQ(tasks.vdm(0, 0x10), 1);
  EXPECT_EQ(tasks.vdm(0, 0x20), 2);
  EXPECT_EQ(tasks.vdm(0, 0x30), 0);
  EXPECT_FALSE(tasks.terminate(0, 0x10, 0));
  EXPECT_FALSE(tasks.terminate(0, 0x20, 0));
  EXPECT_TRUE(windows.closesPosted.empty());
  EXPECT_TRUE(processes.kills.empty());
  EXPECT_TRUE(processes.waits.empty());
}

TEST_F(TaskListTest, WithoutSixteenBitSupportNothingIsAVirtualMachine) {
  dravik::CTaskList plain(windows, processes, false);
  add(0x10, L"would be 16-bit", 10);
  processes.wow = {10};
  plain.refresh();
  EXPECT_EQ(plain.vdm(1), 0);
  EXPECT_TRUE(plain.terminate(1, 0, 0));
}

}  // namespace
