// The Processes tab in a stand-in main window under Wine, over the real
// instrumentation (queried on the tab's worker), shell and processes of the
// Wine prefix, and the process calls of the platform layer.
#include "processes/win/processes_tab.h"

#include <gtest/gtest.h>

#include "platform/win32/win32_process_control.h"
#include "platform/win32/win32_process_query.h"
#include "platform/win32/win32_shell_files.h"
#include "support/win/tab_test_window.h"
#include "support/win/ui_test_support.h"

namespace {

TEST(ProcessesTab, AStartedProcessIsListedAndItsCommandsAskFirst) {
  tabtest::TabWindow window{dravik::Tab::Tasks, 14, /*scripted=*/false};  // real message boxes
  platform::win32::Win32ShellFiles shell;
  platform::win32::Win32ProcessControl control;
  dravik::ProcessesTab tab{window.context, window.list,
                           {[] { return std::make_unique<platform::win32::Win32ProcessQuery>(); }, shell, control},
                           platform::win32::UserGroupSeparator()};
  // Handles messages until the rebuild asked for has shown.
  const auto shown = [&] { return testsupport::PumpUntil([&] { return !tab.busy(); }); };
  auto child = testsupport::Start(testsupport::TestDir() + L"\\processes_idle_child.exe");
  ASSERT_TRUE(child.running());
  const std::wstring pid = std::to_wstring(child.pid());
  tab.refresh();
  ASSERT_TRUE(shown());
  int row = window.find(1, pid);
  ASSERT_GE(row, 0) << "pid " << pid << " not among " << window.rows() << " rows";
  EXPECT_EQ(window.text(row, 0), L"processes_idle_child.exe");
  // Wine reports a working set of 0 and no priority.
  EXPECT_EQ(window.text(row, 2), L" KB");
  EXPECT_EQ(window.text(row, 4), L"Real time");
  EXPECT_EQ(window.panels[1], (std::vector<std::wstring>{L"(" + std::to_wstring(window.rows()) + L") Processes"}));
  EXPECT_TRUE(tab.command(dravik::Command::TerminateProcess));  // nothing selected: nothing asked

  window.select(row);
  testsupport::MessageBoxAnswerer ok(IDOK);
  EXPECT_TRUE(tab.command(dravik::Command::FileProperties));
  ASSERT_TRUE(ok.finish());
  EXPECT_EQ(ok.text(), L"Process path not found!");
  EXPECT_EQ(ok.title(), L"Process: processes_idle_child.exe");
  testsupport::MessageBoxAnswerer no(IDNO);
  tab.command(dravik::Command::TerminateProcess);
  ASSERT_TRUE(no.finish());
  EXPECT_FALSE(child.waitForExit(500));

  testsupport::MessageBoxAnswerer yes(IDYES);
  tab.command(dravik::Command::TerminateProcess);
  ASSERT_TRUE(yes.finish());
  EXPECT_EQ(yes.title(), L"Process: processes_idle_child.exe (PID: " + pid + L")");
  EXPECT_EQ(yes.text(), L"Are you sure you want to terminate this process?");
  EXPECT_TRUE(child.waitForExit(5000));
  EXPECT_EQ(child.exitCode(), 0u);
  ASSERT_TRUE(shown());
  EXPECT_EQ(window.panels[1].size(), 2u) << "the list was not rebuilt";
  EXPECT_EQ(window.find(1, pid), -1);
}

}  // namespace
