// The Tasks list kept in place over the task list, and the two commands on
// its rows, with doubles of the window manager and of the list.
#include "tasks/task_rows.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "doubles/fake_profile_files.h"
#include "doubles/fake_system.h"
#include "doubles/fake_tasks.h"

namespace {

using dravik::WindowHandle;

class TaskRowsTest : public ::testing::Test {
 protected:
  TaskRowsTest() {
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "t.lng", std::ios::binary)
        << "[Main]\r\n77=Running\r\n78=Not Responding\r\n";
    tasks.setHungTimeout(250);
  }
  ~TaskRowsTest() override { std::filesystem::remove_all(dir_); }

  fakes::FakeWindow& add(WindowHandle h, const std::wstring& caption, std::uint32_t pid = 100) {
    fakes::FakeWindow w;
    w.handle = h;
    w.caption = caption;
    w.pid = pid;
    w.smallIcon = h + 1;
    processes.running.insert(pid);
    return windows.add(w);
  }
  void refresh(WindowHandle own = 0xFFFF) { dravik::RefreshTaskList(tasks, rows, language, own); }

  std::filesystem::path dir_ =
      std::filesystem::temp_directory_path() /
      ("dravik-taskrows-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
  fakes::FakeProfileFiles profiles;
  dravik::Language language{profiles, fakes::WidePath((dir_ / "t.lng").string())};
  fakes::FakeTaskWindows windows;
  fakes::FakeProcessControl processes;
  dravik::CTaskList tasks{windows, processes, true};
  fakes::FakeTaskRows rows;
};

TEST(TaskRowCells, KeysAndCellsRoundTrip) {
  EXPECT_EQ(dravik::TaskRowKey(0x1A2B), L"h1A2B");
  EXPECT_EQ(dravik::HandleHex(0), L"0");
  EXPECT_EQ(dravik::HandleHex(0x00F0), L"F0");
  EXPECT_EQ(dravik::WindowFromHandleCell(L"&h1A2B"), 0x1A2Bu);
  EXPECT_EQ(dravik::WindowFromHandleCell(L"&hffff"), 0xFFFFu);
  for (const wchar_t* bad : {L"", L"&h", L"h1A2B", L"&hXYZ", L"1A2B", L"&h123456789ABCDEF01"}) {
    EXPECT_EQ(dravik::WindowFromHandleCell(bad), 0u) << bad;
  }
  EXPECT_EQ(dravik::ProcessIdFromCell(L"4321"), 4321u);
  EXPECT_EQ(dravik::ProcessIdFromCell(L"4294967295"), 4294967295u);
  for (const wchar_t* bad : {L"", L"-1", L"12a", L"4294967296", L"99999999999"}) {
    EXPECT_EQ(dravik::ProcessIdFromCell(bad), 0u) << bad;
  }
}

TEST_F(TaskRowsTest, NewTasksGetAllTheirCellsOnce) {
  add(0x20, L"Second", 22);
  add(0x10, L"First", 11);
  refresh();
  ASSERT_EQ(rows.rows.size(), 2u);
  const auto& first = rows.rows[0];
  EXPECT_EQ(first.key, L"h10");
  EXPECT_EQ(first.text, L"First");
  EXPECT_EQ(first.cells[2], L"Running");
  EXPECT_EQ(first.cells[3], L"&h10");
  EXPECT_EQ(first.cells[4], L"11");
  EXPECT_EQ(first.tag, L"0");
  EXPECT_EQ(first.icon, L"h10");
  EXPECT_EQ(rows.images.at(L"h10"), 0x11u);
  EXPECT_EQ(rows.rows[1].key, L"h20");
}

TEST_F(TaskRowsTest, ATickInWhichNothingChangedWritesNothing) {
  add(0x10, L"First");
  add(0x20, L"Second");
  refresh();
  const int writes = rows.writes;
  refresh();
  refresh();
  EXPECT_EQ(rows.writes, writes);
}

TEST_F(TaskRowsTest, ACaptionChangeRewritesOnlyTheText) {
  add(0x10, L"Old caption");
  refresh();
  rows.selected = 0;
  const auto before = rows.rows[0];
  const int writes = rows.writes;
  windows.window(0x10).caption = L"New caption";
  refresh();
  EXPECT_EQ(rows.writes, writes + 1);
  EXPECT_EQ(rows.rows[0].text, L"New caption");
  EXPECT_EQ(rows.rows[0].icon, before.icon);
  EXPECT_EQ(rows.rows[0].cells[2], before.cells[2]);
  EXPECT_EQ(rows.selected, 0);
}

TEST_F(TaskRowsTest, StatusTextFollowsTheProbeAndIsWrittenOnlyOnChange) {
  add(0x10, L"Sometimes busy");
  refresh();
  windows.window(0x10).hung = true;
  refresh();
  EXPECT_EQ(rows.rows[0].cells[2], L"Not Responding");
  EXPECT_EQ(rows.rows[0].tag, L"1");
  EXPECT_EQ(rows.rows[0].text, L"Sometimes busy");  // the hung window kept its data
  const int writes = rows.writes;
  refresh();
  EXPECT_EQ(rows.writes, writes);
  windows.window(0x10).hung = false;
  refresh();
  EXPECT_EQ(rows.rows[0].cells[2], L"Running");
  EXPECT_EQ(rows.writes, writes + 2);  // the status cell and the tag
}

TEST_F(TaskRowsTest, ClosedSelectedTaskLosesItsRowAndTheSelection) {
  add(0x30, L"Third");
  add(0x20, L"Second");
  add(0x10, L"First");
  refresh();
  rows.selected = 1;
  windows.destroy(0x20);
  refresh();
  ASSERT_EQ(rows.rows.size(), 2u);
  EXPECT_EQ(rows.rows[0].key, L"h10");
  EXPECT_EQ(rows.rows[1].key, L"h30");
  // Not handed on to the row that moved into its place.
  EXPECT_EQ(rows.selected, -1);
}

TEST_F(TaskRowsTest, HiddenTaskLosesItsRowThroughValid) {
  add(0x10, L"First");
  add(0x20, L"Second");
  refresh();
  rows.selected = 0;
  windows.window(0x10).visible = false;
  refresh();
  ASSERT_EQ(rows.rows.size(), 1u);
  EXPECT_EQ(rows.rows[0].key, L"h20");
  EXPECT_EQ(rows.selected, 0);  // a row that stays keeps its selection
}

TEST_F(TaskRowsTest, RowWithAnUnreadableHandleCellIsDropped) {
  add(0x10, L"First");
  refresh();
  fakes::FakeTaskRows::Row junk;
  junk.key = L"junk";
  junk.cells[3] = L"not a handle";
  rows.rows.push_back(junk);
  refresh();
  ASSERT_EQ(rows.rows.size(), 1u);
  EXPECT_EQ(rows.rows[0].key, L"h10");
}

TEST_F(TaskRowsTest, TheProgramsOwnWindowIsNeverListed) {
  add(0x10, L"Dravik Task Manager");
  add(0x20, L"Editor");
  refresh(0x10);
  ASSERT_EQ(rows.rows.size(), 1u);
  EXPECT_EQ(rows.rows[0].key, L"h20");
}

TEST_F(TaskRowsTest, ReusedHandleKeepsTheStoredPicture) {
  add(0x10, L"First").smallIcon = 0xAAA;
  refresh();
  windows.destroy(0x10);
  refresh();
  EXPECT_TRUE(rows.rows.empty());
  add(0x10, L"Reborn").smallIcon = 0xBBB;
  refresh();
  ASSERT_EQ(rows.rows.size(), 1u);
  EXPECT_EQ(rows.images.at(L"h10"), 0xAAAu);
  EXPECT_EQ(rows.rows[0].icon, L"h10");
}

TEST_F(TaskRowsTest, ARowThatCannotBeAddedIsSkipped) {
  add(0x10, L"First");
  rows.refuseAdds = true;
  refresh();
  EXPECT_TRUE(rows.rows.empty());
  rows.refuseAdds = false;
  refresh();
  EXPECT_EQ(rows.rows.size(), 1u);
}

TEST(EndTaskConfirmation, ShellPathsGetTheWarningInAnyLetterCase) {
  dravik::MessageTexts texts;
  for (const wchar_t* shell :
       {L"C:\\WINDOWS\\EXPLORER.EXE", L"c:\\windows\\explorer.exe", L"D:\\Windows\\Explorer.exe"}) {
    const auto c = dravik::EndTaskConfirmation(shell, L"Desktop", texts);
    EXPECT_EQ(c.flags, 20u) << shell;
    EXPECT_EQ(c.text, texts[dravik::MessageText::Warning] + L"\r\n" +
                          texts[dravik::MessageText::Ending] + L"\r\n\r\n" +
                          texts[dravik::MessageText::AreYouSureTask]);
    EXPECT_EQ(c.title, texts[dravik::MessageText::Task] + L": Desktop");
  }
  for (const wchar_t* other : {L"", L"E:\\WINDOWS\\EXPLORER.EXE", L"C:\\WINDOWS\\notepad.exe",
                               L"C:\\WINDOWS\\EXPLORER.EXE.bak"}) {
    const auto c = dravik::EndTaskConfirmation(other, L"Editor", texts);
    EXPECT_EQ(c.flags, 52u) << other;
    EXPECT_EQ(c.text, texts[dravik::MessageText::AreYouSureTask]);
  }
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

TEST_F(TaskCommandsTest, AnsweringNoLeavesTheTaskAlone) {
  add(0x10, L"Desktop", 7);
  refresh();
  rows.selected = 0;
  ui.answers = {platform::mb::kAnswerNo};
  EXPECT_FALSE(dravik::EndTask(dravik::SelectedTaskOf(rows), parts));
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].flags, 20u);  // the shell's warning
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(windows.calls.empty());
  EXPECT_TRUE(windows.closesPosted.empty());
  EXPECT_TRUE(processes.kills.empty());
}

TEST_F(TaskCommandsTest, NothingSelectedMeansNoQuestionAndNoAction) {
  add(0x10, L"Editor");
  refresh();
  EXPECT_FALSE(dravik::EndTask(dravik::SelectedTaskOf(rows), parts));
  dravik::ShowTaskWindow(dravik::SelectedTaskOf(rows), parts);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_TRUE(events.empty());
}

TEST_F(TaskCommandsTest, ProcessIdZeroIsNotLookedUp) {
  ui.answers = {platform::mb::kAnswerYes};
  EXPECT_FALSE(dravik::EndTask(dravik::SelectedTask{0, 0, L"odd row"}, parts));
  EXPECT_TRUE(pathsAsked.empty());
  EXPECT_EQ(ui.boxes.at(0).flags, 52u);
  EXPECT_TRUE(events.empty());  // a row without a window: asked, but nothing to end
}

TEST_F(TaskCommandsTest, EndTaskOnASixteenBitTaskActivatesButDoesNotEnd) {
  // A double: the 16-bit subsystem exists on no system the tests run on.
  add(0x10, L"Old program", 16);
  processes.wow = {16};
  refresh();
  rows.selected = 0;
  ui.answers = {platform::mb::kAnswerYes};
  EXPECT_TRUE(dravik::EndTask(dravik::SelectedTaskOf(rows), parts));
  EXPECT_EQ(windows.foregroundWindow, 0x10u);
  EXPECT_TRUE(windows.closesPosted.empty());
  EXPECT_TRUE(processes.kills.empty());
}

TEST_F(TaskCommandsTest, ShowWindowActivatesAndMinimizesTheMainWindow) {
  add(0x10, L"Editor").minimized = true;
  refresh();
  rows.selected = 0;
  dravik::ShowTaskWindow(dravik::SelectedTaskOf(rows), parts);
  EXPECT_EQ(windows.foregroundWindow, 0x10u);
  EXPECT_FALSE(windows.window(0x10).minimized);
  EXPECT_EQ(events, (std::vector<std::wstring>{L"minimize"}));
}

}  // namespace
