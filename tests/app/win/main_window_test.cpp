// The real main window and tray window, created in this test process with the
// real registry and language files; the tab pages are doubles (the real ones
// fill their lists from the system), since only what the window asks of a page
// matters here.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "app/layout.h"
#include "app/main_language.h"
#include "app/win/app.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_window_manager.h"
#include "support/win/ui_test_support.h"

// Win32 structures are filled by naming only the fields a call reads.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

// The command id the toolbar button at a 1-based position sends.
int ButtonId(int position) { return static_cast<int>(dravik::ToolbarButtons()[position - 1].command); }

using namespace dravik;
using namespace std::chrono_literals;
constexpr wchar_t kTestLanguage[] = L"ZzMainWindowTest";
constexpr BYTE kTestCharacterSet = 204;

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

 private:
  std::string name_;
  std::vector<std::string>& log_;
};

// The text every key gets from the test language: its own section and key, so all differ.
std::wstring Expected(const std::string& section, const std::string& key) {
  const std::string text = "T " + section + " " + key;
  return std::wstring(text.begin(), text.end());
}

// Every item's text, depth first: the order the menu table lists them in.
std::vector<std::wstring> MenuTexts(HMENU menu) {
  std::vector<std::wstring> texts;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    wchar_t text[256] = {};
    ::GetMenuStringW(menu, static_cast<UINT>(i), text, 255, MF_BYPOSITION);
    texts.push_back(text);
    const std::vector<std::wstring> inner = ::GetSubMenu(menu, i) ? MenuTexts(::GetSubMenu(menu, i)) : std::vector<std::wstring>{};
    texts.insert(texts.end(), inner.begin(), inner.end());
  }
  return texts;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::map<std::string, std::string> sections;
    for (const LanguageKey& k : AllLanguageKeys()) {
      sections[k.section] += k.key + "=" +
                             (k.key == "CharacterSet" ? std::to_string(kTestCharacterSet) : "T " + k.section + " " + k.key) +
                             "\r\n";
    }
    std::string contents;
    for (const auto& [section, lines] : sections) contents += "[" + section + "]\r\n" + lines;
    ASSERT_TRUE(std::ofstream(std::filesystem::path(languagePath_), std::ios::binary) << contents);
    testsupport::WriteSetting(L"Language", kTestLanguage);

    MainWindowOptions options;
    options.instance = ::GetModuleHandleW(nullptr);
    options.programFolder = testsupport::ProgramDir();
    options.registry = &registry_;
    options.profiles = &profiles_;
    options.ui = &ui_;
    options.createPages = [this](AppContext&, const std::array<HWND, 4>&) {
      TabPageSet set;
      const char* names[] = {"tasks", "processes", "services", "network"};
      for (int i = 0; i < 4; ++i) set.pages[i] = std::make_unique<RecordingPage>(names[i], log_);
      return set;
    };
    options.dialogs.showAbout = [this] { log_.push_back("about"); };
    options.dialogs.showRunDialog = [this](HWND, const std::wstring& prompt) {
      log_.push_back(prompt == Expected("Main", "98") ? "run" : "run with a wrong prompt");
    };
    options.dialogs.showHelpFile = [this](HWND) { log_.push_back("help"); };
    app_ = std::make_unique<dravik::App>(::GetModuleHandleW(nullptr), std::move(options));
    ASSERT_TRUE(app_->open());
    main_ = app_->mainWindow()->window();
    testsupport::PumpFor(200ms);
  }

  void TearDown() override {
    if (app_ && app_->tray().window()) app_->tray().callExit();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    ::DeleteFileW(languagePath_.c_str());
  }

  MainWindow& window() { return *app_->mainWindow(); }
  bool logged(const std::string& entry) const { return std::count(log_.begin(), log_.end(), entry) > 0; }
  void clickButton(int position) {
    ::SendMessageW(main_, WM_COMMAND, MAKEWPARAM(ButtonId(position), BN_CLICKED),
                   reinterpret_cast<LPARAM>(window().toolbar()));
  }
  std::string command(const char* page, Command c) { return page + std::string(".command") + std::to_string(static_cast<int>(c)); }

  testsupport::RegistryGuard settings_{HKEY_LOCAL_MACHINE, testsupport::kSettingsKey, {L"Language", L"Heigth", L"Width"}};
  std::wstring languagePath_ = testsupport::ProgramDir() + L"\\Language\\" + kTestLanguage + L".lng";
  platform::win32::Win32Registry registry_;
  platform::win32::Win32ProfileFiles profiles_;
  platform::win32::Win32UserInterface ui_;
  std::unique_ptr<dravik::App> app_;
  HWND main_ = nullptr;
  std::vector<std::string> log_;
};

TEST_F(MainWindowTest, EveryElementShowsTheTextOfItsKey) {
  MainWindow& w = window();
  std::vector<std::wstring> menus = MenuTexts(::GetMenu(main_));
  for (Tab tab : kTabs) {
    const std::vector<std::wstring> popup = MenuTexts(w.popupMenu(tab));
    menus.insert(menus.end(), popup.begin(), popup.end());
  }
  ASSERT_EQ(menus.size(), MenuItems().size());
  for (const LanguageElement& e : MainLanguageElements()) {
    wchar_t text[256] = {};
    const std::wstring expected = Expected("Main", e.key);
    switch (e.kind) {
      case ElementKind::MenuItem: {
        const auto index = static_cast<std::size_t>(e.index);
        EXPECT_EQ(menus[index], MenuItems()[index].command == Command::HelpFile ? expected + L"\tF1" : expected)
            << "menu item " << e.index;
        continue;
      }
      case ElementKind::ToolTip: {  // asked of the window as the toolbar's tool tip does
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = reinterpret_cast<HWND>(::SendMessageW(w.toolbar(), TB_GETTOOLTIPS, 0, 0));
        info.hdr.idFrom = static_cast<UINT_PTR>(ButtonId(e.index));
        info.hdr.code = TTN_GETDISPINFOW;
        ::SendMessageW(main_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        if (info.lpszText) wcsncpy(text, info.lpszText, 255);
        break;
      }
      case ElementKind::TabCaption: {
        TCITEMW item{.mask = TCIF_TEXT, .pszText = text, .cchTextMax = 255};
        ::SendMessageW(w.tabStrip(), TCM_GETITEMW, e.index - 1, reinterpret_cast<LPARAM>(&item));
        break;
      }
      case ElementKind::ColumnHeader: {
        LVCOLUMNW column{.mask = LVCF_TEXT, .pszText = text, .cchTextMax = 255};
        ::SendMessageW(w.list(static_cast<dravik::Tab>(e.index)), LVM_GETCOLUMNW, e.column - 1,
                       reinterpret_cast<LPARAM>(&column));
        break;
      }
      case ElementKind::StatusTip:
        ::SendMessageW(w.statusBar(), SB_GETTIPTEXTW, MAKEWPARAM(e.index - 1, 255), reinterpret_cast<LPARAM>(text));
        break;
    }
    EXPECT_EQ(std::wstring(text), expected) << "kind " << static_cast<int>(e.kind) << " index " << e.index
                                            << " column " << e.column;
  }
  for (const MessageTextKey& m : MessageTextKeys()) EXPECT_EQ(w.messages()[m.text], Expected(m.section, m.key));
  EXPECT_EQ(MenuTexts(app_->tray().menu()), (std::vector<std::wstring>{Expected("Tray", "1"), L"", Expected("Tray", "2")}));
  EXPECT_EQ(testsupport::FontCharset(w.statusBar()), kTestCharacterSet);
}

TEST_F(MainWindowTest, TabSwitchesMoveThePagesSetTheButtonsAndCommandsReachThePages) {
  MainWindow& w = window();
  const std::pair<Tab, std::set<int>> tabs[] = {{Tab::Processes, {2, 6, 7, 8, 16}},
                                                {Tab::Services, {2, 10, 11, 12, 13, 14, 16}},
                                                {Tab::Network, {2, 6, 7, 8, 16}},
                                                {Tab::Tasks, {2, 3, 4, 16}}};
  for (const auto& [tab, enabled] : tabs) {
    const int t = static_cast<int>(tab);
    log_.clear();
    w.selectTab(tab);
    testsupport::PumpFor(100ms);
    for (int p : {2, 3, 4, 6, 7, 8, 10, 11, 12, 13, 14, 16}) {
      const bool on = ::SendMessageW(w.toolbar(), TB_ISBUTTONENABLED, ButtonId(p), 0) != 0;
      EXPECT_EQ(on, enabled.count(p) == 1) << "tab " << t << " button " << p;
    }
    for (int i = 0; i < 4; ++i) {  // the selected page at 100 x 840 twips, the others at -20000
      EXPECT_EQ(testsupport::RectInParent(w.page(i)).left, i == t - 1 ? 7 : -1333) << "tab " << t << " page " << i;
      EXPECT_EQ(::IsWindowEnabled(w.page(i)) != 0, i == t - 1) << "tab " << t << " page " << i;
    }
    EXPECT_EQ(logged("processes.refresh"), tab == Tab::Processes);
    EXPECT_EQ(logged("services.refresh"), tab == Tab::Services);
    EXPECT_EQ(logged("network.selected"), tab == Tab::Network);  // its own timer rebuilds it
    EXPECT_FALSE(logged("network.refresh") || logged("tasks.refresh"));
    EXPECT_EQ(logged("network.deselected"), tab == Tab::Tasks);  // leaving Network stops its timer
  }
  // Which command each button and menu item means is proven natively; here they reach the pages and dialogs.
  log_.clear();
  clickButton(7);  // Terminate: nothing to do on the Tasks tab
  EXPECT_TRUE(log_.empty());
  w.selectTab(Tab::Network);
  log_.clear();
  clickButton(8);
  clickButton(11);  // service buttons act whatever tab is selected
  clickButton(6);
  ::SendMessageW(main_, WM_COMMAND, static_cast<WPARAM>(Command::About), 0);
  HELPINFO help{.cbSize = sizeof(HELPINFO)};
  ::SendMessageW(main_, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));  // F1 anywhere
  EXPECT_EQ(log_, (std::vector<std::string>{command("network", Command::FileProperties),
                                            command("services", Command::StopService), "run", "about", "help"}));
}

// The menu a right click opens, as the main window is told of it; the menu is
// closed again from a timer inside its own message loop.
HMENU RightClick(HWND main, HWND list) {
  static HMENU shown;
  shown = nullptr;
  auto spy = [](HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) -> LRESULT {
    if (m == WM_INITMENUPOPUP) shown = reinterpret_cast<HMENU>(wp);
    return ::DefSubclassProc(w, m, wp, lp);
  };
  ::SetWindowSubclass(main, spy, 1, 0);
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); });
  NMHDR click{list, static_cast<UINT_PTR>(::GetDlgCtrlID(list)), static_cast<UINT>(NM_RCLICK)};
  ::SendMessageW(::GetParent(list), WM_NOTIFY, click.idFrom, reinterpret_cast<LPARAM>(&click));
  ::KillTimer(nullptr, timer);
  ::RemoveWindowSubclass(main, spy, 1);
  return shown;
}

TEST_F(MainWindowTest, ARightClickShowsItsTabsMenuOverRowsAndNoneOverAnEmptyList) {
  for (Tab tab : dravik::kTabs) {
    window().selectTab(tab);
    HWND list = window().list(tab);
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    EXPECT_EQ(RightClick(main_, list), nullptr) << "a menu over the empty list of tab " << static_cast<int>(tab);
    LVITEMW row{LVIF_TEXT, 0, 0, 0, 0, const_cast<wchar_t*>(L"row")};
    ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row));
    EXPECT_EQ(RightClick(main_, list), window().popupMenu(tab)) << "tab " << static_cast<int>(tab);
  }
}

TEST_F(MainWindowTest, ShrinkingBelowTheMinimumSnapsBackAndTheLayoutFollowsTheSize) {
  ::SetWindowPos(main_, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
  testsupport::PumpFor(100ms);
  RECT r{};
  ::GetWindowRect(main_, &r);
  EXPECT_EQ(r.right - r.left, 761);
  EXPECT_EQ(r.bottom - r.top, 588);
  // Margins in twips, 15 to a pixel; visual styles widen them.
  const bool styled = ThemeActive(registry_);
  RECT status{}, list{};
  ::GetWindowRect(window().statusBar(), &status);
  ::GetWindowRect(window().list(Tab::Services), &list);
  EXPECT_NEAR(list.right - list.left, (11415 - (styled ? 250 : 200) - 160) / 15.0, 1);
  EXPECT_NEAR(list.bottom - list.top, (8820 - (status.bottom - status.top) * 15 - (styled ? 1320 : 1220) - 440) / 15.0, 1);
}

// The DPI run starts this at 96, 120, 144 and 192 DPI on its 1024 x 768 desktop,
// where from 144 DPI on the window is larger than the screen.
TEST_F(MainWindowTest, TheTopLeftCornerStartsOnTheWorkAreaAtEveryDpi) {
  if (const int dpi = testsupport::ExpectedDpi()) {
    ASSERT_EQ(testsupport::ScreenDpi(), dpi) << "the screen resolution was not applied";
  }
  MONITORINFO monitor{sizeof(monitor)};
  ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(main_, MONITOR_DEFAULTTONEAREST), &monitor));
  RECT r{};
  ::GetWindowRect(main_, &r);
  EXPECT_TRUE(::PtInRect(&monitor.rcWork, POINT{r.left, r.top})) << "window at " << r.left << "," << r.top;
}

}  // namespace
