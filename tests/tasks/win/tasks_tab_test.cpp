// The Tasks tab and the status bar under Wine, against the windows of a
// helper program. The main window is stood in for by a window of this test
// with a report list and a status bar of its own.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "app/win/refresh_timer.h"
#include "doubles/fake_system.h"
#include "platform/win32/win32_performance.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_process_control.h"
#include "platform/win32/win32_task_windows.h"
#include "processes/memory_status.h"
#include "processes/process_path.h"
#include "support/win/test_support.h"
#include "tasks/win/tasks_tab.h"

namespace {

constexpr UINT kHelperStall = WM_APP + 1;
constexpr UINT kHelperOpen = WM_APP + 2;
constexpr UINT kHelperDestroy = WM_APP + 3;

std::wstring TempPath(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  ::GetTempPathW(MAX_PATH, dir);
  return std::wstring(dir) + name;
}

std::wstring HelperPath() { return testsupport::TestDir() + L"\\task_windows_helper.exe"; }

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Waits for the helper's windows, pumping our own window's messages meanwhile.
std::vector<HWND> HelperWindows(const testsupport::ChildProcess& helper, std::size_t count) {
  std::vector<HWND> found;
  testsupport::WaitFor([&] {
    Pump();
    found.clear();
    for (HWND w : testsupport::WindowsOf(helper.pid(), L"DravikTaskHelper")) {
      if (::IsWindowVisible(w)) found.push_back(w);
    }
    return found.size() == count;
  });
  return found;
}

class TasksTabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(languageFile_.c_str(), std::ios::binary)
        << "[Main]\r\n37=Task\r\n68=CPU Usage\r\n70=Mem Usage\r\n72=Available\r\n74=Tasks\r\n"
           "77=Running\r\n78=Not Responding\r\n79=Really end it?\r\n";
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&init);
    main_ =
        ::CreateWindowExW(0, L"STATIC", L"Dravik Task Manager", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                          500, 300, 420, 300, nullptr, nullptr, nullptr, nullptr);
    list_ = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 400,
                              220, main_, nullptr, nullptr, nullptr);
    status_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, main_,
                                nullptr, nullptr, nullptr);
    ASSERT_TRUE(main_ && list_ && status_) << "no window could be created: is there a display?";
    int edges[] = {100, 200, 300, -1};
    ::SendMessageW(status_, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));
    const wchar_t* headers[] = {L"Task", L"Status", L"hWnd", L"PID"};
    for (int i = 0; i < 4; ++i) {
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.pszText = const_cast<wchar_t*>(headers[i]);
      column.cx = i == 2 ? 0 : 100;
      ::SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    context_.instance = ::GetModuleHandleW(nullptr);
    context_.mainWindow = main_;
    context_.language = &language_;
    context_.messages = &messages_;
    context_.ui = &ui_;
    context_.setStatusPanel = [this](int panel, const std::wstring& text) {
      ::SendMessageW(status_, SB_SETTEXTW, panel - 1, reinterpret_cast<LPARAM>(text.c_str()));
    };
    context_.selectedTab = [this] { return tab_; };
    context_.enableMainWindow = [this](bool on) {
      enables_.push_back(on);
      ::EnableWindow(main_, on);
    };
    context_.showPopupMenu = [this](dravik::Tab tab, POINT) { popups_.push_back(tab); };
    tab = std::make_unique<dravik::TasksTab>(
        context_, list_, [this](std::uint32_t pid) { return paths_.GetProcessPath(pid); });
    paths_.LoadDeviceMap();
  }
  void TearDown() override {
    tab.reset();
    if (main_) ::DestroyWindow(main_);
    ::DeleteFileW(languageFile_.c_str());
  }

  int rowOf(HWND window) {
    return tab->rows().findRow(dravik::TaskRowKey(platform::win32::FromHwnd(window)));
  }
  std::wstring cell(HWND window, int column) {
    const int row = rowOf(window);
    return row < 0 ? L"<no row>" : tab->rows().subItem(row, column);
  }
  std::wstring panel(int number) {
    wchar_t text[256] = L"";
    ::SendMessageW(status_, SB_GETTEXTW, number - 1, reinterpret_cast<LPARAM>(text));
    return text;
  }
  void select(int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  }

  std::wstring languageFile_ = TempPath(L"dravik-tasks-tab.lng");
  platform::win32::Win32ProfileFiles profiles_;
  dravik::Language language_{profiles_, languageFile_};
  dravik::MessageTexts messages_;
  fakes::FakeUserInterface ui_;
  platform::win32::Win32ProcessControl processControl_;
  dravik::ProcessPaths paths_{processControl_};
  HWND main_ = nullptr, list_ = nullptr, status_ = nullptr;
  dravik::AppContext context_;
  dravik::Tab tab_ = dravik::Tab::Tasks;
  std::vector<bool> enables_;
  std::vector<dravik::Tab> popups_;
  std::unique_ptr<dravik::TasksTab> tab;
};

TEST_F(TasksTabTest, WindowsComeAndGoWithinATickAndTheMainWindowIsNeverListed) {
  testsupport::ChildProcess helper = testsupport::Start(HelperPath(), L"Comings 3");
  ASSERT_TRUE(helper.running()) << "helper did not start";
  std::vector<HWND> windows = HelperWindows(helper, 3);
  ASSERT_EQ(windows.size(), 3u);
  tab->refresh();
  for (HWND w : windows) {
    ASSERT_GE(rowOf(w), 0);
    EXPECT_EQ(cell(w, 2), L"Running");
    EXPECT_EQ(cell(w, 3), L"&h" + dravik::HandleHex(platform::win32::FromHwnd(w)));
    EXPECT_EQ(cell(w, 4), std::to_wstring(helper.pid()));
    EXPECT_EQ(tab->rows().text(rowOf(w)), testsupport::WindowText(w));
  }
  EXPECT_LT(rowOf(main_), 0);

  ::SendMessageW(windows[1], kHelperDestroy, 0, 0);
  ::SendMessageW(windows[0], kHelperOpen, 0, 0);
  tab->refresh();
  EXPECT_LT(rowOf(windows[1]), 0);
  std::vector<HWND> now = HelperWindows(helper, 3);
  for (HWND w : now) EXPECT_GE(rowOf(w), 0) << testsupport::WindowText(w);
  // Our stand-in main window is a task to the model, but gets no row.
  EXPECT_NE(tab->tasks().getIndex(platform::win32::FromHwnd(main_)), 0);
  EXPECT_EQ(tab->rowCount(), tab->tasks().count() - 1);
}

TEST_F(TasksTabTest, ACaptionChangeRewritesOnlyTheTextAndKeepsTheSelection) {
  testsupport::ChildProcess helper = testsupport::Start(HelperPath(), L"Captions 2");
  std::vector<HWND> windows = HelperWindows(helper, 2);
  ASSERT_EQ(windows.size(), 2u);
  tab->refresh();
  const int row = rowOf(windows[0]);
  ASSERT_GE(row, 0);
  select(row);
  LVITEMW before{};
  before.mask = LVIF_IMAGE;
  before.iItem = row;
  ::SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&before));
  tab->refresh();
  const long quiet = tab->rows().writes();
  tab->refresh();
  EXPECT_EQ(tab->rows().writes(), quiet) << "an unchanged tick wrote to the list";

  ::SendMessageW(windows[0], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Renamed window"));
  tab->refresh();
  EXPECT_EQ(tab->rows().writes(), quiet + 1);
  EXPECT_EQ(tab->rows().text(row), L"Renamed window");
  EXPECT_EQ(tab->rows().selectedRow(), row);
  LVITEMW after{};
  after.mask = LVIF_IMAGE;
  after.iItem = row;
  ::SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&after));
  EXPECT_EQ(after.iImage, before.iImage);
}

TEST_F(TasksTabTest, OtherProcessesIconsAreMissingSoTheStockIconIsShown) {
  // Wine hands out no icon of another process's window; the row must still
  // get a picture, the stock one, rather than the blank "null" picture.
  testsupport::ChildProcess helper = testsupport::Start(HelperPath(), L"Icons 1");
  std::vector<HWND> windows = HelperWindows(helper, 1);
  ASSERT_EQ(windows.size(), 1u);
  tab->refresh();
  const int row = rowOf(windows[0]);
  ASSERT_GE(row, 0);
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  ::SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.iImage,
            tab->rows().imageIndex(dravik::TaskRowKey(platform::win32::FromHwnd(windows[0]))));
  EXPECT_GT(item.iImage, 0);
  EXPECT_EQ(tab->rows().imageIndex(L"null"), 0);
  const int index = tab->tasks().getIndex(platform::win32::FromHwnd(windows[0]));
  EXPECT_EQ(tab->tasks().hIconSm(index),
            reinterpret_cast<platform::IconHandle>(::LoadIconW(nullptr, IDI_WINLOGO)));
}

TEST_F(TasksTabTest, AStalledWindowShowsNotRespondingAndRunningAgainWithoutBlockingLong) {
  testsupport::ChildProcess helper = testsupport::Start(HelperPath(), L"Stalls 1");
  std::vector<HWND> windows = HelperWindows(helper, 1);
  ASSERT_EQ(windows.size(), 1u);
  tab->refresh();
  ASSERT_EQ(cell(windows[0], 2), L"Running");
  ::PostMessageW(windows[0], kHelperStall, 2500, 0);
  ::Sleep(100);
  const auto start = std::chrono::steady_clock::now();
  tab->refresh();
  const auto blocked = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(cell(windows[0], 2), L"Not Responding");
  EXPECT_EQ(tab->rows().text(rowOf(windows[0])), L"Stalls 1");  // kept while it stalls
  // Two timed messages reach the stalled window (its caption length and the
  // probe); each may take the time-out, nothing more.
  EXPECT_LT(blocked, std::chrono::milliseconds(2 * dravik::TasksTab::kHungTimeoutMs + 400));
  ASSERT_TRUE(testsupport::WaitFor(
      [&] {
        tab->refresh();
        return cell(windows[0], 2) == L"Running";
      },
      std::chrono::seconds(8)));
}

TEST_F(TasksTabTest, EndTaskEndsAHelperThatClosesOnRequest) {
  testsupport::ChildProcess helper = testsupport::Start(HelperPath(), L"Polite 2");
  std::vector<HWND> windows = HelperWindows(helper, 2);
  ASSERT_EQ(windows.size(), 2u);
  tab->refresh();
  select(rowOf(windows[0]));
  const std::wstring caption = testsupport::WindowText(windows[0]);
  ui_.answers = {platform::mb::kAnswerYes};
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(tab->command(dravik::Command::EndTask));
  EXPECT_TRUE(helper.waitForExit(1000));
  EXPECT_EQ(helper.exitCode(), 0u) << "ended by force instead of closing";
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2900));
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].flags, 52u);
  EXPECT_EQ(ui_.boxes[0].title, L"Task: " + caption);
  EXPECT_EQ(enables_, (std::vector<bool>{false, true}));
  EXPECT_TRUE(::IsWindowEnabled(main_));
  tab->refresh();
  EXPECT_EQ(tab->rows().selectedRow(), -1);
  EXPECT_LT(rowOf(windows[0]), 0);
}

TEST_F(TasksTabTest, EndTaskEndsAHelperThatIgnoresCloseByForceAfterTheDelay) {
  testsupport::ChildProcess helper = testsupport::Start(HelperPath(), L"Stubborn 1 ignoreclose");
  std::vector<HWND> windows = HelperWindows(helper, 1);
  ASSERT_EQ(windows.size(), 1u);
  tab->refresh();
  select(rowOf(windows[0]));
  ui_.answers = {platform::mb::kAnswerYes};
  const auto start = std::chrono::steady_clock::now();
  tab->command(dravik::Command::EndTask);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(helper.waitForExit(1000));
  EXPECT_GE(took, std::chrono::milliseconds(2900));
  EXPECT_TRUE(::IsWindowEnabled(main_));
}

TEST_F(TasksTabTest, AnsweringNoLeavesTheTaskRunning) {
  testsupport::ChildProcess helper = testsupport::Start(HelperPath(), L"Spared 1");
  std::vector<HWND> windows = HelperWindows(helper, 1);
  ASSERT_EQ(windows.size(), 1u);
  tab->refresh();
  select(rowOf(windows[0]));
  ui_.answers = {platform::mb::kAnswerNo};
  tab->command(dravik::Command::EndTask);
  EXPECT_FALSE(helper.waitForExit(500));
  EXPECT_TRUE(::IsWindow(windows[0]));
  EXPECT_EQ(ui_.boxes.size(), 1u);
  EXPECT_TRUE(enables_.empty());
}

TEST_F(TasksTabTest, ShowWindowBringsTheTaskToTheFront) {
  testsupport::ChildProcess helper = testsupport::Start(HelperPath(), L"Shown 1");
  std::vector<HWND> windows = HelperWindows(helper, 1);
  ASSERT_EQ(windows.size(), 1u);
  ::ShowWindow(windows[0], SW_MINIMIZE);
  tab->refresh();
  select(rowOf(windows[0]));
  tab->command(dravik::Command::ShowWindow);
  EXPECT_TRUE(testsupport::WaitFor([&] {
    Pump();
    return !::IsIconic(windows[0]);
  }));
  EXPECT_EQ(::GetForegroundWindow(), windows[0]);
  EXPECT_TRUE(::IsIconic(main_));
}

TEST_F(TasksTabTest, RightClickShowsTheMenuOnlyOverRows) {
  NMHDR click{list_, 0, static_cast<UINT>(NM_RCLICK)};
  LRESULT result = 1;
  EXPECT_TRUE(tab->listNotify(click, result));
  EXPECT_TRUE(popups_.empty());
  testsupport::ChildProcess helper = testsupport::Start(HelperPath(), L"Menu 1");
  ASSERT_EQ(HelperWindows(helper, 1).size(), 1u);
  tab->refresh();
  tab->listNotify(click, result);
  EXPECT_EQ(popups_, (std::vector<dravik::Tab>{dravik::Tab::Tasks}));
}

TEST_F(TasksTabTest, TheTickWritesTheStatusBar) {
  testsupport::ChildProcess helper = testsupport::Start(HelperPath(), L"Counted 2");
  const std::vector<HWND> counted = HelperWindows(helper, 2);
  ASSERT_EQ(counted.size(), 2u);
  dravik::RefreshTimer timer(context_, *tab);
  timer.openProcessorCounter();
  timer.tick();
  const int rows = tab->rowCount();
  EXPECT_GE(rows, 2);
  EXPECT_EQ(panel(1), L"(" + std::to_wstring(rows) + L") Tasks");
  // Wine has no counter for the first processor: the panel keeps its text.
  EXPECT_EQ(panel(2), L"");

  platform::win32::Win32MemoryInfo memory;
  const dravik::CMemoryStatus now(memory);
  ASSERT_GT(now.total(0).value_or(0), 0u);
  const std::wstring used = panel(3);
  EXPECT_EQ(used.front(), L'(');
  EXPECT_NE(used.find(L"%) Mem Usage"), std::wstring::npos) << used;
  const std::wstring available = panel(4);
  EXPECT_NE(available.find(L") Available"), std::wstring::npos) << available;
  EXPECT_TRUE(available.find(L" GB)") != std::wstring::npos ||
              available.find(L" MB)") != std::wstring::npos)
      << available;

  // On another tab, and with the window hidden, the list still follows the
  // tasks, but panel 1 belongs to that tab.
  tab_ = dravik::Tab::Services;
  ::ShowWindow(main_, SW_HIDE);
  ::SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"(23) Services"));
  ::SendMessageW(counted[0], kHelperOpen, 0, 0);
  timer.tick();
  EXPECT_EQ(panel(1), L"(23) Services");
  EXPECT_EQ(tab->rowCount(), rows + 1);
  timer.closeProcessorCounter();
}

TEST(ProcessPathsUnderWine, HelperPathGetsItsDriveLetter) {
  platform::win32::Win32ProcessControl processes;
  dravik::ProcessPaths paths(processes);
  paths.LoadDeviceMap();
  bool hasC = false;
  for (const auto& d : paths.devices()) {
    if (d.letter == L'C') hasC = d.device == L"\\Device\\HarddiskVolume1";
  }
  EXPECT_TRUE(hasC);
  testsupport::ChildProcess helper = testsupport::Start(HelperPath(), L"Pathed 1");
  ASSERT_TRUE(helper.running());
  EXPECT_EQ(::CompareStringOrdinal(paths.GetProcessPath(helper.pid()).c_str(), -1,
                                   HelperPath().c_str(), -1, TRUE),
            CSTR_EQUAL)
      << paths.GetProcessPath(helper.pid());
  EXPECT_EQ(paths.GetProcessPath(0), L"");
  EXPECT_EQ(processes.wowMachines().size(), 0u);  // no 16-bit subsystem here
}

}  // namespace
