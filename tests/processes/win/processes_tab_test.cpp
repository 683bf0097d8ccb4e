// The Processes tab in a window of its own, over the real instrumentation,
// shell and processes of the Wine prefix.
#include "processes/win/processes_tab.h"

#include <gtest/gtest.h>

#include "doubles/fake_processes.h"
#include "platform/win32/win32_process_commands.h"
#include "platform/win32/win32_process_query.h"
#include "platform/win32/win32_shell_files.h"
#include "support/win/process_test_window.h"

namespace {

using processtest::BoxAnswer;

std::wstring IdleChildPath() { return testsupport::TestDir() + L"\\processes_idle_child.exe"; }

class ProcessesTabTest : public ::testing::Test {
 protected:
  dravik::ProcessesTab makeTab(platform::ProcessQuery& query) {
    return dravik::ProcessesTab(context_.app, window_.list(), {query, shell_, control_}, L",");
  }

  processtest::ListWindow window_;
  processtest::TestLanguage language_;
  processtest::TestContext context_{window_, language_};
  platform::win32::Win32ProcessQuery query_;
  platform::win32::Win32ShellFiles shell_;
  platform::win32::Win32ProcessCommands control_;
  dravik::ProcessesTab tab_{context_.app, window_.list(), {query_, shell_, control_},
                            platform::win32::UserGroupSeparator()};
};

TEST_F(ProcessesTabTest, AStartedProcessIsListedWithItsNameAndId) {
  auto child = testsupport::Start(IdleChildPath());
  ASSERT_TRUE(child.running());
  tab_.refresh();
  const int row = window_.rowOfProcess(child.pid());
  ASSERT_GE(row, 0) << "pid " << child.pid() << " not among " << window_.rows() << " rows";
  EXPECT_EQ(window_.cell(row, 0), L"processes_idle_child.exe");
  // The test itself is listed too.
  const int self = window_.rowOfProcess(::GetCurrentProcessId());
  ASSERT_GE(self, 0);
  EXPECT_EQ(window_.cell(self, 0), L"wintests_processes.exe");
  // Wine reports a working set of 0 and no priority: " KB" and the last band.
  EXPECT_EQ(window_.cell(row, 2), L" KB");
  EXPECT_EQ(window_.cell(row, 4), L"Real time");
  ASSERT_EQ(context_.statusPanel1.size(), 1u);
  EXPECT_EQ(context_.statusPanel1[0], L"(" + std::to_wstring(window_.rows()) + L") Processes");
  EXPECT_TRUE(context_.ui.boxes.empty());
}

TEST_F(ProcessesTabTest, TerminateWithYesEndsTheProcessAndTheNewListLacksIt) {
  auto child = testsupport::Start(IdleChildPath());
  ASSERT_TRUE(child.running());
  tab_.refresh();
  const int row = window_.rowOfProcess(child.pid());
  ASSERT_GE(row, 0);
  window_.select(row);

  BoxAnswer answer(IDYES);
  EXPECT_TRUE(tab_.command(dravik::Command::TerminateProcess));
  const auto& box = answer.seen();
  EXPECT_EQ(box.title, L"Process: processes_idle_child.exe (PID: " + std::to_wstring(child.pid()) + L")");
  EXPECT_EQ(box.text, L"Are you sure you want to terminate this process?");
  ASSERT_EQ(context_.ui.boxes.size(), 1u);
  EXPECT_EQ(context_.ui.boxes[0].flags, 52u);

  EXPECT_TRUE(child.waitForExit(5000));
  EXPECT_EQ(child.exitCode(), 0u);
  EXPECT_EQ(context_.statusPanel1.size(), 2u) << "the list was not rebuilt";
  EXPECT_EQ(window_.rowOfProcess(child.pid()), -1);
  EXPECT_EQ(context_.ui.pumps, 1);
}

TEST_F(ProcessesTabTest, TerminateWithNoKeepsTheProcessAndTheList) {
  auto child = testsupport::Start(IdleChildPath());
  ASSERT_TRUE(child.running());
  tab_.refresh();
  const int row = window_.rowOfProcess(child.pid());
  ASSERT_GE(row, 0);
  window_.select(row);
  // A mark that a rebuild would wipe out.
  LVITEMW mark{};
  mark.iSubItem = 5;
  mark.pszText = const_cast<wchar_t*>(L"not rebuilt");
  ::SendMessageW(window_.list(), LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&mark));

  BoxAnswer answer(IDNO);
  EXPECT_TRUE(tab_.command(dravik::Command::TerminateProcess));
  EXPECT_NE(answer.seen().window, nullptr);
  EXPECT_FALSE(child.waitForExit(500));
  EXPECT_EQ(window_.cell(row, 5), L"not rebuilt");
  EXPECT_EQ(context_.statusPanel1.size(), 1u);
}

TEST_F(ProcessesTabTest, FilePropertiesWithoutAPathShowsThePathNotFoundStop) {
  auto child = testsupport::Start(IdleChildPath());
  ASSERT_TRUE(child.running());
  tab_.refresh();
  const int row = window_.rowOfProcess(child.pid());
  ASSERT_GE(row, 0);
  // Wine's instrumentation has no ExecutablePath: the row has no path.
  ASSERT_EQ(window_.cell(row, 3), L"");
  window_.select(row);

  BoxAnswer answer(IDOK);
  EXPECT_TRUE(tab_.command(dravik::Command::FileProperties));
  const auto& box = answer.seen();
  EXPECT_EQ(box.text, L"Process path not found!");
  EXPECT_EQ(box.title, L"Process: processes_idle_child.exe");
  ASSERT_EQ(context_.ui.boxes.size(), 1u);
  EXPECT_EQ(context_.ui.boxes[0].flags, 16u);  // stop icon, OK
  EXPECT_TRUE(child.running());
}

TEST_F(ProcessesTabTest, WithoutASelectionTheCommandsDoNothing) {
  auto child = testsupport::Start(IdleChildPath());
  tab_.refresh();
  ASSERT_GT(window_.rows(), 0);
  EXPECT_TRUE(tab_.command(dravik::Command::TerminateProcess));
  EXPECT_TRUE(tab_.command(dravik::Command::FileProperties));
  EXPECT_TRUE(context_.ui.boxes.empty());
  EXPECT_TRUE(child.running());
  EXPECT_EQ(context_.statusPanel1.size(), 1u);
  // Commands of other tabs are not the page's.
  EXPECT_FALSE(tab_.command(dravik::Command::EndTask));
}

TEST_F(ProcessesTabTest, RightClickAsksForThePopupMenuOnlyWhenThereAreRows) {
  NMHDR click{window_.list(), 0, static_cast<UINT>(NM_RCLICK)};
  LRESULT result = 1;
  EXPECT_TRUE(tab_.listNotify(click, result));
  EXPECT_TRUE(context_.popupMenus.empty()) << "empty list";
  tab_.refresh();
  ASSERT_GT(window_.rows(), 0);
  ::SetCursorPos(300, 200);
  EXPECT_TRUE(tab_.listNotify(click, result));
  ASSERT_EQ(context_.popupMenus.size(), 1u);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  EXPECT_EQ(context_.popupMenus[0].x, cursor.x);
  EXPECT_EQ(context_.popupMenus[0].y, cursor.y);
  // A left click or another control's notification is not the menu's business.
  NMHDR left{window_.list(), 0, static_cast<UINT>(NM_CLICK)};
  EXPECT_FALSE(tab_.listNotify(left, result));
  NMHDR other{window_.window(), 0, static_cast<UINT>(NM_RCLICK)};
  EXPECT_FALSE(tab_.listNotify(other, result));
  EXPECT_EQ(context_.popupMenus.size(), 1u);
}

// The instrumentation cannot be made unreachable on demand under Wine: the
// query is a double here, the list and the shell are real.
TEST_F(ProcessesTabTest, UnreachableInstrumentationGivesAnEmptyListSilentlyAndIsTriedAgain) {
  fakes::FakeProcessQuery query;
  query.objects = {{{L"Caption", platform::PropertyValue::Text(L"a.exe")},
                    {L"ProcessID", platform::PropertyValue::Unsigned(42)}}};
  auto tab = makeTab(query);
  tab.refresh();
  EXPECT_EQ(window_.rows(), 1);
  query.reachable = false;
  tab.refresh();
  EXPECT_EQ(window_.rows(), 0);
  EXPECT_EQ(context_.statusPanel1.back(), L"(0) Processes");
  EXPECT_TRUE(context_.ui.boxes.empty());
  query.reachable = true;
  tab.refresh();
  EXPECT_EQ(window_.rows(), 1);
  EXPECT_EQ(context_.statusPanel1.back(), L"(1) Processes");
  EXPECT_EQ(query.queries, 3);
}

// Wine never runs 2,000 processes at once; the query is a double.
TEST_F(ProcessesTabTest, MoreThanTwoThousandProcessesAreAllListedWithTheirData) {
  fakes::FakeProcessQuery query;
  for (std::uint64_t pid = 1; pid <= 2100; ++pid) {
    query.objects.push_back({{L"Caption", platform::PropertyValue::Text(L"p" + std::to_wstring(pid))},
                             {L"ProcessID", platform::PropertyValue::Unsigned(pid)},
                             {L"WorkingSetSize", platform::PropertyValue::Text(std::to_wstring(pid * 1024000))},
                             {L"Priority", platform::PropertyValue::Signed(8)},
                             {L"QuotaPeakPagedPoolUsage", platform::PropertyValue::Unsigned(pid + 7)}});
  }
  // The shell too: under Wine each lookup of a pathless process costs
  // milliseconds, and the icons are not what this test is about.
  fakes::FakeShellFiles shell;
  dravik::ProcessesTab tab(context_.app, window_.list(), {query, shell, control_}, L",");
  tab.refresh();
  ASSERT_EQ(window_.rows(), 2100);
  EXPECT_EQ(shell.iconRequests.size(), 2100u);
  for (int row : {0, 1999, 2000, 2099}) {
    const auto pid = static_cast<std::uint64_t>(row + 1);
    EXPECT_EQ(window_.cell(row, 0), L"p" + std::to_wstring(pid));
    EXPECT_EQ(window_.cell(row, 1), std::to_wstring(pid));
    EXPECT_EQ(window_.cell(row, 2), dravik::GroupDigits(pid * 1000, L",") + L" KB");
    EXPECT_EQ(window_.cell(row, 4), L"Normal");
    EXPECT_EQ(window_.cell(row, 13), std::to_wstring(pid + 7));
  }
  EXPECT_EQ(context_.statusPanel1.back(), L"(2100) Processes");
}

// Other processes' paths and icons are not reported under Wine: a double
// gives the paths, the shell's own answer for the test's exe is real.
// The redraw switches the list was sent, in order.
std::vector<WPARAM> g_redrawSwitches;

LRESULT CALLBACK RecordRedraw(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
  if (message == WM_SETREDRAW) g_redrawSwitches.push_back(wParam);
  return ::DefSubclassProc(window, message, wParam, lParam);
}

class IconShell final : public platform::ShellFiles {
 public:
  platform::SystemIcon smallIcon(const std::wstring& path) override {
    if (g_redrawSwitches.empty() || g_redrawSwitches.back() != FALSE) ++callsWhileDrawing;
    if (path == L"none") return {};
    return real_.smallIcon(path.empty() ? testsupport::TestDir() + L"\\wintests_processes.exe" : path);
  }
  bool showProperties(const std::wstring& path) override { return real_.showProperties(path); }
  int callsWhileDrawing = 0;

 private:
  platform::win32::Win32ShellFiles real_;
};

TEST_F(ProcessesTabTest, RowsGetTheirShellIconsThePathlessOneThePlaceholder) {
  fakes::FakeProcessQuery query;
  const std::wstring exe = testsupport::TestDir() + L"\\processes_idle_child.exe";
  query.objects = {{{L"Caption", platform::PropertyValue::Text(L"a.exe")},
                    {L"ExecutablePath", platform::PropertyValue::Text(exe)}},
                   {{L"Caption", platform::PropertyValue::Text(L"pathless")}},
                   {{L"Caption", platform::PropertyValue::Text(L"b.exe")},
                    {L"ExecutablePath", platform::PropertyValue::Text(exe)}},
                   {{L"Caption", platform::PropertyValue::Text(L"c.exe")},
                    {L"ExecutablePath", platform::PropertyValue::Text(L"none")}}};
  IconShell shell;
  dravik::ProcessesTab tab(context_.app, window_.list(), {query, shell, control_}, L",");
  g_redrawSwitches.clear();
  ASSERT_TRUE(::SetWindowSubclass(window_.list(), RecordRedraw, 1, 0));
  tab.refresh();
  ::RemoveWindowSubclass(window_.list(), RecordRedraw, 1);
  ASSERT_EQ(window_.rows(), 4);
  const HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
      ::SendMessageW(window_.list(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  ASSERT_NE(images, nullptr);
  // The placeholder, then one image for each row the shell had an icon for,
  // a shared executable included.
  EXPECT_EQ(::ImageList_GetImageCount(images), 4);
  EXPECT_EQ(window_.image(0), 1);
  EXPECT_EQ(window_.image(1), 0);  // the placeholder
  EXPECT_EQ(window_.image(2), 3);
  EXPECT_EQ(window_.image(3), I_IMAGENONE);
  // The list did not draw while its rows went in, and draws again now.
  EXPECT_EQ(shell.callsWhileDrawing, 0);
  EXPECT_EQ(g_redrawSwitches, (std::vector<WPARAM>{FALSE, TRUE}));
  // A second refresh starts the images over.
  tab.refresh();
  EXPECT_EQ(::ImageList_GetImageCount(images), 4);
}

}  // namespace
