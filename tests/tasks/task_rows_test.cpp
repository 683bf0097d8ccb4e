// The Tasks list kept in place over the task list, and the two commands on
// its rows, with doubles of the window manager and of the list.
#include "tasks/task_rows.h"

#include <gtest/gtest.h>

#include "doubles/fake_processes.h"
#include "doubles/fake_system.h"
#include "doubles/fake_tasks.h"

namespace {

using dravik::WindowHandle;

class TaskRowsTest : public ::testing::Test {
 protected:
  TaskRowsTest() { tasks.setHungTimeout(250); }
  fakes::FakeWindow& add(WindowHandle h, const std::wstring& caption, std::uint32_t pid = 100) {
    processes.running.insert(pid);
    fakes::FakeWindow& w = windows.add(fakes::FakeWindow{h, caption, pid});
    w.smallIcon = h + 1;
    return w;
  }
  void refresh(WindowHandle own = 0xFFFF) {
    dravik::RefreshTaskList(tasks, rows, file.language(), own);
  }

  fakes::TempLanguage file{"77=Running\r\n78=Not Responding\r\n"};
  fakes::FakeTaskWindows windows;
  fakes::FakeProcessControl processes;
  dravik::CTaskList tasks{windows, processes, true};
  fakes::FakeTaskRows rows;
};

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

class TaskCommandsTest : public TaskRowsTest {
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

TEST_F(TaskCommandsTest, ShowWindowActivatesAndEndTaskOnASixteenBitTaskOnlyActivates) {
  // A double: the 16-bit subsystem exists on no system the tests run on.
  add(0x10, L"Old program", 16).minimized = true;
  processes.wow = {16};
  refresh();
  rows.selected = 0;
  dravik::ShowTaskWindow(dravik::SelectedTaskOf(rows), parts);
  EXPECT_EQ(windows.foregroundWindow, 0x10u);
  EXPECT_FALSE(windows.window(0x10).minimized);
  EXPECT_EQ(events, (std::vector<std::wstring>{L"minimize"}));
  ui.answers = {platform::mb::kAnswerYes};
  EXPECT_TRUE(dravik::EndTask(dravik::SelectedTaskOf(rows), parts));
  EXPECT_EQ(windows.calls.back(), L"foreground");  // brought to the front again
  EXPECT_EQ(windows.calls.size(), 3u);
  EXPECT_TRUE(windows.closesPosted.empty() && processes.kills.empty());
}

}  // namespace
