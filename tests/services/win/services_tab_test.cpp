// The Services tab against Wine's real service control manager, with a test
// service of our own installed for each test and removed afterwards. The
// tab's list lives in a window the test makes; questions are answered by a
// scripted user interface, or once by pressing the real message box.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <thread>

#include "app/win/tab_page.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_window_manager.h"
#include "services/win/pause_clock.h"
#include "services/win/services_tab.h"
#include "support/win/test_support.h"
#include "services/win/test_service_install.h"

namespace {

using dravik::Command;

// Answers message boxes from a script and records them, but handles the
// window messages for real, so the list keeps working during a wait.
class ScriptedUserInterface final : public platform::UserInterface {
 public:
  struct Box {
    std::wstring text, title;
    unsigned flags;
  };
  int messageBox(const std::wstring& text, const std::wstring& title, unsigned flags) override {
    boxes.push_back({text, title, flags});
    if (answers.empty()) return platform::mb::kAnswerOk;
    const int answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  void pumpMessages() override {
    ++pumps;
    real.pumpMessages();
    if (onPump) onPump();
  }
  std::function<void()> onPump;
  std::vector<Box> boxes;
  std::vector<int> answers;
  int pumps = 0;
  platform::win32::Win32UserInterface real;
};

const char kLanguage[] =
    "[LANGUAGE]\r\nCharacterSet=0\r\n[Main]\r\n"
    "20=Boot\r\n21=System\r\n22=Automatic\r\n23=Manual\r\n24=Disabled\r\n54=Name\r\n"
    "77=Running\r\n89=Service Error\r\n90=Stopping services might cause some programs to malfunction or "
    "result in system instability!\r\n91=Do you want to stop this service?\r\n92=Warning!\r\n"
    "93=Pausing services might cause some programs to malfunction or result in system instability!\r\n"
    "94=Do you want to pause this service?\r\n95=Deleting services might cause some programs to "
    "malfunction or result in system instability!\r\n96=Do you want to DELETE this service?\r\n"
    "99=Services\r\n101=Stopped\r\n102=Start Pending\r\n103=Stop Pending\r\n104=Continue Pending\r\n"
    "105=Pause Pending\r\n106=Paused\r\n";

std::wstring WriteLanguageFile() {
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"dravik-services-test.lng";
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (file) {
    std::fwrite(kLanguage, 1, sizeof(kLanguage) - 1, file);
    std::fclose(file);
  }
  return path;
}

// What the row of a service shows.
struct Row {
  int index = -1;
  std::vector<std::wstring> columns;
  int image = -1;
};

class ServicesTabTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { servicetests::RemoveLeftoverTestServices(); }

  void SetUp() override {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&init));
    window_ = ::CreateWindowExW(0, L"STATIC", L"Services test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                900, 500, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window_, nullptr) << "no window: is the X display running?";
    list_ = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL |
                                                        LVS_SHOWSELALWAYS,
                              0, 0, 880, 460, window_, nullptr, nullptr, nullptr);
    ASSERT_NE(list_, nullptr);
    ::SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int i = 0; i < 8; ++i) {
      LVCOLUMNW column{};
      column.mask = LVCF_WIDTH | LVCF_TEXT;
      column.cx = 100;
      column.pszText = const_cast<wchar_t*>(L"Column");
      ::SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    languagePath_ = WriteLanguageFile();
    language_ = std::make_unique<dravik::Language>(profiles_, languagePath_);
    messages_.load(*language_);

    context_.instance = ::GetModuleHandleW(nullptr);
    context_.mainWindow = window_;
    context_.language = language_.get();
    context_.messages = &messages_;
    context_.ui = &ui_;
    context_.setStatusPanel = [this](int panel, const std::wstring& text) {
      statusPanel_ = panel;
      status_ = text;
    };
    context_.selectedTab = [] { return dravik::Tab::Services; };
    context_.enableMainWindow = [](bool) {};
    context_.showPopupMenu = [this](dravik::Tab tab, POINT) { popups_.push_back(tab); };

    service_ = std::make_unique<servicetests::InstalledService>(
        std::wstring(servicetests::kTestServicePrefix) + L"Tab", testsupport::TestDir() + L"\\test_service.exe");
    ASSERT_EQ(service_->createError(), 0u);
    tab_ = std::make_unique<dravik::ServicesTab>(context_, list_, scm_);
  }

  void TearDown() override {
    tab_.reset();
    service_.reset();  // stops and deletes the service, also after a failure
    if (window_) ::DestroyWindow(window_);
    ::DeleteFileW(languagePath_.c_str());
  }

  int count() const { return static_cast<int>(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

  std::wstring text(int item, int column) const {
    wchar_t buffer[1024] = {};
    LVITEMW lvi{};
    lvi.iSubItem = column;
    lvi.pszText = buffer;
    lvi.cchTextMax = 1024;
    ::SendMessageW(list_, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lvi));
    return buffer;
  }

  Row find(const std::wstring& name) const {
    Row row;
    for (int i = 0; i < count(); ++i) {
      if (text(i, 1) != name) continue;
      row.index = i;
      for (int c = 0; c < 8; ++c) row.columns.push_back(text(i, c));
      LVITEMW lvi{};
      lvi.mask = LVIF_IMAGE;
      lvi.iItem = i;
      ::SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lvi));
      row.image = lvi.iImage;
    }
    return row;
  }

  void select(const std::wstring& name) {
    const Row row = find(name);
    ASSERT_GE(row.index, 0) << "no row for the test service";
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list_, LVM_SETITEMSTATE, row.index, reinterpret_cast<LPARAM>(&state));
  }

  int selected() const {
    return static_cast<int>(::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }

  bool notify(UINT code) {
    NMHDR header{list_, 0, code};
    LRESULT result = 0;
    return tab_->listNotify(header, result);
  }

  // The number of services of a filter, by asking the manager directly.
  static int ManagerCount(DWORD typeFilter) {
    servicetests::UniqueServiceHandle manager = servicetests::OpenManager();
    DWORD needed = 0, entries = 0, resume = 0;
    ::EnumServicesStatusExW(manager.get(), SC_ENUM_PROCESS_INFO, typeFilter, SERVICE_STATE_ALL, nullptr, 0,
                            &needed, &entries, &resume, nullptr);
    std::vector<unsigned long long> buffer(needed / 8 + 1);
    resume = 0;
    if (!::EnumServicesStatusExW(manager.get(), SC_ENUM_PROCESS_INFO, typeFilter, SERVICE_STATE_ALL,
                                 reinterpret_cast<BYTE*>(buffer.data()), static_cast<DWORD>(buffer.size() * 8),
                                 &needed, &entries, &resume, nullptr)) {
      return -1;
    }
    return static_cast<int>(entries);
  }

  const std::wstring& name() const { return service_->name(); }

  HWND window_ = nullptr;
  HWND list_ = nullptr;
  std::wstring languagePath_;
  platform::win32::Win32ProfileFiles profiles_;
  std::unique_ptr<dravik::Language> language_;
  dravik::MessageTexts messages_;
  ScriptedUserInterface ui_;
  platform::win32::Win32ServiceControl scm_;
  dravik::AppContext context_;
  int statusPanel_ = 0;
  std::wstring status_;
  std::vector<dravik::Tab> popups_;
  std::unique_ptr<servicetests::InstalledService> service_;
  std::unique_ptr<dravik::ServicesTab> tab_;
};

TEST_F(ServicesTabTest, ListsWin32ServicesWithTheEightColumnsAndTheCount) {
  tab_->refresh();
  EXPECT_EQ(count(), ManagerCount(SERVICE_WIN32));
  EXPECT_GT(count(), 5);  // Wine's own services are there too
  EXPECT_EQ(statusPanel_, 1);
  EXPECT_EQ(status_, L"(" + std::to_wstring(count()) + L") Services");
  EXPECT_TRUE(tab_->checked(Command::ViewWinServices));
  EXPECT_FALSE(tab_->checked(Command::ViewDriverServices));

  const Row row = find(name());
  ASSERT_GE(row.index, 0);
  EXPECT_EQ(row.columns[0], L"Dravik test " + name());
  EXPECT_EQ(row.columns[2], L"Stopped");
  EXPECT_EQ(row.columns[3], L"Manual");
  EXPECT_EQ(row.columns[4], service_->commandLine());
  EXPECT_EQ(row.columns[5], L"Own Process");
  EXPECT_EQ(row.columns[6], L"LocalSystem");
  EXPECT_EQ(row.columns[7], L"");
  EXPECT_EQ(row.image, 3);  // grey
  EXPECT_TRUE(ui_.boxes.empty());

  // The pictures keep their places even though the test program has none of them.
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageW(list_, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
  EXPECT_EQ(::ImageList_GetImageCount(images), 4);
}

TEST_F(ServicesTabTest, StartPauseResumeAndStopShowTheNewStateAndPicture) {
  tab_->refresh();
  select(name());
  EXPECT_TRUE(tab_->command(Command::StartService));
  ASSERT_TRUE(servicetests::WaitForServiceState(name(), SERVICE_RUNNING)) << "did not start";
  Row row = find(name());
  EXPECT_EQ(row.columns[2], L"Running");
  EXPECT_EQ(row.image, 0);  // green
  EXPECT_EQ(selected(), -1);  // the rebuild selects nothing
  EXPECT_GT(ui_.pumps, 0);    // the wait handled the window's messages

  select(name());
  ui_.answers = {platform::mb::kAnswerYes};
  tab_->command(Command::PauseService);
  row = find(name());
  EXPECT_EQ(row.columns[2], L"Paused");
  EXPECT_EQ(row.image, 2);  // yellow

  select(name());
  tab_->command(Command::ResumeService);
  row = find(name());
  EXPECT_EQ(row.columns[2], L"Running");
  EXPECT_EQ(row.image, 0);

  select(name());
  ui_.answers = {platform::mb::kAnswerYes};
  tab_->command(Command::StopService);
  row = find(name());
  EXPECT_EQ(row.columns[2], L"Stopped");
  EXPECT_EQ(row.image, 3);

  // Only Pause and Stop asked; nothing failed.
  ASSERT_EQ(ui_.boxes.size(), 2u);
  EXPECT_EQ(ui_.boxes[1].text,
            L"Stopping services might cause some programs to malfunction or result in system "
            L"instability!\r\n\r\nName: " + name() + L"\r\nDo you want to stop this service?");
  EXPECT_EQ(ui_.boxes[1].title, L"Warning!");
  EXPECT_EQ(ui_.boxes[1].flags, 52u);
}

TEST_F(ServicesTabTest, AnsweringNoToStopLeavesServiceAndListAlone) {
  ASSERT_EQ(service_->startAndWait(), 0u);
  tab_->refresh();
  select(name());
  const int before = selected();
  ui_.answers = {platform::mb::kAnswerNo};
  tab_->command(Command::StopService);
  EXPECT_EQ(servicetests::ServiceState(name()), static_cast<DWORD>(SERVICE_RUNNING));
  EXPECT_EQ(selected(), before);  // no rebuild took the selection away
  EXPECT_EQ(ui_.pumps, 0);        // and no wait
}

TEST_F(ServicesTabTest, StoppingAStoppedServiceShowsTheSystemsTextAndStillRebuilds) {
  tab_->refresh();
  select(name());
  ui_.answers = {platform::mb::kAnswerYes};
  tab_->command(Command::StopService);
  ASSERT_EQ(ui_.boxes.size(), 2u);
  wchar_t system[256] = {};
  ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_SERVICE_NOT_ACTIVE, 0, system, 256, nullptr);
  ASSERT_NE(system[0], L'\0');
  EXPECT_EQ(ui_.boxes[1].text, L"Name: " + name() + L"\r\n" + system);
  EXPECT_EQ(ui_.boxes[1].title, L"Service Error");
  EXPECT_EQ(ui_.boxes[1].flags, 16u);
  EXPECT_EQ(selected(), -1);  // rebuilt
  EXPECT_GE(find(name()).index, 0);
}

TEST_F(ServicesTabTest, DisabledTurnsTheRunningServiceRedAndClickingTheRowChecksIt) {
  ASSERT_EQ(service_->startAndWait(), 0u);
  tab_->refresh();
  select(name());
  EXPECT_TRUE(notify(NM_CLICK));
  EXPECT_TRUE(tab_->checked(Command::StartupManual));
  EXPECT_FALSE(tab_->checked(Command::StartupDisabled));

  tab_->command(Command::StartupDisabled);
  EXPECT_EQ(service_->startType(), static_cast<DWORD>(SERVICE_DISABLED));
  Row row = find(name());
  EXPECT_EQ(row.columns[2], L"Running");
  EXPECT_EQ(row.columns[3], L"Disabled");
  EXPECT_EQ(row.image, 1);  // red beats green
  // The check marks describe the row last clicked, not the rebuild.
  EXPECT_TRUE(tab_->checked(Command::StartupManual));

  select(name());
  notify(NM_CLICK);
  EXPECT_TRUE(tab_->checked(Command::StartupDisabled));
  EXPECT_FALSE(tab_->checked(Command::StartupManual));

  tab_->command(Command::StartupAutomatic);
  EXPECT_EQ(service_->startType(), static_cast<DWORD>(SERVICE_AUTO_START));
  EXPECT_EQ(find(name()).columns[3], L"Automatic");
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(ServicesTabTest, DeleteAnsweredYesOnTheRealMessageBoxRemovesTheRow) {
  platform::win32::Win32UserInterface real;
  context_.ui = &real;
  ASSERT_EQ(service_->startAndWait(), 0u);
  tab_->refresh();
  select(name());

  // The question is modal on this thread: another thread reads and answers it.
  testsupport::MessageBoxInfo seen;
  std::thread answer([&] {
    testsupport::WaitFor([&] { return (seen = testsupport::FindMessageBox(::GetCurrentProcessId())).window != nullptr; });
    if (seen.window) ::PostMessageW(seen.window, WM_COMMAND, IDYES, 0);
  });
  tab_->command(Command::DeleteService);
  answer.join();
  ASSERT_NE(seen.window, nullptr) << "no question was shown";
  EXPECT_EQ(seen.title, L"Warning!");
  EXPECT_NE(seen.text.find(L"Name: " + name()), std::wstring::npos);
  EXPECT_NE(seen.text.find(L"Do you want to DELETE this service?"), std::wstring::npos);

  // Stopped first, then deleted: gone by the time the command's own rebuild runs.
  EXPECT_EQ(find(name()).index, -1);
  EXPECT_FALSE(servicetests::ServiceExists(name()));
  EXPECT_EQ(status_, L"(" + std::to_wstring(count()) + L") Services");
}

TEST_F(ServicesTabTest, ThePageGoingDuringACommandsWaitEndsTheCommandQuietly) {
  tab_->refresh();
  select(name());
  ui_.onPump = [this] {
    ui_.onPump = nullptr;
    tab_.reset();  // as when the main window is closed from the wait
    ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  };
  dravik::ServicesTab* page = tab_.get();
  EXPECT_TRUE(page->command(Command::StartService));
  EXPECT_EQ(tab_, nullptr);
  EXPECT_EQ(count(), 0);  // the rebuild did not run for the gone page
  EXPECT_TRUE(servicetests::WaitForServiceState(name(), SERVICE_RUNNING));
}

TEST_F(ServicesTabTest, BothViewItemsUncheckedGiveAnEmptyListSilently) {
  tab_->refresh();
  ASSERT_GT(count(), 0);
  EXPECT_TRUE(tab_->command(Command::ViewWinServices));
  EXPECT_FALSE(tab_->checked(Command::ViewWinServices));
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(status_, L"(0) Services");
  EXPECT_TRUE(ui_.boxes.empty());

  // No rows: a right click brings no menu; with rows it does.
  EXPECT_TRUE(notify(NM_RCLICK));
  EXPECT_TRUE(popups_.empty());
  tab_->command(Command::ViewWinServices);
  EXPECT_TRUE(notify(NM_RCLICK));
  ASSERT_EQ(popups_.size(), 1u);
  EXPECT_EQ(popups_[0], dravik::Tab::Services);
}

TEST_F(ServicesTabTest, DriversOnlyListsWinesDriversWithTheirStartTypes) {
  tab_->command(Command::ViewWinServices);
  tab_->command(Command::ViewDriverServices);
  EXPECT_TRUE(tab_->checked(Command::ViewDriverServices));
  EXPECT_EQ(count(), ManagerCount(SERVICE_DRIVER));
  ASSERT_GT(count(), 0);
  EXPECT_EQ(find(name()).index, -1);
  const std::vector<std::wstring> startTypes = {L"Boot", L"System", L"Automatic", L"Manual", L"Disabled"};
  for (int i = 0; i < count(); ++i) {
    const std::wstring type = text(i, 5);
    EXPECT_TRUE(type == L"Kernel Mode Driver" || type == L"File System Driver") << i;
    EXPECT_NE(std::find(startTypes.begin(), startTypes.end(), text(i, 3)), startTypes.end()) << i;
    EXPECT_NE(text(i, 4).rfind(L"\\??\\", 0), 0u) << "device prefix not trimmed";
  }
  EXPECT_EQ(status_, L"(" + std::to_wstring(count()) + L") Services");

  tab_->command(Command::ViewWinServices);  // both
  EXPECT_EQ(count(), ManagerCount(SERVICE_WIN32 | SERVICE_DRIVER));
}

}  // namespace

namespace {

int g_ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

TEST(PauseUnderWine, TheWaitKeepsHandlingTheProgramsMessages) {
  platform::win32::Win32UserInterface ui;
  g_ticks = 0;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &CountTick);
  ASSERT_NE(timer, 0u);
  const DWORD start = ::GetTickCount();
  dravik::Pause(ui, dravik::SystemPauseClock(), 1);
  const DWORD waited = ::GetTickCount() - start;
  ::KillTimer(nullptr, timer);
  EXPECT_GE(waited, 900u);  // it did wait
  EXPECT_GT(g_ticks, 3);    // and timer messages were handled meanwhile
}

}  // namespace
