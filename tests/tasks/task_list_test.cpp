// The task list and End Task over doubles of the window manager and the
// process calls, for what Wine cannot show: tool-window owners, class icons,
// 16-bit tasks, unopenable processes and the shell's warning. Real windows,
// a hung one and End Task are in win/tasks_tab_test.cpp.
#include "tasks/task_list.h"

#include <gtest/gtest.h>

#include "doubles/fake_processes.h"
#include "doubles/fake_tasks.h"
#include "tasks/task_rows.h"

namespace {

using dravik::WindowHandle;
using fakes::FakeWindow;
using Handles = std::vector<WindowHandle>;
constexpr std::uint32_t kToolWindow = 0x80;

class TaskListTest : public ::testing::Test {
 protected:
  FakeWindow& add(WindowHandle h, const std::wstring& caption, std::uint32_t pid = 100) {
    processes.running.insert(pid);
    return windows.add(FakeWindow{h, caption, pid});
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

TEST_F(TaskListTest, OnlyTasksAreListedInOrderFoundAndBadPositionsAreNeutral) {
  for (int bad : {0, -5}) tasks.setHungTimeout(bad);
  EXPECT_EQ(tasks.hungTimeout(), 500);
  add(0x10, L"plain");
  add(0x20, L"tool").exStyle = kToolWindow;
  add(0x30, L"hidden").visible = false;
  add(0x40, L"child").parent = 0x10;
  add(0x50, L"tool owner").exStyle = kToolWindow;
  add(0x51, L"owned by tool").owner = 0x50;
  add(0x60, L"owned by plain").owner = 0x10;
  add(0x70, L"");
  add(0x80, L"class icons").classSmallIcon = 0xC5;
  tasks.refresh();
  EXPECT_EQ(listed(), (Handles{0x80, 0x51, 0x10}));  // z-order: the last added comes first
  EXPECT_EQ(tasks.caption(2), L"tool owner");        // read from its tool-window owner
  EXPECT_EQ(tasks.hIconSm(1), 0xC5u);
  add(0x100, L"new");
  add(0x110, L"new but hung").hung = true;
  windows.destroy(0x51);
  tasks.refresh();
  EXPECT_EQ(listed(), (Handles{0x80, 0x10, 0x100}));  // appended behind those found before
  windows.destroy(0x100);
  tasks.refresh();
  for (int index : {0, -1, 3}) {  // 3: the freed slot holds nothing stale
    EXPECT_EQ(tasks.caption(index) + std::to_wstring(tasks.hWnd(index) + tasks.hIcon(index)), L"0") << index;
    EXPECT_FALSE(tasks.valid(index) || tasks.activate(index) || tasks.terminate(index, 0, 0));
  }
  EXPECT_FALSE(tasks.terminate(1, 0x51, 0));  // not listed, whatever the index
  EXPECT_TRUE(processes.kills.empty());
}

TEST_F(TaskListTest, EndingClosesHiddenWindowsSparesSixteenBitTasksCountsUnopenableAsEndedAndWarnsOnTheShell) {
  add(0x10, L"polite", 10);
  add(0x12, L"hidden helper of the same process", 10).visible = false;
  add(0x20, L"16-bit Windows program", 20);
  add(0x30, L"DOS program", 30);
  add(0x40, L"unopenable", 40);
  processes.wow = {20};
  processes.modules = {{20, L"ntvdm.exe"}, {30, L"NtVdm.Exe"}};
  processes.unopenable.insert(40);
  tasks.refresh();
  EXPECT_TRUE(tasks.terminate(0, 0x10, 0));  // no delay: one check, then by force
  EXPECT_EQ((std::vector<int>{tasks.vdm(0, 0x20), tasks.vdm(0, 0x30), tasks.vdm(0, 0x40)}), (std::vector<int>{1, 2, 0}));
  EXPECT_FALSE(tasks.terminate(0, 0x20, 0) || tasks.terminate(0, 0x30, 0));
  EXPECT_EQ(windows.closesPosted, (Handles{0x12, 0x10}));
  EXPECT_TRUE(tasks.terminate(0, 0x40, 0));
  EXPECT_EQ(processes.kills, (std::vector<std::uint32_t>{10}));

  // The shell gets the stronger warning.
  const dravik::MessageTexts messages;  // the English texts
  const dravik::Confirmation shell = dravik::EndTaskConfirmation(L"c:\\windows\\Explorer.EXE", L"Desktop", messages);
  EXPECT_EQ(shell.text, L"Warning!\r\nEnding this task may cause your Windows to crash or restart!"
                        L"\r\n\r\nAre you sure you want to end this task?");
  for (const wchar_t* path : {L"c:\\windows\\Explorer.EXE", L"d:\\Windows\\explorer.exe"}) {
    EXPECT_EQ(dravik::EndTaskConfirmation(path, L"x", messages).flags, 20u) << path;
  }
  for (const wchar_t* path : {L"E:\\WINDOWS\\EXPLORER.EXE", L"C:\\WINDOWS\\EXPLORER.EXE.bak", L""}) {
    EXPECT_EQ(dravik::EndTaskConfirmation(path, L"x", messages).flags, 52u) << path;
  }
}

}  // namespace
