#include "app/win/main_window.h"

#include <commctrl.h>

#include "app/tab_descriptions.h"
#include "app/list_sort.h"
#include "app/main_language.h"
#include "app/startup.h"
#include "app/window_size.h"
#include "app/win/list_view_helpers.h"
#include "app/win/window_icon.h"
#include "ui/win/window_object.h"

namespace dravik {

namespace {

constexpr wchar_t kMainClass[] = L"DravikTaskManagerMain";
constexpr wchar_t kPageClass[] = L"DravikTaskManagerPage";
constexpr UINT_PTR kMainTimer = 1;
constexpr UINT kMainTimerInterval = 1000;

void RegisterClasses(HINSTANCE instance, WNDPROC mainProc, WNDPROC pageProc) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  cls.hInstance = instance;
  cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpfnWndProc = mainProc;
  cls.lpszClassName = kMainClass;
  ::RegisterClassExW(&cls);  // fails harmlessly when a second window registers again
  cls.lpfnWndProc = pageProc;
  cls.lpszClassName = kPageClass;
  ::RegisterClassExW(&cls);
}

}  // namespace

MainWindow::MainWindow(MainWindowOptions options) : options_(std::move(options)) {}

MainWindow::~MainWindow() {
  if (window_) ::DestroyWindow(window_);
}

TwipsScale MainWindow::scaleX() const { return TwipsScale(dpiX_); }
TwipsScale MainWindow::scaleY() const { return TwipsScale(dpiY_); }

bool MainWindow::create() {
  RegisterClasses(options_.instance, &WindowProc, &PageProc);
  {
    const platform::win32::WindowDc screen;
    dpiX_ = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
    dpiY_ = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
  }

  // Centred on the work area for the design size of the client area; the
  // stored size applied later keeps this top-left corner.
  const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
  RECT frame{0, 0, scaleX().toPixels(kDesignClientWidth), scaleY().toPixels(kDesignClientHeight)};
  ::AdjustWindowRectEx(&frame, style, TRUE, 0);
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const PixelPoint corner =
      PlaceOnWorkArea(width, height, {work.left, work.top, work.right, work.bottom});
  ::CreateWindowExW(0, kMainClass, kProgramTitle, style, corner.x, corner.y, width, height, nullptr,
                    nullptr, options_.instance, this);
  if (!window_) return false;
  buildControls();
  layout();
  load();
  return true;
}

void MainWindow::load() {
  SetIcon(window_, L"AAA", true);

  const Settings settings(*options_.registry);
  language_ = std::make_unique<Language>(
      *options_.profiles, LanguageFilePath(options_.programFolder, settings.languageName()));
  languageMain();
  if (options_.dialogs.labelAbout) options_.dialogs.labelAbout();
  labelTrayAndLanguageDialog();

  context_.instance = options_.instance;
  context_.mainWindow = window_;
  context_.language = language_.get();
  context_.messages = &messages_;
  context_.ui = options_.ui;
  context_.setStatusPanel = [this](int panel, const std::wstring& text) { setStatusPanel(panel, text); };
  context_.selectedTab = [this] { return selectedTab(); };
  context_.enableMainWindow = [this](bool enabled) { ::EnableWindow(window_, enabled); };
  pageSet_ = options_.createPages(context_, lists_);

  // The program itself runs at normal priority whatever started it.
  if (pageSet_.setOwnPriority) pageSet_.setOwnPriority(window_, NORMAL_PRIORITY_CLASS);
  ::ShowWindow(window_, SW_SHOW);
  // Painted now, not after the first fill: asking every task window for its
  // state can take a while, and the user should see the window meanwhile.
  ::UpdateWindow(window_);

  if (auto* tasks = tabPage(Tab::Tasks)) tasks->refresh();
  LVITEMW none{};
  none.stateMask = LVIS_SELECTED;
  ::SendMessageW(lists_[0], LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  ::SetTimer(window_, kMainTimer, kMainTimerInterval, nullptr);
  for (HWND list : lists_) EnhListView_Add_FullRowSelect(list);

  const WindowSize stored = LoadWindowSize(settings);
  loaded_ = true;  // from here on the unload saves the size
  options_.ui->pumpMessages();
  if (!window_) return;  // the window was closed while messages were handled
  RECT now{};
  ::GetWindowRect(window_, &now);
  ::SetWindowPos(window_, nullptr, 0, 0, now.right - now.left, scaleY().toPixels(stored.height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::GetWindowRect(window_, &now);
  ::SetWindowPos(window_, nullptr, 0, 0, scaleX().toPixels(stored.width), now.bottom - now.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  layout();

  const auto rows = ::SendMessageW(lists_[0], LVM_GETITEMCOUNT, 0, 0);
  setStatusPanel(1, StatusText(std::to_wstring(rows), language_->text(text_key::kTasksTab)));
  if (pageSet_.loaded) pageSet_.loaded();
  ::SetTimer(window_, kMainTimer, kMainTimerInterval, nullptr);
  HookColumnLock(lists_[0]);
}

void MainWindow::unload() {
  if (unloaded_ || !loaded_) return;
  unloaded_ = true;
  SaveWindowSize(Settings(*options_.registry), outerSizeTwips());
  ::KillTimer(window_, kMainTimer);
  if (pageSet_.unloading) pageSet_.unloading();
  UnhookColumnLock(lists_[0]);
}

WindowSize MainWindow::outerSizeTwips() const {
  RECT r{};
  if (::IsIconic(window_)) {
    // A minimized window's own rectangle is its icon; keep the size it
    // comes back to.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    ::GetWindowPlacement(window_, &placement);
    r = placement.rcNormalPosition;
  } else {
    ::GetWindowRect(window_, &r);
  }
  return {scaleX().toTwips(r.right - r.left), scaleY().toTwips(r.bottom - r.top)};
}

void MainWindow::layout() {
  if (!window_ || !statusBar_ || sizing_ || ::IsIconic(window_)) return;
  const TwipsScale x = scaleX(), y = scaleY();
  RECT outer{};
  ::GetWindowRect(window_, &outer);
  const int minWidth = x.toPixelsAtLeast(kMinimumWindowWidth);
  const int minHeight = y.toPixelsAtLeast(kMinimumWindowHeight);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  if (width < minWidth || height < minHeight) {
    // The change of size comes back here and finds the minimum met.
    ::SetWindowPos(window_, nullptr, 0, 0, width < minWidth ? minWidth : width,
                   height < minHeight ? minHeight : height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;
  }
  sizing_ = true;
  ::SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
  ::SendMessageW(statusBar_, WM_SIZE, 0, 0);
  RECT status{};
  ::GetWindowRect(statusBar_, &status);
  const MainLayout l = ComputeLayout({x.toTwips(width), y.toTwips(height)},
                                     y.toTwips(status.bottom - status.top),
                                     ThemeActive(*options_.registry));
  // A size below nothing (a window squeezed by the system) is skipped.
  const auto px = [](const TwipsScale& s, double twips) { return twips > 0 ? s.toPixels(twips) : -1; };
  if (px(x, l.tabWidth) >= 0 && px(y, l.tabHeight) >= 0) {
    ::SetWindowPos(tabStrip_, nullptr, 0, 0, px(x, l.tabWidth), px(y, l.tabHeight),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (int i = 0; i < kTabCount; ++i) {
    if (px(x, l.pageWidth) >= 0 && px(y, l.pageHeight) >= 0) {
      ::SetWindowPos(pages_[i], nullptr, 0, 0, px(x, l.pageWidth), px(y, l.pageHeight),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (px(x, l.listWidth) >= 0 && px(y, l.listHeight) >= 0) {
      ::SetWindowPos(lists_[i], nullptr, 0, 0, px(x, l.listWidth), px(y, l.listHeight),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const ColumnWidth& width : FractionWidths(kTabs[i], l.pageWidth, x)) {
      ::SendMessageW(lists_[i], LVM_SETCOLUMNWIDTH, width.column - 1, width.pixels);
    }
    if (kTabs[i] == Tab::Processes) {
      int index = 0;
      for (const ListColumn& column : ListColumns(Tab::Processes)) {
        if (column.rightAligned) {
          LVCOLUMNW format{};
          format.mask = LVCF_FMT;
          format.fmt = LVCFMT_RIGHT;
          ::SendMessageW(lists_[i], LVM_SETCOLUMNW, index, reinterpret_cast<LPARAM>(&format));
        }
        ++index;
      }
    }
  }
  sizing_ = false;
}

void MainWindow::closeForExit() {
  exiting_ = true;
  if (window_) ::SendMessageW(window_, WM_CLOSE, 0, 0);
}

Tab MainWindow::selectedTab() const {
  const auto index = ::SendMessageW(tabStrip_, TCM_GETCURSEL, 0, 0);
  return index >= 0 && index < 4 ? static_cast<Tab>(index + 1) : Tab::Tasks;
}

void MainWindow::placePages(Tab selected) {
  const TwipsScale x = scaleX(), y = scaleY();
  for (int i = 0; i < 4; ++i) {
    const bool shown = i == static_cast<int>(selected) - 1;
    ::SetWindowPos(pages_[i], nullptr, x.toPixels(shown ? kPageLeft : kPageOutside),
                   y.toPixels(kPageTop), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::EnableWindow(pages_[i], shown);
  }
}

void MainWindow::selectTab(Tab tab) {
  ::SendMessageW(tabStrip_, TCM_SETCURSEL, static_cast<int>(tab) - 1, 0);
  // Setting the selection by message raises no notification: run the click.
  NMHDR header{tabStrip_, static_cast<UINT_PTR>(::GetDlgCtrlID(tabStrip_)), static_cast<UINT>(TCN_SELCHANGE)};
  ::SendMessageW(window_, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void MainWindow::setStatusPanel(int panel, const std::wstring& text) {
  ::SendMessageW(statusBar_, SB_SETTEXTW, panel - 1, reinterpret_cast<LPARAM>(text.c_str()));
}

void MainWindow::showPopupMenu(Tab tab, POINT screen) {
  // The menu closes on a click elsewhere only while its owner is in front.
  ::SetForegroundWindow(window_);
  ::TrackPopupMenuEx(popupMenu(tab), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, window_,
                     nullptr);
  ::PostMessageW(window_, WM_NULL, 0, 0);
}

void MainWindow::dispatch(Command command) {
  const DialogHooks& d = options_.dialogs;
  switch (command) {
    case Command::Refresh:
      if (auto* page = tabPage(selectedTab())) page->refresh();
      return;
    case Command::Run:
      if (d.showRunDialog) d.showRunDialog(window_, language_->text(text_key::kRunPrompt));
      return;
    case Command::About:
      if (d.showAbout) d.showAbout();
      return;
    case Command::HelpFile:
      if (d.showHelpFile) d.showHelpFile(window_);
      return;
    case Command::CheckForUpdates:
      if (d.checkForUpdates) d.checkForUpdates(window_);
      return;
    case Command::Language:
      if (d.showLanguageDialog) d.showLanguageDialog();
      return;
    case Command::Exit:
      exiting_ = true;
      if (options_.exitProgram) {
        options_.exitProgram();
      } else {
        ::DestroyWindow(window_);
      }
      return;
    default:
      if (const auto tab = CommandPage(command, selectedTab())) {
        if (auto* page = tabPage(*tab)) page->command(command);
      }
      return;
  }
}

void MainWindow::enableToolbar(Tab tab) {
  for (const ToolbarButtonDef& button : ToolbarButtons()) {
    if (button.command == Command::None) continue;
    ::SendMessageW(toolbar_, TB_ENABLEBUTTON, static_cast<WPARAM>(button.command),
                   MAKELPARAM(ToolbarEnabled(button.command, tab), 0));
  }
}

void MainWindow::onInitMenuPopup(HMENU menu) {
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    const auto command = static_cast<Command>(::GetMenuItemID(menu, i));
    if (command == Command::None || IsProgramCommand(command)) continue;
    const auto tab = CommandPage(command, selectedTab());
    const TabPage* page = tab ? tabPage(*tab) : nullptr;
    if (!page) continue;
    ::CheckMenuItem(menu, i, MF_BYPOSITION | (page->checked(command) ? MF_CHECKED : MF_UNCHECKED));
  }
}

void MainWindow::onNotify(const NMHDR& header, LRESULT& result, bool& handled) {
  if (header.hwndFrom == tabStrip_ && header.code == static_cast<UINT>(TCN_SELCHANGE)) {
    handled = true;
    const Tab tab = selectedTab();
    // The page being left stops its own work first (the Network page its timer).
    if (tab != lastTab_) {
      if (auto* left = tabPage(lastTab_)) left->deselected();
    }
    lastTab_ = tab;
    placePages(tab);
    enableToolbar(tab);
    TabPage* page = tabPage(tab);
    switch (TabWorkFor(tab)) {
      case TabWork::Nothing:
        break;
      case TabWork::Refresh:
        if (page) page->refresh();
        break;
      case TabWork::WatchNetwork: {
        const auto rows = ::SendMessageW(list(Tab::Network), LVM_GETITEMCOUNT, 0, 0);
        setStatusPanel(1, StatusText(std::to_wstring(rows), language_->text(text_key::kNetworkTab)));
        break;
      }
    }
    if (page) page->selected();
    return;
  }
  if (header.code == TTN_GETDISPINFOW) {
    const auto buttons = ToolbarButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
      if (buttons[i].command == Command::None || static_cast<UINT_PTR>(buttons[i].command) != header.idFrom) continue;
      auto& info = *reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(&header));
      info.lpszText = const_cast<wchar_t*>(tips_[i].c_str());
      info.hinst = nullptr;
      handled = true;
    }
    return;
  }
  for (int i = 0; i < kTabCount; ++i) {
    if (header.hwndFrom != lists_[i]) continue;
    if (header.code == static_cast<UINT>(LVN_COLUMNCLICK)) {
      handled = true;
      const auto& click = reinterpret_cast<const NMLISTVIEW&>(header);
      const int column = click.iSubItem + 1;
      const int rows = static_cast<int>(::SendMessageW(lists_[i], LVM_GETITEMCOUNT, 0, 0));
      SortState probe = ListSortState(lists_[i]);
      std::wstring indexSort = std::to_wstring(IndexSort(lists_[i]));
      if (ColumnClick(kTabs[i], rows, column, probe, indexSort)) {
        SortListView(lists_[i], column);
        if (kTabs[i] == Tab::Network) SetIndexSort(lists_[i], NetworkSortColumn(indexSort));
      }
      return;
    }
    if (header.code == static_cast<UINT>(NM_RCLICK)) {
      // A list reports a right click when the button is released. Its menu
      // acts on a row: an empty list shows none.
      handled = true;
      result = 0;
      if (::SendMessageW(lists_[i], LVM_GETITEMCOUNT, 0, 0) > 0) {
        POINT at{};
        ::GetCursorPos(&at);
        showPopupMenu(kTabs[i], at);
      }
      return;
    }
    if (pageSet_.pages[i]) handled = pageSet_.pages[i]->listNotify(header, result);
    return;
  }
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize.x = scaleX().toPixelsAtLeast(kMinimumWindowWidth);
      info->ptMinTrackSize.y = scaleY().toPixelsAtLeast(kMinimumWindowHeight);
      return 0;
    }
    case WM_TIMER:
      if (wParam == kMainTimer && pageSet_.timerTick) pageSet_.timerTick();
      return 0;
    case WM_COMMAND: {
      // Menu items and toolbar buttons send the command itself.
      if (!lParam || reinterpret_cast<HWND>(lParam) == toolbar_) dispatch(static_cast<Command>(LOWORD(wParam)));
      return 0;
    }
    case WM_NOTIFY: {
      LRESULT result = 0;
      bool handled = false;
      onNotify(*reinterpret_cast<const NMHDR*>(lParam), result, handled);
      if (handled) return result;
      break;
    }
    case WM_INITMENUPOPUP:
      onInitMenuPopup(reinterpret_cast<HMENU>(wParam));
      return 0;
    case WM_HELP:
      dispatch(Command::HelpFile);
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        // The close box, the system menu and Alt+F4 only hide the window:
        // the program goes on in the notification area.
        ::ShowWindow(window_, SW_HIDE);
        return 0;
      }
      break;
    case WM_CLOSE:
      // Any other close (the program's Exit, another program asking) ends
      // the program through the tray, which closes every window.
      if (!exiting_ && options_.exitProgram) {
        exiting_ = true;
        options_.exitProgram();
        return 0;
      }
      ::DestroyWindow(window_);
      return 0;
    case WM_ENDSESSION:
      if (wParam) unload();  // the process ends without its windows being destroyed
      return 0;
    case WM_DESTROY:
      unload();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchToObject(window, message, wParam, lParam, &MainWindow::window_, L"MainWindow",
                          [&](MainWindow& self) { return self.handle(message, wParam, lParam); });
}

LRESULT CALLBACK MainWindow::PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_CONTEXTMENU:
      // The pages only hold the lists; the main window answers for them.
      return ::SendMessageW(::GetParent(page), message, wParam, lParam);
    default:
      return ::DefWindowProcW(page, message, wParam, lParam);
  }
}

}  // namespace dravik
