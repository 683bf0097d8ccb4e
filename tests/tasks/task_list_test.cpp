// The task list and End Task over doubles of the window manager and the
// process calls, for what Wine cannot show: tool-window owners, class icons,
// emptied captions, 16-bit tasks, unopenable processes and the shell's warning.
// Real windows are in win/tasks_tab_test.cpp.
#include "tasks/task_list.h"

#include <gtest/gtest.h>

#include "doubles/fake_processes.h"
#include "doubles/fake_system.h"
#include "doubles/fake_tasks.h"
#include "tasks/task_rows.h"
#include "tasks/terminate_proc.h"

namespace {

using dravik::WindowHandle;
using fakes::FakeWindow;
using Handles = std::vector<WindowHandle>;
constexpr std::uint32_t kToolWindow = 0x80;

class TaskListTest : public ::testing::Test {
 protected:
  FakeWindow& add(WindowHandle h, const std::wstring& caption, std::uint32_t pid = 100) {
    processes.running.insert(pid);
    FakeWindow& w = windows.add(FakeWindow{h, caption, pid});
    w.smallIcon = h + 1;
    return w;
  }
  Handles listed() {
    Handles handles;
    for (int i = 1; i <= tasks.count(); ++i) handles.push_back(tasks.hWnd(i));
    return handles;
  }

  fakes::FakeTaskWindows windows;
  fakes::FakeProcessControl processes;
  dravik::CTaskList tasks{windows, processes, true};
};

TEST_F(TaskListTest, BadSettingsAreIgnoredAndOnlyTasksAreListedInOrderFound) {
  EXPECT_EQ(tasks.hungTimeout(), 500);
  tasks.setHungTimeout(250);
  for (int bad : {0, -5}) tasks.setHungTimeout(bad);
  EXPECT_EQ(tasks.hungTimeout(), 250);
  add(0x10, L"plain");
  add(0x20, L"tool").exStyle = kToolWindow;
  add(0x30, L"hidden").visible = false;
  add(0x40, L"child").parent = 0x10;
  add(0x50, L"tool owner").exStyle = kToolWindow;
  add(0x51, L"owned by tool").owner = 0x50;
  add(0x60, L"owned by plain").owner = 0x10;
  add(0x70, L"");
  tasks.refresh();
  EXPECT_EQ(listed(), (Handles{0x51, 0x10}));  // z-order: the last added comes first
  EXPECT_EQ(tasks.caption(1), L"tool owner");  // read from its tool-window owner
  add(0x100, L"new");
  tasks.refresh();
  EXPECT_EQ(listed(), (Handles{0x51, 0x10, 0x100}));  // appended behind those found before
}

TEST_F(TaskListTest, RemovalKeepsTheRestAndOutOfRangeIsNeutral) {
  add(0x30, L"third", 303).bigIcon = 0x3B;
  add(0x20, L"second", 202);
  add(0x10, L"first", 101);
  tasks.refresh();
  windows.destroy(0x20);
  windows.window(0x10).visible = false;
  tasks.refresh();  // a hidden window still exists: only Valid drops it
  EXPECT_EQ(listed(), (Handles{0x10, 0x30}));
  EXPECT_EQ((std::vector<std::uintptr_t>{tasks.processId(2), tasks.hIcon(2)}), (std::vector<std::uintptr_t>{303, 0x3B}));
  EXPECT_FALSE(tasks.valid(0, 0x10));
  for (int index : {0, -1, 2}) {  // 2: the freed slot holds nothing stale
    EXPECT_EQ(tasks.caption(index) + std::to_wstring(tasks.hWnd(index) + tasks.hIcon(index)), L"0") << index;
    EXPECT_FALSE(tasks.valid(index) || tasks.activate(index) || tasks.terminate(index, 0, 0));
  }
  EXPECT_FALSE(tasks.valid(1, 0x20) || tasks.terminate(1, 0x20, 0));  // not listed, whatever the index
  EXPECT_EQ(listed(), (Handles{0x30}));
  EXPECT_TRUE(processes.kills.empty());
}

TEST_F(TaskListTest, IconsFallBackToTheLargeAndToTheClassIcons) {
  windows.add({.handle = 0x10, .caption = L"both", .bigIcon = 0xB1, .smallIcon = 0x51});
  windows.add({.handle = 0x20, .caption = L"large only", .bigIcon = 0xB2});
  windows.add({.handle = 0x30, .caption = L"class", .classBigIcon = 0xCB, .classSmallIcon = 0xC5});
  tasks.refresh();
  EXPECT_EQ(tasks.hIconSm(tasks.getIndex(0x10)), 0x51u);
  EXPECT_EQ(tasks.hIconSm(tasks.getIndex(0x20)), 0xB2u);
  EXPECT_EQ(tasks.hIcon(tasks.getIndex(0x30)), 0xCBu);
  EXPECT_EQ(tasks.hIconSm(tasks.getIndex(0x30)), 0xC5u);
}

TEST_F(TaskListTest, HungOrEmptiedWindowKeepsItsDataAndANewHungOneIsNotAdded) {
  add(0x10, L"before");
  add(0x30, L"named");
  tasks.refresh();
  windows.window(0x10).caption = L"after";
  windows.window(0x10).hung = true;
  windows.window(0x30).caption = L"";
  add(0x20, L"new but hung").hung = true;
  tasks.refresh();
  EXPECT_EQ(listed(), (Handles{0x30, 0x10}));
  EXPECT_EQ(tasks.caption(2) + L"," + tasks.caption(1), L"before,named");
  windows.window(0x10).hung = false;
  tasks.refresh();
  EXPECT_EQ(tasks.caption(2), L"after");
}

TEST_F(TaskListTest, TerminateClosesUnownedWindowsWaitsAndEndsByForce) {
  add(0x10, L"polite", 10);
  add(0x11, L"polite's dialog", 10).owner = 0x10;
  add(0x12, L"hidden helper of the same process", 10).visible = false;
  add(0x20, L"stubborn", 20);
  tasks.refresh();
  processes.endsOnClose.insert(10);
  windows.onClose = [&](WindowHandle h) { processes.closeRequested.insert(windows.window(h).pid); };
  EXPECT_TRUE(tasks.terminate(0, 0x10, 3000));
  EXPECT_EQ(windows.closesPosted, (Handles{0x12, 0x10}));
  EXPECT_TRUE(tasks.terminate(0, 0x20));  // no delay: one check, then by force
  using Wait = std::pair<std::uint32_t, unsigned>;
  EXPECT_EQ(processes.waits, (std::vector<Wait>{{10, 3000}, {20, 0}}));
  EXPECT_EQ(processes.kills, (std::vector<std::uint32_t>{20}));
  // A process that cannot be opened to wait on counts as ended.
  processes.running.insert(20);
  processes.unopenable.insert(20);
  EXPECT_TRUE(tasks.terminate(0, 0x20, 0));
  EXPECT_EQ(processes.kills, (std::vector<std::uint32_t>{20}));
}

TEST_F(TaskListTest, SixteenBitAndDosTasksAreNeverEnded) {
  add(0x10, L"16-bit Windows program", 10);
  add(0x20, L"DOS program", 20);
  add(0x30, L"Win32 program", 30);
  processes.wow = {10};
  processes.modules = {{10, L"ntvdm.exe"}, {20, L"NtVdm.Exe"}, {30, L"program.exe"}};
  tasks.refresh();
  EXPECT_EQ((std::vector<int>{tasks.vdm(0, 0x10), tasks.vdm(0, 0x20), tasks.vdm(0, 0x30)}),
            (std::vector<int>{1, 2, 0}));
  EXPECT_FALSE(tasks.terminate(0, 0x10, 0) || tasks.terminate(0, 0x20, 0));
  EXPECT_TRUE(windows.closesPosted.empty() && processes.kills.empty() && processes.waits.empty());
  dravik::CTaskList without16Bit(windows, processes, false);
  without16Bit.refresh();
  EXPECT_EQ(without16Bit.vdm(0, 0x10), 0);
  EXPECT_TRUE(without16Bit.terminate(0, 0x10, 0));
}

TEST_F(TaskListTest, EndTaskWarnsOnTheShellAndOnYesBringsTheTaskForwardBeforeEndingIt) {
  fakes::FakeUserInterface ui;
  dravik::MessageTexts messages;  // the English texts
  const dravik::TaskCommandParts parts{
      &tasks, &ui, &messages, [](std::uint32_t) { return std::wstring(L"c:\\windows\\Explorer.EXE"); },
      [&](bool on) { ui.events.push_back(on ? L"enable" : L"disable"); }, [&] { ui.events.push_back(L"give back"); },
      nullptr};
  windows.onClose = [&](WindowHandle) { ui.events.push_back(L"close posted"); };
  add(0x10, L"Desktop", 7).minimized = true;
  tasks.refresh();
  ui.answers = {platform::mb::kAnswerYes};
  EXPECT_TRUE(dravik::EndTask(dravik::SelectedTask{0x10, 7, L"Desktop"}, parts));
  EXPECT_EQ(ui.boxes.at(0).flags, 20u);
  EXPECT_EQ(ui.boxes[0].text, L"Warning!\r\nEnding this task may cause your Windows to crash or restart!"
                              L"\r\n\r\nAre you sure you want to end this task?");
  EXPECT_EQ(windows.calls, (std::vector<std::wstring>{L"restore", L"foreground"}));
  EXPECT_EQ(ui.events, (std::vector<std::wstring>{L"box", L"disable", L"close posted", L"enable", L"give back"}));
  EXPECT_EQ(processes.kills, (std::vector<std::uint32_t>{7}));
  for (const wchar_t* shell : {L"C:\\WINDOWS\\EXPLORER.EXE", L"d:\\Windows\\explorer.exe"}) {
    EXPECT_EQ(dravik::EndTaskConfirmation(shell, L"x", messages).flags, 20u) << shell;
  }
  for (const wchar_t* other : {L"E:\\WINDOWS\\EXPLORER.EXE", L"C:\\WINDOWS\\EXPLORER.EXE.bak", L""}) {
    EXPECT_EQ(dravik::EndTaskConfirmation(other, L"x", messages).flags, 52u) << other;
  }
}

}  // namespace
