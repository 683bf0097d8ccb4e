// The Services tab against Wine's real service control manager (listed on the
// tab's worker), with a test service of our own installed for each test and
// removed afterwards. The tab's list lives in a window the test makes;
// questions are answered by a scripted user interface, and once by pressing the real box.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

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
  EXPECT_GT(window.rows(), 5);  // Wine's own services are there too
  EXPECT_EQ(window.panel1.back(), status());
  ASSERT_GE(row(), 0);
  const std::vector<std::wstring> columns = {L"Dravik test " + name(), name(), L"Stopped", L"Manual",
                                             service.commandLine, L"Own Process", L"LocalSystem", L""};
  for (int c = 0; c < 8; ++c) EXPECT_EQ(window.text(row(), c), columns[c]) << c;
  EXPECT_EQ(window.image(row()), kStoppedGrey);
  // The pictures keep their places even though the test program has none of them.
  EXPECT_EQ(ImageList_GetImageCount(ListView_GetImageList(window.list, LVSIL_SMALL)), 4);
  window.select(row());
  EXPECT_TRUE(window.notify(*tab, NM_CLICK));
  EXPECT_TRUE(tab->checked(Command::StartupManual));

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
  EXPECT_EQ(window.selected(), -1);  // rebuilt

  window.select(row());
  window.ui.answers = {platform::mb::kAnswerNo};
  tab->command(Command::StopService);
  EXPECT_EQ(window.ui.boxes.back().text + L"|" + window.ui.boxes.back().title + std::to_wstring(window.ui.boxes.back().flags),
            L"Stopping services might cause some programs to malfunction or result in system instability!\r\n\r\n"
            L"Name: " + name() + L"\r\nDo you want to stop this service?|Warning!52");
  EXPECT_EQ(servicetests::ServiceState(name()), static_cast<DWORD>(SERVICE_RUNNING));
  EXPECT_FALSE(tab->busy()) << "No must neither wait nor rebuild";

  command(Command::PauseService, platform::mb::kAnswerYes);
  EXPECT_EQ(window.ui.boxes.back().text, L"Pausing services might cause some programs to malfunction or result in "
                                         L"system instability!\r\n\r\nName: " + name() + L"\r\nDo you want to pause this service?");
  EXPECT_EQ(shown(), L"Paused/Manual/" + std::to_wstring(kPausedYellow));
  command(Command::ResumeService);
  EXPECT_EQ(shown(), L"Running/Manual/0");
  command(Command::StartupDisabled);
  EXPECT_EQ(shown(), L"Running/Disabled/" + std::to_wstring(kDisabledRed));  // red beats green
  EXPECT_TRUE(tab->checked(Command::StartupManual)) << "the marks describe the row last clicked";
  window.select(row());
  window.notify(*tab, NM_CLICK);
  EXPECT_TRUE(tab->checked(Command::StartupDisabled));
  EXPECT_FALSE(tab->checked(Command::StartupManual));
  command(Command::StartupManual);
  command(Command::StopService, platform::mb::kAnswerYes);
  EXPECT_EQ(shown(), L"Stopped/Manual/" + std::to_wstring(kStoppedGrey));
  ASSERT_EQ(window.ui.boxes.size(), 3u) << "only Stop (twice) and Pause asked; nothing failed";

  // Stopping it again: the system's own text, and the list is still rebuilt.
  command(Command::StopService, platform::mb::kAnswerYes);
  ASSERT_EQ(window.ui.boxes.size(), 5u);
  wchar_t system[256] = {};
  ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_SERVICE_NOT_ACTIVE, 0,
                   system, 256, nullptr);
  ASSERT_NE(system[0], L'\0');
  EXPECT_EQ(window.ui.boxes[4].text, L"Name: " + name() + L"\r\n" + system);
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
  EXPECT_EQ(row(), -1);
  const std::vector<std::wstring> startTypes = {L"Boot", L"System", L"Automatic", L"Manual", L"Disabled"};
  for (int i = 0; i < window.rows(); ++i) {
    const std::wstring type = window.text(i, 5);
    EXPECT_TRUE(type == L"Kernel Mode Driver" || type == L"File System Driver") << i;
    EXPECT_NE(std::find(startTypes.begin(), startTypes.end(), window.text(i, 3)), startTypes.end()) << i;
    EXPECT_NE(window.text(i, 4).rfind(L"\\??\\", 0), 0u) << "device prefix not trimmed";
  }
  EXPECT_EQ(window.panel1.back(), status());
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
}

TEST_F(ServicesTabTest, ThePageGoingDuringACommandsWaitEndsTheCommandQuietly) {
  tab->refresh();
  rebuilt();
  window.select(row());
  EXPECT_TRUE(tab->command(Command::StartService));
  tab.reset();  // as when the main window is closed during the wait
  ListView_DeleteAllItems(window.list);
  testsupport::PumpFor(std::chrono::milliseconds(2500));
  EXPECT_EQ(window.rows(), 0);  // no rebuild for the gone page
  EXPECT_TRUE(servicetests::WaitForServiceState(name(), SERVICE_RUNNING));
}

}  // namespace
