// The real main window and tray window, created in this test process with the
// real Win32 registry and language files.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "app/list_columns.h"
#include "app/main_language.h"
#include "app/win/list_view_helpers.h"
#include "app/win/main_window.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_window_manager.h"
#include "shell/win/sys_tray.h"
#include "support/win/screenshot.h"
#include "support/win/settings_guard.h"
#include "support/win/ui_test_support.h"
#include "support/win/test_support.h"

namespace {

using namespace dravik;
using namespace std::chrono_literals;

constexpr wchar_t kTestLanguage[] = L"ZzMainWindowTest";
constexpr BYTE kTestCharacterSet = 204;

// A double of a tab page: the real pages belong to the tabs and fill their
// lists from the system; here only what the main window asks of a page matters.
class RecordingPage final : public TabPage {
 public:
  RecordingPage(std::string name, std::vector<std::string>& log) : name_(std::move(name)), log_(log) {}
  void refresh() override { log_.push_back(name_ + ".refresh"); }
  void selected() override { log_.push_back(name_ + ".selected"); }
  void deselected() override { log_.push_back(name_ + ".deselected"); }
  bool command(Command c) override {
    log_.push_back(name_ + ".command" + std::to_string(static_cast<int>(c)));
    return true;
  }
  bool checked(Command c) const override {
    ++checkedAsks;
    return c == checkedCommand;
  }
  Command checkedCommand = Command::ViewDriverServices;
  mutable int checkedAsks = 0;

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

std::wstring Expected(const std::string& section, const std::string& key) {
  const std::string text = "T " + section + " " + key;
  return std::wstring(text.begin(), text.end());
}

// A language file whose every text names its own section and key, so each
// element shows which key labelled it.
std::wstring WriteTestLanguage() {
  std::map<std::string, std::string> sections;
  for (const LanguageKey& k : AllLanguageKeys()) {
    const std::string value = k.key == "CharacterSet" ? std::to_string(kTestCharacterSet)
                                                      : "T " + k.section + " " + k.key;
    sections[k.section] += k.key + "=" + value + "\r\n";
  }
  std::string contents;
  for (const auto& [section, lines] : sections) contents += "[" + section + "]\r\n" + lines;
  const std::wstring path = testsupport::ProgramDir() + L"\\Language\\" + kTestLanguage + L".lng";
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (out) {
    fwrite(contents.data(), 1, contents.size(), out);
    fclose(out);
  }
  return path;
}

std::wstring MenuText(HMENU menu, UINT id) {
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = 255;
    if (!::GetMenuItemInfoW(menu, i, TRUE, &info)) continue;
    if (info.wID == id) return text;
    if (info.hSubMenu) {
      std::wstring inner = MenuText(info.hSubMenu, id);
      if (!inner.empty()) return inner;
    }
  }
  return L"";
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testsupport::WriteSetting(L"Language", kTestLanguage);
    languagePath_ = WriteTestLanguage();
  }

  void open() {
    MainWindowOptions options;
    options.instance = ::GetModuleHandleW(nullptr);
    options.programFolder = testsupport::ProgramDir();
    options.registry = &registry_;
    options.profiles = &profiles_;
    options.ui = &ui_;
    options.createPages = [this](AppContext& context, const std::array<HWND, 4>& lists) {
      context_ = &context;
      TabPageSet set;
      const char* names[] = {"tasks", "processes", "services", "network"};
      for (int i = 0; i < 4; ++i) {
        auto page = std::make_unique<RecordingPage>(names[i], log_);
        pages_[i] = page.get();
        set.pages[i] = std::move(page);
      }
      (void)lists;
      set.timerTick = [this] { ++ticks_; };
      set.loaded = [this] { log_.push_back("loaded"); };
      set.unloading = [this] { log_.push_back("unloading"); };
      return set;
    };
    options.dialogs.showAbout = [this] { log_.push_back("about"); };
    options.dialogs.showRunDialog = [this](HWND owner, const std::wstring& prompt) {
      log_.push_back(owner == main() && prompt == Expected("Main", "98") ? "run" : "run-wrong");
    };
    options.dialogs.showHelpFile = [this](HWND) { log_.push_back("help"); };
    options.dialogs.checkForUpdates = [this](HWND) { log_.push_back("update"); };
    options.dialogs.showLanguageDialog = [this] { log_.push_back("language"); };
    options.dialogs.labelAbout = [this] { log_.push_back("labelAbout"); };
    options.dialogs.labelLanguageDialog = [this] { log_.push_back("labelLanguageDialog"); };
    tray_ = std::make_unique<SysTray>(::GetModuleHandleW(nullptr));
    ASSERT_TRUE(tray_->create(std::move(options)));
    ASSERT_TRUE(::IsWindow(main()));
    testsupport::PumpFor(200ms);
  }

  void TearDown() override {
    if (tray_ && tray_->window()) tray_->callExit();
    tray_.reset();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    ::DeleteFileW(languagePath_.c_str());
  }

  HWND main() const { return tray_ && tray_->mainWindow() ? tray_->mainWindow()->window() : nullptr; }
  MainWindow& window() { return *tray_->mainWindow(); }
  bool logged(const std::string& entry) const {
    return std::find(log_.begin(), log_.end(), entry) != log_.end();
  }
  bool buttonEnabled(int position) {
    return ::SendMessageW(window().toolbar(), TB_ISBUTTONENABLED, ToolbarCommandId(position), 0) != 0;
  }
  void clickButton(int position) {
    ::SendMessageW(main(), WM_COMMAND, MAKEWPARAM(ToolbarCommandId(position), BN_CLICKED),
                   reinterpret_cast<LPARAM>(window().toolbar()));
  }
  void chooseMenu(MenuId id) { ::SendMessageW(main(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
  RECT clientRectOf(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, main(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  bool trayIconExists() {
    // The shell answers a change to an icon only while the icon is there.
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = trayWindow_ ? trayWindow_ : tray_->window();
    data.uID = SysTray::kIconId;
    data.uFlags = NIF_TIP;
    wcscpy(data.szTip, L"Dravik Task Manager");
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
  }

  testsupport::SettingsGuard settings_{{L"Language", L"Heigth", L"Width"}};
  platform::win32::Win32Registry registry_;
  platform::win32::Win32ProfileFiles profiles_;
  platform::win32::Win32UserInterface ui_;
  std::unique_ptr<SysTray> tray_;
  AppContext* context_ = nullptr;
  std::array<RecordingPage*, 4> pages_{};
  std::vector<std::string> log_;
  int ticks_ = 0;
  HWND trayWindow_ = nullptr;
  std::wstring languagePath_;
};

TEST_F(MainWindowTest, EveryElementShowsTheTextOfItsKey) {
  open();
  MainWindow& w = window();
  for (const LanguageElement& e : MainLanguageElements()) {
    const std::wstring expected = Expected("Main", e.key);
    switch (e.kind) {
      case ElementKind::MenuItem: {
        std::wstring text = MenuText(::GetMenu(main()), e.index);
        for (Tab tab : {Tab::Tasks, Tab::Processes, Tab::Services, Tab::Network}) {
          if (text.empty()) text = MenuText(w.popupMenu(tab), e.index);
        }
        const std::wstring shown = static_cast<MenuId>(e.index) == MenuId::HelpFile ? expected + L"\tF1" : expected;
        EXPECT_EQ(text, shown) << "menu item " << e.index;
        break;
      }
      case ElementKind::ToolTip: {
        // Ask the window as the toolbar's tool tip does.
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = reinterpret_cast<HWND>(::SendMessageW(w.toolbar(), TB_GETTOOLTIPS, 0, 0));
        info.hdr.idFrom = ToolbarCommandId(e.index);
        info.hdr.code = TTN_GETDISPINFOW;
        ::SendMessageW(main(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        ASSERT_NE(info.lpszText, nullptr);
        EXPECT_EQ(std::wstring(info.lpszText), expected) << "tip of button " << e.index;
        break;
      }
      case ElementKind::TabCaption: {
        wchar_t text[128] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 127;
        ::SendMessageW(w.tabStrip(), TCM_GETITEMW, e.index - 1, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(std::wstring(text), expected) << "tab " << e.index;
        break;
      }
      case ElementKind::ColumnHeader: {
        wchar_t text[128] = {};
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = text;
        column.cchTextMax = 127;
        ::SendMessageW(w.list(static_cast<ListId>(e.index)), LVM_GETCOLUMNW, e.column - 1,
                       reinterpret_cast<LPARAM>(&column));
        EXPECT_EQ(std::wstring(text), expected) << "list " << e.index << " column " << e.column;
        break;
      }
      case ElementKind::StatusTip: {
        wchar_t text[128] = {};
        ::SendMessageW(w.statusBar(), SB_GETTIPTEXTW, MAKEWPARAM(e.index - 1, 127),
                       reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::wstring(text), expected) << "status tip " << e.index;
        break;
      }
    }
  }
  // The handle column keeps its own header in every language.
  wchar_t handle[32] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = handle;
  column.cchTextMax = 31;
  ::SendMessageW(w.list(ListId::Apps), LVM_GETCOLUMNW, 2, reinterpret_cast<LPARAM>(&column));
  EXPECT_STREQ(handle, L"hWnd");
  for (const MessageTextKey& m : MessageTextKeys()) {
    EXPECT_EQ(w.messages()[m.text], Expected(m.section, m.key));
  }
  LOGFONTW font{};
  ASSERT_NE(w.statusFont(), nullptr);
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(w.statusBar(), WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_EQ(font.lfCharSet, kTestCharacterSet);
  wchar_t tray[64] = {};
  ::GetMenuStringW(tray_->menu(), SysTray::kMenuOpen, tray, 63, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(tray), Expected("Tray", "1"));
  ::GetMenuStringW(tray_->menu(), SysTray::kMenuExit, tray, 63, MF_BYCOMMAND);
  EXPECT_EQ(std::wstring(tray), Expected("Tray", "2"));
  wchar_t panel[128] = {};
  ::SendMessageW(w.statusBar(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(panel));
  EXPECT_EQ(std::wstring(panel), L"(0) " + Expected("Main", "74"));
  EXPECT_EQ(::GetWindowTextLengthW(main()), 19);  // the caption is not translated
  // The About box and the language dialog were labelled at load, the tray
  // menu twice (by the main window's load and by the tray's own).
  EXPECT_TRUE(logged("labelAbout"));
  EXPECT_EQ(std::count(log_.begin(), log_.end(), "labelLanguageDialog"), 2);
}

TEST_F(MainWindowTest, LoadRunsInOrderAndTheTimerTicksWhileHidden) {
  open();
  const auto at = [&](const std::string& entry) {
    return std::find(log_.begin(), log_.end(), entry) - log_.begin();
  };
  EXPECT_LT(at("labelAbout"), at("tasks.refresh"));
  EXPECT_LT(at("tasks.refresh"), at("loaded"));
  EXPECT_TRUE(ColumnLockInstalled(window().list(ListId::Apps)));
  EXPECT_TRUE(::IsWindowVisible(main()));
  ::ShowWindow(main(), SW_HIDE);
  const int before = ticks_;
  EXPECT_TRUE(testsupport::PumpUntil([&] { return ticks_ >= before + 2; }, 5s))
      << "the one-second timer stopped while the window was hidden";
}

TEST_F(MainWindowTest, TabSwitchMovesThePagesAndSetsTheButtons) {
  open();
  MainWindow& w = window();
  struct Expect {
    Tab tab;
    std::vector<int> on;
    std::vector<int> off;
  };
  const Expect cases[] = {
      {Tab::Processes, {2, 6, 7, 8, 16}, {3, 4, 10, 11, 12, 13, 14}},
      {Tab::Services, {2, 10, 11, 12, 13, 14, 16}, {3, 4, 6, 7, 8}},
      {Tab::Network, {2, 6, 7, 8, 16}, {3, 4, 10, 11, 12, 13, 14}},
      {Tab::Tasks, {2, 3, 4, 16}, {6, 7, 8, 10, 11, 12, 13, 14}},
  };
  for (const Expect& c : cases) {
    log_.clear();
    w.selectTab(c.tab);
    testsupport::PumpFor(100ms);
    EXPECT_EQ(w.selectedTab(), c.tab);
    for (int p : c.on) EXPECT_TRUE(buttonEnabled(p)) << "tab " << static_cast<int>(c.tab) << " button " << p;
    for (int p : c.off) EXPECT_FALSE(buttonEnabled(p)) << "tab " << static_cast<int>(c.tab) << " button " << p;
    for (int i = 0; i < 4; ++i) {
      const RECT r = clientRectOf(w.page(i));
      if (i == static_cast<int>(c.tab) - 1) {
        EXPECT_EQ(r.left, 7);  // 100 twips
        EXPECT_EQ(r.top, 56);  // 840 twips
        EXPECT_TRUE(::IsWindowEnabled(w.page(i)));
      } else {
        EXPECT_EQ(r.left, -1333);  // -20000 twips: outside the window
        EXPECT_FALSE(::IsWindowEnabled(w.page(i)));
      }
    }
    testsupport::SaveScreenshot(L"test-window-tab-" + std::to_wstring(static_cast<int>(c.tab)));
    switch (c.tab) {
      case Tab::Processes:
      case Tab::Services:
        EXPECT_TRUE(logged(std::string(c.tab == Tab::Processes ? "processes" : "services") + ".refresh"));
        break;
      case Tab::Network: {
        EXPECT_TRUE(logged("network.selected"));
        EXPECT_FALSE(logged("network.refresh"));  // the page's own timer rebuilds it
        wchar_t panel[128] = {};
        ::SendMessageW(w.statusBar(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(panel));
        EXPECT_EQ(std::wstring(panel), L"(0) " + Expected("Main", "97"));
        break;
      }
      case Tab::Tasks:
        // Leaving the Network tab stops its timer.
        EXPECT_TRUE(logged("network.deselected"));
        EXPECT_FALSE(logged("tasks.refresh"));
        break;
    }
  }
}

TEST_F(MainWindowTest, ButtonsAndMenusReachTheirCommandsThroughOneTable) {
  open();
  MainWindow& w = window();
  clickButton(7);  // Terminate on the Tasks tab: nothing to terminate there
  clickButton(8);
  EXPECT_TRUE(log_.empty() || std::none_of(log_.begin(), log_.end(), [](const std::string& s) {
                return s.find(".command") != std::string::npos;
              }));
  log_.clear();
  w.selectTab(Tab::Processes);
  clickButton(7);
  EXPECT_TRUE(logged("processes.command" + std::to_string(static_cast<int>(Command::TerminateProcess))));
  w.selectTab(Tab::Network);
  clickButton(8);
  EXPECT_TRUE(logged("network.command" + std::to_string(static_cast<int>(Command::NetworkFileProperties))));
  clickButton(2);
  EXPECT_TRUE(logged("network.refresh"));
  clickButton(11);  // service buttons act whatever tab is selected
  EXPECT_TRUE(logged("services.command" + std::to_string(static_cast<int>(Command::StopService))));
  clickButton(6);
  EXPECT_TRUE(logged("run"));
  clickButton(16);
  EXPECT_TRUE(logged("about"));
  log_.clear();
  chooseMenu(MenuId::About);
  chooseMenu(MenuId::Update);
  chooseMenu(MenuId::Language);
  chooseMenu(MenuId::ManualServ);
  chooseMenu(MenuId::CloseConnection);
  EXPECT_EQ(log_, (std::vector<std::string>{
                      "about", "update", "language",
                      "services.command" + std::to_string(static_cast<int>(Command::StartupManual)),
                      "network.command" + std::to_string(static_cast<int>(Command::CloseConnection))}));
  // F1 anywhere in the window opens the help.
  HELPINFO help{};
  help.cbSize = sizeof(help);
  ::SendMessageW(main(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
  EXPECT_TRUE(logged("help"));
}

TEST_F(MainWindowTest, MenuCheckMarksComeFromThePages) {
  open();
  HMENU view = nullptr;
  HMENU bar = ::GetMenu(main());
  for (int i = 0; i < ::GetMenuItemCount(bar); ++i) {
    if (::GetMenuItemID(::GetSubMenu(bar, i), 0) == static_cast<UINT>(MenuId::ShowWinServ)) view = ::GetSubMenu(bar, i);
  }
  ASSERT_NE(view, nullptr);
  pages_[2]->checkedCommand = Command::ViewDriverServices;
  ::SendMessageW(main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 1);
  EXPECT_FALSE(::GetMenuState(view, static_cast<UINT>(MenuId::ShowWinServ), MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_TRUE(::GetMenuState(view, static_cast<UINT>(MenuId::ShowDrvServ), MF_BYCOMMAND) & MF_CHECKED);
  pages_[2]->checkedCommand = Command::ViewWinServices;
  ::SendMessageW(main(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 1);
  EXPECT_TRUE(::GetMenuState(view, static_cast<UINT>(MenuId::ShowWinServ), MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_FALSE(::GetMenuState(view, static_cast<UINT>(MenuId::ShowDrvServ), MF_BYCOMMAND) & MF_CHECKED);
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  ::EndMenu();
}

TEST_F(MainWindowTest, APagesPopupMenuShowsWithItsCheckMarksFromThePage) {
  open();
  ::SetForegroundWindow(main());
  pages_[2]->checkedAsks = 0;
  // The menu stays open until something closes it: a timer does here.
  ::SetTimer(nullptr, 0, 300, &CloseMenu);
  context_->showPopupMenu(Tab::Services, POINT{300, 300});
  EXPECT_GT(pages_[2]->checkedAsks, 0) << "the page was not asked for its check marks";
}

TEST_F(MainWindowTest, CloseBoxHidesAndTheTrayIconBringsTheWindowBack) {
  open();
  ASSERT_TRUE(tray_->iconAdded());
  ::SendMessageW(main(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(::IsWindow(main()));
  EXPECT_FALSE(::IsWindowVisible(main()));
  EXPECT_TRUE(trayIconExists());
  EXPECT_FALSE(logged("unloading"));
  // A single left click is enough, also for a minimized window.
  ::SendMessageW(tray_->window(), SysTray::kIconMessage, SysTray::kIconId, WM_LBUTTONUP);
  EXPECT_TRUE(::IsWindowVisible(main()));
  ::ShowWindow(main(), SW_MINIMIZE);
  ::SendMessageW(tray_->window(), SysTray::kIconMessage, SysTray::kIconId, WM_LBUTTONDOWN);
  EXPECT_TRUE(::IsIconic(main()));  // a press alone does nothing
  ::SendMessageW(tray_->window(), SysTray::kIconMessage, SysTray::kIconId, WM_LBUTTONDBLCLK);
  EXPECT_FALSE(::IsIconic(main()));
  EXPECT_TRUE(::IsWindowVisible(main()));
}

TEST_F(MainWindowTest, FileExitSavesTheSizeClosesEveryWindowAndRemovesTheIcon) {
  open();
  // Another window of the program, as a dialog would be: it must be closed too.
  HWND dialog = ::CreateWindowExW(0, L"STATIC", L"a dialog", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                                  200, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(dialog, nullptr);
  ::SetWindowPos(main(), nullptr, 0, 0, 800, 640, SWP_NOMOVE | SWP_NOZORDER);
  trayWindow_ = tray_->window();
  ASSERT_TRUE(trayIconExists());
  chooseMenu(MenuId::Exit);
  EXPECT_FALSE(::IsWindow(main()));
  EXPECT_FALSE(::IsWindow(dialog));
  EXPECT_TRUE(logged("unloading"));
  EXPECT_EQ(testsupport::ReadSetting(L"Heigth"), L"9600");  // 640 pixels at 15 twips each
  EXPECT_EQ(testsupport::ReadSetting(L"Width"), L"12000");
  EXPECT_FALSE(tray_->iconAdded());
  EXPECT_FALSE(trayIconExists());
  MSG quit;
  EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "the message loop was not ended";
}

TEST_F(MainWindowTest, AStoredSizeThatIsNotANumberGivesTheDefaultAndIsRepaired) {
  testsupport::WriteSetting(L"Heigth", L"tall");
  testsupport::WriteSetting(L"Width", L"12000");
  open();
  RECT r{};
  ::GetWindowRect(main(), &r);
  EXPECT_EQ(r.bottom - r.top, 588);  // 8820 twips
  EXPECT_EQ(r.right - r.left, 800);  // 12000 twips
  EXPECT_EQ(testsupport::ReadSetting(L"Heigth"), L"8820");
}

TEST_F(MainWindowTest, AbsurdSizesAndAMissingLanguageFileLeaveAWorkingWindow) {
  testsupport::WriteSetting(L"Heigth", L"-40");
  testsupport::WriteSetting(L"Width", L"9999999");
  testsupport::WriteSetting(L"Language", L"NoSuchLanguage");
  open();
  RECT r{};
  ::GetWindowRect(main(), &r);
  EXPECT_EQ(r.bottom - r.top, 588);  // snapped to the minimum
  EXPECT_GE(r.right - r.left, 761);
  // Every text is empty, nothing else is missing.
  EXPECT_EQ(MenuText(::GetMenu(main()), static_cast<UINT>(MenuId::Exit)), L"");
  EXPECT_EQ(window().messages()[MessageText::Warning], L"");
  window().selectTab(Tab::Services);
  EXPECT_EQ(window().selectedTab(), Tab::Services);
  chooseMenu(MenuId::Exit);
  EXPECT_FALSE(::IsWindow(main()));
  // The size stored at the end is a real one again.
  EXPECT_EQ(testsupport::ReadSetting(L"Heigth"), L"8820");
}

// The visual-style switch of the current user, put back afterwards.
class ThemeSwitch {
 public:
  ThemeSwitch() {
    wchar_t data[16] = {};
    DWORD size = sizeof(data);
    if (::RegGetValueW(HKEY_CURRENT_USER, kKey, L"ThemeActive", RRF_RT_REG_SZ, nullptr, data, &size) == 0) {
      saved_ = data;
    }
  }
  ~ThemeSwitch() {
    if (saved_) {
      set(*saved_);
    } else {
      ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"ThemeActive");
    }
  }
  void set(const std::wstring& value) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"ThemeActive", REG_SZ, value.c_str(),
                      static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }

 private:
  static constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
  std::optional<std::wstring> saved_;
};

TEST_F(MainWindowTest, ShrinkingBelowTheMinimumSnapsBackAndTheLayoutFollowsTheSize) {
  testsupport::DeleteSetting(L"Heigth");
  testsupport::DeleteSetting(L"Width");
  ThemeSwitch theme;
  theme.set(L"0");
  open();
  MainWindow& w = window();
  ::SetWindowPos(main(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  testsupport::PumpFor(100ms);
  RECT r{};
  ::GetWindowRect(main(), &r);
  EXPECT_EQ(r.right - r.left, 761);
  EXPECT_EQ(r.bottom - r.top, 588);

  // Tab strip, page and list margins, in twips converted at 15 per pixel.
  RECT tab = clientRectOf(w.tabStrip());
  RECT status{};
  ::GetWindowRect(w.statusBar(), &status);
  const int statusHeight = status.bottom - status.top;
  EXPECT_NEAR(tab.right - tab.left, (11415 - 200) / 15.0, 1);
  EXPECT_NEAR(tab.bottom - tab.top, (8820 - (statusHeight * 15 + 1220)) / 15.0, 1);
  // With visual styles the margins are wider; the switch is read at every resize.
  theme.set(L"1");
  ::SetWindowPos(main(), nullptr, 0, 0, 762, 588, SWP_NOMOVE | SWP_NOZORDER);
  ::SetWindowPos(main(), nullptr, 0, 0, 761, 588, SWP_NOMOVE | SWP_NOZORDER);
  const RECT styled = clientRectOf(w.tabStrip());
  EXPECT_NEAR(styled.right - styled.left, (11415 - 250) / 15.0, 1);
  EXPECT_NEAR(styled.bottom - styled.top, (8820 - (statusHeight * 15 + 1320)) / 15.0, 1);
  tab = styled;
  for (int i = 0; i < 4; ++i) {
    RECT page{}, list{};
    ::GetWindowRect(w.page(i), &page);
    ::GetWindowRect(w.list(static_cast<ListId>(i)), &list);
    EXPECT_NEAR(page.right - page.left, (tab.right - tab.left) - 160 / 15.0, 1);
    EXPECT_NEAR(page.bottom - page.top, (tab.bottom - tab.top) - 420 / 15.0, 1);
    EXPECT_EQ(list.right - list.left, page.right - page.left);
    EXPECT_NEAR(list.bottom - list.top, (page.bottom - page.top) - 20 / 15.0, 1);
  }
  // A dragged column goes back to its share of the page at the next resize.
  HWND apps = w.list(ListId::Apps);
  ::SendMessageW(apps, LVM_SETCOLUMNWIDTH, 0, 30);
  ::SendMessageW(apps, LVM_SETCOLUMNWIDTH, 2, 40);
  ::SetWindowPos(main(), nullptr, 0, 0, 762, 588, SWP_NOMOVE | SWP_NOZORDER);
  RECT page{};
  ::GetWindowRect(w.page(0), &page);
  EXPECT_NEAR(::SendMessageW(apps, LVM_GETCOLUMNWIDTH, 0, 0), 0.55 * (page.right - page.left), 1);
  EXPECT_EQ(::SendMessageW(apps, LVM_GETCOLUMNWIDTH, 2, 0), 0);
  // Figures in the process list line up on the right.
  LVCOLUMNW format{};
  format.mask = LVCF_FMT;
  ::SendMessageW(w.list(ListId::Processes), LVM_GETCOLUMNW, 2, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
  ::SendMessageW(w.list(ListId::Processes), LVM_GETCOLUMNW, 4, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
}

// Presses on the header at `x` (client coordinates of the header), drags
// 60 pixels to the right and lets go, with the real cursor there too: the lock
// looks at the cursor.
void DragHeader(HWND header, int x) {
  RECT item{};
  ::SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
  POINT at{x, (item.top + item.bottom) / 2};
  POINT screen = at;
  ::ClientToScreen(header, &screen);
  ::SetCursorPos(screen.x, screen.y);
  ::SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
  ::SetCursorPos(screen.x + 60, screen.y);
  ::SendMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x + 60, at.y));
  ::SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(at.x + 60, at.y));
  ::ReleaseCapture();
}

int RightEdge(HWND header, int item) {
  RECT r{};
  ::SendMessageW(header, HDM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
  return r.right;
}

TEST_F(MainWindowTest, DraggingTheHandleDividerIsRefusedWhileTheOthersWork) {
  open();
  HWND apps = window().list(ListId::Apps);
  HWND header = reinterpret_cast<HWND>(::SendMessageW(apps, LVM_GETHEADER, 0, 0));
  ::SetForegroundWindow(main());
  testsupport::PumpFor(100ms);
  ASSERT_EQ(::SendMessageW(apps, LVM_GETCOLUMNWIDTH, 2, 0), 0);

  const int pid = static_cast<int>(::SendMessageW(apps, LVM_GETCOLUMNWIDTH, 3, 0));
  DragHeader(header, RightEdge(header, 3) - 1);
  EXPECT_GT(::SendMessageW(apps, LVM_GETCOLUMNWIDTH, 3, 0), pid) << "the PID divider did not move";
  const int task = static_cast<int>(::SendMessageW(apps, LVM_GETCOLUMNWIDTH, 0, 0));
  DragHeader(header, RightEdge(header, 0) - 1);
  EXPECT_GT(::SendMessageW(apps, LVM_GETCOLUMNWIDTH, 0, 0), task) << "the Task divider did not move";

  // Where the hidden column's divider lies: on the right edge of "Status".
  DragHeader(header, RightEdge(header, 2));
  EXPECT_EQ(::SendMessageW(apps, LVM_GETCOLUMNWIDTH, 2, 0), 0) << "the handle column was dragged open";
  NMHEADERW track{};
  track.hdr.hwndFrom = header;
  track.hdr.code = HDN_DIVIDERDBLCLICKW;
  track.iItem = 2;
  EXPECT_EQ(::SendMessageW(apps, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&track)), TRUE);

  // Without the lock the same drag opens it: the test above would notice a
  // lock that does nothing.
  UnhookColumnLock(apps);
  EXPECT_FALSE(ColumnLockInstalled(apps));
  DragHeader(header, RightEdge(header, 2));
  EXPECT_GT(::SendMessageW(apps, LVM_GETCOLUMNWIDTH, 2, 0), 0);
}

TEST_F(MainWindowTest, HeaderClicksSortByTheRulesOfEachList) {
  open();
  MainWindow& w = window();
  const auto click = [&](ListId id, int column) {
    NMLISTVIEW note{};
    note.hdr.hwndFrom = w.list(id);
    note.hdr.idFrom = ::GetDlgCtrlID(w.list(id));
    note.hdr.code = LVN_COLUMNCLICK;
    note.iItem = -1;
    note.iSubItem = column - 1;
    ::SendMessageW(main(), WM_NOTIFY, note.hdr.idFrom, reinterpret_cast<LPARAM>(&note));
  };
  const auto addRow = [&](ListId id, std::vector<std::wstring> cells) {
    HWND list = w.list(id);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = cells[0].data();
    const int row = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    for (std::size_t c = 1; c < cells.size(); ++c) {
      LVITEMW sub{};
      sub.iSubItem = static_cast<int>(c);
      sub.pszText = cells[c].data();
      ::SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
    }
  };
  // An empty list ignores the click and stays unsorted when rows come.
  click(ListId::Services, 2);
  EXPECT_FALSE(ListSortState(w.list(ListId::Services)).sorting);

  addRow(ListId::Apps, {L"b", L"Running", L"&h1", L"9"});
  addRow(ListId::Apps, {L"a", L"Running", L"&h2", L"10"});
  click(ListId::Apps, 3);  // the hidden handle column does not sort
  EXPECT_FALSE(ListSortState(w.list(ListId::Apps)).sorting);
  click(ListId::Apps, 4);
  EXPECT_EQ(ListSortState(w.list(ListId::Apps)), (SortState{true, 3, 1}));

  addRow(ListId::Network, {L"x", L"TCP", L"0.0.0.0", L"80"});
  click(ListId::Network, 4);
  EXPECT_EQ(IndexSort(w.list(ListId::Network)), 4);
  EXPECT_EQ(ListSortState(w.list(ListId::Network)), (SortState{true, 3, 1}));
}

}  // namespace
