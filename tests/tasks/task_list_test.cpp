// The task list over doubles of the window manager and the process calls:
// which windows are tasks, how entries are kept, and how a task is ended.
#include "tasks/task_list.h"

#include <gtest/gtest.h>

#include "doubles/fake_processes.h"
#include "doubles/fake_tasks.h"
#include "tasks/terminate_proc.h"

namespace {

using dravik::WindowHandle;
using fakes::FakeWindow;
constexpr std::uint32_t kToolWindow = 0x80;

class TaskListTest : public ::testing::Test {
 protected:
  FakeWindow& add(WindowHandle h, const std::wstring& caption, std::uint32_t pid = 100) {
    processes.running.insert(pid);
    return windows.add(FakeWindow{h, caption, pid});
  }
  std::vector<WindowHandle> listed() { return listedBy(tasks); }
  static std::vector<WindowHandle> listedBy(dravik::CTaskList& list) {
    std::vector<WindowHandle> handles;
    for (int i = 1; i <= list.count(); ++i) handles.push_back(list.hWnd(i));
    return handles;
  }
  fakes::FakeTaskWindows windows;
  fakes::FakeProcessControl processes;
  dravik::CTaskList tasks{windows, processes, true};
};

TEST_F(TaskListTest, HungTimeoutAndModeIgnoreBadValues) {
  EXPECT_EQ(tasks.hungTimeout(), 500);
  for (int bad : {0, -5}) tasks.setHungTimeout(bad);
  EXPECT_EQ(tasks.hungTimeout(), 500);
  tasks.setMode(1);
  for (int bad : {2, -1}) tasks.setMode(bad);
  EXPECT_EQ(tasks.mode(), 1);
}

TEST_F(TaskListTest, TheTaskTestInBothModes) {
  add(0x10, L"plain");
  add(0x20, L"tool").exStyle = kToolWindow;
  add(0x30, L"hidden").visible = false;
  add(0x40, L"child").parent = 0x10;
  add(0x50, L"tool owner").exStyle = kToolWindow;
  add(0x51, L"owned by tool").owner = 0x50;
  add(0x60, L"owned by plain").owner = 0x10;
  add(0x70, L"");  // empty caption: never added
  add(0x80, L"Program Manager").className = L"Progman";
  windows.add({.handle = 0x90, .caption = L"tool desktop", .exStyle = kToolWindow, .className = L"Progman"});
  tasks.refresh();
  // z-order: last added first; the owned task shows its tool-window owner's caption
  EXPECT_EQ(listed(), (std::vector<WindowHandle>{0x80, 0x51, 0x10}));
  EXPECT_EQ(tasks.caption(2), L"tool owner");
  dravik::CTaskList modeOne(windows, processes, true);
  modeOne.setMode(1);
  modeOne.refresh();
  EXPECT_EQ(listedBy(modeOne), (std::vector<WindowHandle>{0x80, 0x50, 0x20, 0x10}));
}

TEST_F(TaskListTest, TwentyFirstTaskGrowsTheArrayToForty) {
  for (WindowHandle h = 1; h <= 20; ++h) add(h * 0x10, L"task");
  tasks.refresh();
  EXPECT_EQ(tasks.capacity(), 20u);
  add(0x999, L"the 21st");
  tasks.refresh();
  EXPECT_EQ(tasks.count(), 21);
  EXPECT_EQ(tasks.capacity(), 40u);
  EXPECT_EQ(tasks.caption(tasks.getIndex(0x999)), L"the 21st");
}

TEST_F(TaskListTest, CompactionKeepsOrderAndFieldsAndNeutralResultsOutOfRange) {
  add(0x30, L"third", 303).bigIcon = 0x3B;
  add(0x20, L"second", 202);
  add(0x10, L"first", 101).bigIcon = 0x1B;
  tasks.refresh();
  windows.destroy(0x20);
  tasks.refresh();
  EXPECT_EQ(listed(), (std::vector<WindowHandle>{0x10, 0x30}));
  EXPECT_EQ(tasks.processId(1), 101u);
  EXPECT_EQ(tasks.hIcon(1), 0x1Bu);
  EXPECT_EQ(tasks.caption(2), L"third");
  EXPECT_EQ(tasks.processId(2), 303u);
  EXPECT_EQ(tasks.hIcon(2), 0x3Bu);
  EXPECT_EQ(tasks.getIndex(0x20), 0);
  for (int index : {0, -1, 3, 1000}) {  // 3: the freed slot holds nothing stale
    EXPECT_EQ(tasks.caption(index), L"") << index;
    EXPECT_EQ(tasks.hWnd(index) + tasks.hIcon(index) + tasks.hIconSm(index), 0u) << index;
    EXPECT_EQ(tasks.processId(index), 0u) << index;
    EXPECT_EQ(tasks.status(index) + tasks.vdm(index), 0) << index;
    EXPECT_FALSE(tasks.valid(index) || tasks.activate(index) || tasks.terminate(index, 0, 0));
  }
  // A window that is not in the list is out of range too, whatever the index.
  EXPECT_FALSE(tasks.valid(1, 0x999) || tasks.terminate(1, 0x999, 0));
  EXPECT_EQ(tasks.count(), 2);
  EXPECT_TRUE(processes.kills.empty());
}

TEST_F(TaskListTest, IconsFallBackFromSmallToLargeToTheStockIcon) {
  windows.add({.handle = 0x10, .caption = L"both", .bigIcon = 0xB1, .smallIcon = 0x51});
  windows.add({.handle = 0x20, .caption = L"large only", .bigIcon = 0xB2});
  windows.add({.handle = 0x30, .caption = L"class", .classBigIcon = 0xCB, .classSmallIcon = 0xC5});
  windows.add({.handle = 0x40, .caption = L"none"});
  tasks.refresh();
  EXPECT_EQ(tasks.hIconSm(tasks.getIndex(0x10)), 0x51u);
  EXPECT_EQ(tasks.hIconSm(tasks.getIndex(0x20)), 0xB2u);
  EXPECT_EQ(tasks.hIcon(tasks.getIndex(0x30)), 0xCBu);
  EXPECT_EQ(tasks.hIconSm(tasks.getIndex(0x30)), 0xC5u);
  EXPECT_EQ(tasks.hIconSm(tasks.getIndex(0x40)), fakes::FakeTaskWindows::kLogo);
  tasks.setMode(1);
  EXPECT_EQ(tasks.hIconSm(tasks.getIndex(0x40)), fakes::FakeTaskWindows::kApplication);
}

TEST_F(TaskListTest, HungOrEmptiedWindowKeepsItsDataAndANewHungOneIsNotAdded) {
  add(0x10, L"before");
  add(0x30, L"named");
  tasks.setHungTimeout(250);
  tasks.refresh();
  windows.window(0x10).caption = L"after";
  windows.window(0x10).hung = true;
  windows.window(0x30).caption = L"";
  add(0x20, L"new but hung").hung = true;
  tasks.refresh();
  EXPECT_EQ(tasks.count(), 2);
  const int hung = tasks.getIndex(0x10);
  EXPECT_EQ(tasks.caption(hung), L"before");
  EXPECT_EQ(tasks.caption(tasks.getIndex(0x30)), L"named");
  EXPECT_EQ(tasks.status(hung), 1);
  windows.window(0x10).hung = false;
  EXPECT_EQ(tasks.status(hung), 0);  // probed on every read
  tasks.refresh();
  EXPECT_EQ(tasks.caption(hung), L"after");
  for (unsigned t : windows.timeoutsSeen) EXPECT_EQ(t, 250u);
}

TEST_F(TaskListTest, ValidDropsATaskThatNoLongerQualifiesAndActivateRestoresFirst) {
  add(0x20, L"second").minimized = true;
  add(0x10, L"first");
  add(0x30, L"refuses").refusesForeground = true;
  tasks.refresh();
  windows.window(0x10).visible = false;
  tasks.refresh();  // a hidden window still exists: refresh keeps it
  EXPECT_EQ(tasks.count(), 3);
  EXPECT_FALSE(tasks.valid(0, 0x10));
  EXPECT_EQ(listed(), (std::vector<WindowHandle>{0x30, 0x20}));
  EXPECT_TRUE(tasks.activate(0, 0x20));
  EXPECT_EQ(windows.calls, (std::vector<std::wstring>{L"restore", L"foreground"}));
  EXPECT_FALSE(tasks.activate(0, 0x30));
}

TEST_F(TaskListTest, TerminateClosesWaitsAndEndsByForceWhenIgnored) {
  add(0x10, L"polite", 10);
  add(0x11, L"polite's dialog", 10).owner = 0x10;
  add(0x12, L"hidden helper of the same process", 10).visible = false;
  add(0x20, L"stubborn", 20);
  tasks.refresh();
  processes.endsOnClose.insert(10);
  windows.onClose = [&](WindowHandle h) { processes.closeRequested.insert(windows.window(h).pid); };
  EXPECT_TRUE(tasks.terminate(0, 0x10, 3000));
  // Unowned windows of that process only, hidden ones included.
  EXPECT_EQ(windows.closesPosted, (std::vector<WindowHandle>{0x12, 0x10}));
  EXPECT_TRUE(processes.kills.empty());
  EXPECT_TRUE(tasks.terminate(0, 0x20));  // no delay: one check, then by force
  using Wait = std::pair<std::uint32_t, unsigned>;
  EXPECT_EQ(processes.waits, (std::vector<Wait>{{10, 3000}, {20, 0}}));
  EXPECT_EQ(processes.kills, (std::vector<std::uint32_t>{20}));
}

TEST_F(TaskListTest, TerminateOfAProcessThatCannotBeOpened) {
  add(0x20, L"gone already", 20);
  add(0x30, L"protected", 30);
  tasks.refresh();
  processes.running.erase(20);
  processes.unopenable.insert(30);
  EXPECT_TRUE(tasks.terminate(0, 0x20, 0));
  EXPECT_TRUE(tasks.terminate(0, 0x30, 0));  // cannot be opened to wait: counts as ended
  EXPECT_TRUE(processes.kills.empty());
  EXPECT_FALSE(dravik::KillProcess(processes, 30));  // no success claimed by force either
}

TEST_F(TaskListTest, SixteenBitAndDosTasksAreNeverEnded) {
  // A double: no system this runs on has a 16-bit subsystem to show.
  add(0x10, L"16-bit Windows program", 10);
  add(0x20, L"DOS program", 20);
  add(0x30, L"Win32 program", 30);
  processes.wow = {10};
  processes.modules = {{10, L"ntvdm.exe"}, {20, L"NtVdm.Exe"}, {30, L"program.exe"}};
  tasks.refresh();
  EXPECT_EQ(tasks.vdm(0, 0x10), 1);
  EXPECT_EQ(tasks.vdm(0, 0x20), 2);
  EXPECT_EQ(tasks.vdm(0, 0x30), 0);
  EXPECT_FALSE(tasks.terminate(0, 0x10, 0) || tasks.terminate(0, 0x20, 0));
  EXPECT_TRUE(windows.closesPosted.empty() && processes.kills.empty() && processes.waits.empty());
  dravik::CTaskList without16Bit(windows, processes, false);
  without16Bit.refresh();
  EXPECT_EQ(without16Bit.vdm(0, 0x10), 0);
  EXPECT_TRUE(without16Bit.terminate(0, 0x10, 0));
}

}  // namespace
