// The Services tab against Wine's real service control manager (listed on the
// tab's worker), with a test service of our own installed for each test and
// removed afterwards. The tab's list lives in a window the test makes;
// questions are answered by a scripted user interface, and once by pressing the real box.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_services.h"
#include "services/win/services_tab.h"
#include "services/win/test_service_install.h"
#include "support/win/tab_test_window.h"
#include "support/win/ui_test_support.h"

namespace {

using dravik::Command;
enum { kRunningGreen, kDisabledRed, kPausedYellow, kStoppedGrey };

class ServicesTabTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { servicetests::RemoveLeftoverTestServices(); }
  void SetUp() override {
    ASSERT_TRUE(::IsWindow(window.list)) << "no list view: is the X display running?";
    ASSERT_EQ(servicetests::ServiceState(name()), static_cast<DWORD>(SERVICE_STOPPED)) << "the test service was not installed";
    tab = std::make_unique<dravik::ServicesTab>(window.context, window.list, control,
                                                [] { return std::make_unique<platform::win32::Win32ServiceControl>(); });
  }
  // Handles messages until the command's wait and the rebuild are over.
  void rebuilt() { ASSERT_TRUE(testsupport::PumpUntil([&] { return !tab->busy(); })) << "the list was not rebuilt"; }
  const std::wstring& name() const { return service.name; }
  int row() const { return window.find(1, name()); }
  // State and start type of the test service's row, and its picture.
  std::wstring shown() const {
    const int r = row();
    return r < 0 ? L"no row" : window.text(r, 2) + L"/" + window.text(r, 3) + L"/" + std::to_wstring(window.image(r));
  }
  void command(Command command, int answer = platform::mb::kAnswerOk) {
    window.select(row());
    window.ui.answers = {answer};
    EXPECT_TRUE(tab->command(command));
    rebuilt();
  }
  int listed(DWORD filter) const { return static_cast<int>(servicetests::ListedServices(filter).size()); }
  std::wstring status() const { return L"(" + std::to_wstring(window.rows()) + L") Services"; }

  tabtest::TabWindow window{dravik::Tab::Services};
  servicetests::InstalledService service{L"Tab", testsupport::TestDir() + L"\\test_service.exe"};
  platform::win32::Win32ServiceControl control;
  std::unique_ptr<dravik::ServicesTab> tab;
};

TEST_F(ServicesTabTest, TheTestServiceThroughEveryCommandAndViewOfTheTab) {
  tab->refresh();
  rebuilt();
  EXPECT_EQ(window.rows(), listed(SERVICE_WIN32));
  EXPECT_EQ(window.panel1.back(), status());
  ASSERT_GE(row(), 0);
  const std::vector<std::wstring> columns = {L"Dravik test " + name(), name(), L"Stopped", L"Manual",
                                             service.commandLine, L"Own Process", L"LocalSystem", L""};
  for (int c = 0; c < 8; ++c) EXPECT_EQ(window.text(row(), c), columns[c]) << c;
  EXPECT_EQ(window.image(row()), kStoppedGrey);
  // The pictures keep their places even though the test program has none of them.
  EXPECT_EQ(ImageList_GetImageCount(ListView_GetImageList(window.list, LVSIL_SMALL)), 4);

  // A command returns at once; the list is rebuilt once its two seconds have passed.
  const DWORD start = ::GetTickCount();
  window.select(row());
  EXPECT_TRUE(tab->command(Command::StartService));
  EXPECT_LT(::GetTickCount() - start, 1000u);
  EXPECT_TRUE(tab->busy());
  rebuilt();
  EXPECT_GE(::GetTickCount() - start, 1900u);
  ASSERT_TRUE(servicetests::WaitForServiceState(name(), SERVICE_RUNNING)) << "did not start";
  EXPECT_EQ(shown(), L"Running/Manual/0");

  window.select(row());
  window.ui.answers = {platform::mb::kAnswerNo};
  tab->command(Command::StopService);
  EXPECT_EQ(window.ui.boxes.back().text + L"|" + window.ui.boxes.back().title + std::to_wstring(window.ui.boxes.back().flags),
            L"Stopping services might cause some programs to malfunction or result in system instability!\r\n\r\n"
            L"Name: " + name() + L"\r\nDo you want to stop this service?|Warning!52");
  EXPECT_EQ(servicetests::ServiceState(name()), static_cast<DWORD>(SERVICE_RUNNING));
  EXPECT_FALSE(tab->busy()) << "No must neither wait nor rebuild";

  command(Command::PauseService, platform::mb::kAnswerYes);
  EXPECT_EQ(shown(), L"Paused/Manual/" + std::to_wstring(kPausedYellow));
  command(Command::ResumeService);
  EXPECT_EQ(shown(), L"Running/Manual/0");
  command(Command::StartupDisabled);
  EXPECT_EQ(shown(), L"Running/Disabled/" + std::to_wstring(kDisabledRed));  // red beats green
  window.select(row());
  NMHDR click{window.list, 1, NM_CLICK};  // the marks describe the row last clicked
  LRESULT result = 0;
  EXPECT_TRUE(tab->listNotify(click, result));
  EXPECT_TRUE(tab->checked(Command::StartupDisabled) && !tab->checked(Command::StartupManual));
  command(Command::StartupManual);
  command(Command::StopService, platform::mb::kAnswerYes);
  EXPECT_EQ(shown(), L"Stopped/Manual/" + std::to_wstring(kStoppedGrey));
  ASSERT_EQ(window.ui.boxes.size(), 3u) << "only Stop (twice) and Pause asked; nothing failed";

  // Stopping it again: the system's own text, and the list is still rebuilt.
  command(Command::StopService, platform::mb::kAnswerYes);
  ASSERT_EQ(window.ui.boxes.size(), 5u);
  EXPECT_EQ(window.ui.boxes[4].text.rfind(L"Name: " + name() + L"\r\n", 0), 0u);
  EXPECT_GT(window.ui.boxes[4].text.size(), name().size() + 8) << "no system text";
  EXPECT_EQ(window.ui.boxes[4].title + std::to_wstring(window.ui.boxes[4].flags), L"Service Error16");
  EXPECT_EQ(window.selected(), -1);

  // The View items: Win Services checked at start; both unchecked; drivers only; both.
  EXPECT_TRUE(tab->checked(Command::ViewWinServices));
  EXPECT_FALSE(tab->checked(Command::ViewDriverServices));
  command(Command::ViewWinServices);
  EXPECT_FALSE(tab->checked(Command::ViewWinServices));
  EXPECT_EQ(window.rows(), 0);
  EXPECT_EQ(window.panel1.back(), L"(0) Services");
  command(Command::ViewDriverServices);
  EXPECT_TRUE(tab->checked(Command::ViewDriverServices));
  EXPECT_EQ(window.rows(), listed(SERVICE_DRIVER));
  ASSERT_GT(window.rows(), 0);
  command(Command::ViewWinServices);
  EXPECT_EQ(window.rows(), listed(SERVICE_WIN32 | SERVICE_DRIVER));
  EXPECT_EQ(window.ui.boxes.size(), 5u) << "the View items ask nothing";

  // Delete, answered Yes on the real message box: the row is gone after the command's rebuild.
  platform::win32::Win32UserInterface real;
  window.context.ui = &real;
  command(Command::StartService);
  ASSERT_TRUE(servicetests::WaitForServiceState(name(), SERVICE_RUNNING));
  testsupport::MessageBoxAnswerer answer(IDYES);
  command(Command::DeleteService);
  ASSERT_TRUE(answer.finish()) << "no question was shown";
  EXPECT_EQ(answer.title(), L"Warning!");
  EXPECT_NE(answer.text().find(L"Name: " + name() + L"\r\nDo you want to DELETE this service?"), std::wstring::npos);
  EXPECT_EQ(row(), -1);
  EXPECT_EQ(servicetests::ServiceState(name()), 0u) << "stopped first, then deleted";
  EXPECT_EQ(window.panel1.back(), status());

  // No row: the manager's error, then the wait, which the page's going ends quietly.
  window.context.ui = &window.ui;
  window.select(-1);
  EXPECT_TRUE(tab->command(Command::ResumeService));
  EXPECT_EQ(window.ui.boxes.back().text.rfind(L"Name: \r\n", 0), 0u);
  tab.reset();  // as when the main window is closed during the wait
  ListView_DeleteAllItems(window.list);
  testsupport::PumpFor(std::chrono::milliseconds(2500));
  EXPECT_EQ(window.rows(), 0);  // no rebuild for the gone page
}

}  // namespace
