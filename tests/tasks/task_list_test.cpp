// The task list, the Tasks list kept in place over it and the commands on its
// rows, over doubles of the window manager, the process calls and the list:
// which windows are tasks, how entries and rows are kept, how a task is ended.
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
constexpr std::uint32_t kToolWindow = 0x80;

class TaskListTest : public ::testing::Test {
 protected:
  FakeWindow& add(WindowHandle h, const std::wstring& caption, std::uint32_t pid = 100) {
    processes.running.insert(pid);
    FakeWindow& w = windows.add(FakeWindow{h, caption, pid});
    w.smallIcon = h + 1;
    return w;
  }
  std::vector<WindowHandle> listed(const dravik::CTaskList* list = nullptr) {
    if (!list) list = &tasks;
    std::vector<WindowHandle> handles;
    for (int i = 1; i <= list->count(); ++i) handles.push_back(list->hWnd(i));
    return handles;
  }
  void refresh(WindowHandle own = 0xFFFF) { dravik::RefreshTaskList(tasks, rows, file.language(), own); }

  fakes::TempLanguage file{"77=Running\r\n78=Not Responding\r\n"};
  fakes::FakeTaskWindows windows;
  fakes::FakeProcessControl processes;
  dravik::CTaskList tasks{windows, processes, true};
  fakes::FakeTaskRows rows;
};
using TaskRowsTest = TaskListTest;

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
  EXPECT_EQ(listed(&modeOne), (std::vector<WindowHandle>{0x80, 0x50, 0x20, 0x10}));
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
  EXPECT_EQ(tasks.caption(1) + L"," + tasks.caption(2), L"first,third");
  EXPECT_EQ((std::vector<std::uintptr_t>{tasks.processId(1), tasks.hIcon(1), tasks.processId(2), tasks.hIcon(2)}),
            (std::vector<std::uintptr_t>{101, 0x1B, 303, 0x3B}));
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
  // A process gone already, or one that cannot be opened to wait on, counts as ended.
  processes.running.insert(20);
  processes.unopenable.insert(20);
  EXPECT_TRUE(tasks.terminate(0, 0x10, 0) && tasks.terminate(0, 0x20, 0));
  EXPECT_EQ(processes.kills, (std::vector<std::uint32_t>{20}));
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

TEST_F(TaskRowsTest, RowsFollowTheTasksWritingOnlyWhatChanged) {
  add(0x30, L"Third");
  add(0x20, L"Second", 22);
  add(0x10, L"First", 11);
  add(0x40, L"Dravik Task Manager");  // the program's own window
  refresh(0x40);
  ASSERT_EQ(rows.rows.size(), 3u);
  const auto& first = rows.rows[0];
  EXPECT_EQ(first.key, L"h10");
  EXPECT_EQ(first.text, L"First");
  EXPECT_EQ((std::vector<std::wstring>{first.cells[2], first.cells[3], first.cells[4]}),
            (std::vector<std::wstring>{L"Running", L"&h10", L"11"}));
  EXPECT_EQ(first.tag, L"0");
  EXPECT_EQ(first.icon, L"h10");
  EXPECT_EQ(rows.images.at(L"h10"), 0x11u);

  int writes = rows.writes;
  refresh(0x40);
  EXPECT_EQ(rows.writes, writes) << "an unchanged tick wrote to the list";

  rows.selected = 0;
  windows.window(0x10).caption = L"New caption";
  refresh(0x40);
  EXPECT_EQ(rows.writes, writes + 1);
  EXPECT_EQ(rows.rows[0].text, L"New caption");
  EXPECT_EQ(rows.selected, 0);

  rows.selected = 1;
  windows.destroy(0x20);  // the selection goes with the row, not to the one moving up
  windows.window(0x30).visible = false;  // dropped through Valid
  refresh(0x40);
  ASSERT_EQ(rows.rows.size(), 1u);
  EXPECT_EQ(rows.rows[0].key, L"h10");
  EXPECT_EQ(rows.selected, -1);
}

TEST_F(TaskRowsTest, StatusTextFollowsTheProbeAndIsWrittenOnlyOnChange) {
  add(0x10, L"Sometimes busy");
  refresh();
  windows.window(0x10).hung = true;
  refresh();
  EXPECT_EQ(rows.rows[0].cells[2], L"Not Responding");
  EXPECT_EQ(rows.rows[0].tag, L"1");
  const int writes = rows.writes;
  refresh();
  EXPECT_EQ(rows.writes, writes);
  windows.window(0x10).hung = false;
  refresh();
  EXPECT_EQ(rows.rows[0].cells[2], L"Running");
  EXPECT_EQ(rows.writes, writes + 2);  // the status cell and the tag
}

TEST_F(TaskRowsTest, JunkRowsGoRefusedRowsWaitAndAReusedHandleKeepsItsPicture) {
  add(0x10, L"First").smallIcon = 0xAAA;
  rows.refuseAdds = true;
  refresh();
  EXPECT_TRUE(rows.rows.empty());
  rows.refuseAdds = false;
  rows.rows.push_back({L"junk", L"", L"", L"", {L"", L"", L"", L"not a handle", L""}});
  refresh();
  ASSERT_EQ(rows.rows.size(), 1u);
  EXPECT_EQ(rows.rows[0].key, L"h10");
  windows.destroy(0x10);
  refresh();
  add(0x10, L"Reborn").smallIcon = 0xBBB;
  refresh();
  EXPECT_EQ(rows.images.at(L"h10"), 0xAAAu);
  EXPECT_EQ(rows.rows.at(0).icon, L"h10");
}

class TaskCommandsTest : public TaskListTest {
 protected:
  TaskCommandsTest() {
    parts.tasks = &tasks;
    parts.ui = &ui;
    parts.messages = &messages;
    parts.processPath = [this](std::uint32_t pid) {
      pathsAsked.push_back(pid);
      return pid == 7 ? std::wstring(L"c:\\windows\\Explorer.EXE") : std::wstring(L"C:\\x.exe");
    };
    parts.enableMainWindow = [this](bool on) { events.push_back(on ? L"enable" : L"disable"); };
    parts.giveBackMainWindow = [this] { events.push_back(L"give back"); };
    parts.minimizeMainWindow = [this] { events.push_back(L"minimize"); };
  }
  fakes::FakeUserInterface ui;
  dravik::MessageTexts messages;
  dravik::TaskCommandParts parts;
  std::vector<std::uint32_t> pathsAsked;
  std::vector<std::wstring> events;
};

TEST_F(TaskCommandsTest, EndTaskOnYesActivatesThenEndsWithTheMainWindowOutOfUse) {
  add(0x10, L"Editor", 42).minimized = true;
  refresh();
  rows.selected = 0;
  ui.answers = {platform::mb::kAnswerYes};
  windows.onClose = [&](WindowHandle) { events.push_back(L"close posted"); };
  EXPECT_TRUE(dravik::EndTask(dravik::SelectedTaskOf(rows), parts));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].flags, 52u);
  EXPECT_EQ(ui.boxes[0].title, messages[dravik::MessageText::Task] + L": Editor");
  EXPECT_EQ(events,
            (std::vector<std::wstring>{L"disable", L"close posted", L"enable", L"give back"}));
  EXPECT_EQ(windows.calls, (std::vector<std::wstring>{L"restore", L"foreground"}));
  EXPECT_EQ(processes.kills, (std::vector<std::uint32_t>{42}));
  EXPECT_EQ(processes.waits.at(0).second, 3000u);
  EXPECT_EQ(pathsAsked, (std::vector<std::uint32_t>{42}));
}

TEST_F(TaskCommandsTest, NoNothingSelectedOrPidZeroEndNothing) {
  add(0x10, L"Desktop", 7);
  refresh();
  EXPECT_FALSE(dravik::EndTask(dravik::SelectedTaskOf(rows), parts));
  dravik::ShowTaskWindow(dravik::SelectedTaskOf(rows), parts);
  EXPECT_TRUE(ui.boxes.empty());
  rows.selected = 0;
  ui.answers = {platform::mb::kAnswerNo, platform::mb::kAnswerYes};
  EXPECT_FALSE(dravik::EndTask(dravik::SelectedTaskOf(rows), parts));
  EXPECT_EQ(ui.boxes.at(0).flags, 20u);  // the shell's warning, whatever the letter case
  EXPECT_EQ(ui.boxes[0].text, messages[dravik::MessageText::Warning] + L"\r\n" +
                                  messages[dravik::MessageText::Ending] + L"\r\n\r\n" +
                                  messages[dravik::MessageText::AreYouSureTask]);
  for (const wchar_t* other : {L"E:\\WINDOWS\\EXPLORER.EXE", L"C:\\WINDOWS\\EXPLORER.EXE.bak"}) {
    EXPECT_EQ(dravik::EndTaskConfirmation(other, L"Editor", messages).flags, 52u) << other;
  }
  EXPECT_EQ(dravik::EndTaskConfirmation(L"D:\\Windows\\Explorer.exe", L"x", messages).flags, 20u);
  EXPECT_FALSE(dravik::EndTask(dravik::SelectedTask{0, 0, L"odd row"}, parts));
  EXPECT_EQ(pathsAsked, (std::vector<std::uint32_t>{7}));  // pid 0 is not looked up
  EXPECT_TRUE(events.empty() && windows.calls.empty() && windows.closesPosted.empty());
  EXPECT_TRUE(processes.kills.empty());
}

TEST_F(TaskCommandsTest, EndTaskOnASixteenBitTaskOnlyActivatesIt) {
  // A double: the 16-bit subsystem exists on no system the tests run on.
  // (Show Window itself is proved on real windows under Wine.)
  add(0x10, L"Old program", 16).minimized = true;
  processes.wow = {16};
  refresh();
  rows.selected = 0;
  ui.answers = {platform::mb::kAnswerYes};
  EXPECT_TRUE(dravik::EndTask(dravik::SelectedTaskOf(rows), parts));
  EXPECT_EQ(windows.calls, (std::vector<std::wstring>{L"restore", L"foreground"}));
  EXPECT_EQ(windows.foregroundWindow, 0x10u);
  EXPECT_TRUE(windows.closesPosted.empty() && processes.kills.empty());
}

}  // namespace
