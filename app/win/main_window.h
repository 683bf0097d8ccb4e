#pragma once
// The main window: toolbar, tab strip with the four lists, menus, status bar
// and the one-second timer.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/layout.h"
#include "app/main_commands.h"
#include "app/win/tab_pages.h"
#include "localization/message_texts.h"
#include "localization/read_ini.h"
#include "platform/profile_files.h"
#include "platform/registry.h"
#include "platform/win32/handles.h"
#include "platform/window_manager.h"

namespace dravik {

// The commands that open the About box, the help file, the update check, the
// Run dialog and the language dialog, and the labelling of those windows.
// Each does nothing until it is set.
struct DialogHooks {
  std::function<void(HWND owner, const std::wstring& prompt)> showRunDialog;
  std::function<void()> showAbout;           // modeless, no owner; then its name line
  std::function<void(HWND owner)> showHelpFile;
  std::function<void(HWND owner)> checkForUpdates;
  std::function<void()> showLanguageDialog;  // modeless, no owner
  std::function<void()> labelAbout;          // the About box's texts
  std::function<void()> labelLanguageDialog; // the language dialog's texts
  // Gives the program's modeless dialogs their keyboard (Tab, Enter);
  // true when the message was theirs.
  std::function<bool(MSG&)> translateKeyboard;
};

struct MainWindowOptions {
  HINSTANCE instance = nullptr;
  std::wstring programFolder;
  platform::Registry* registry = nullptr;
  platform::ProfileFiles* profiles = nullptr;
  platform::UserInterface* ui = nullptr;
  TabPageFactory createPages = CreateTabPages;
  DialogHooks dialogs;
  // Labels the tray menu (the tray's share of applying the language).
  std::function<void()> labelTray;
  // Ends the program through the tray: every window closes, the icon goes.
  std::function<void()> exitProgram;
};

class MainWindow {
 public:
  explicit MainWindow(MainWindowOptions options);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window and runs its load; it shows itself. False when the
  // window could not be created.
  bool create();
  HWND window() const { return window_; }

  // Labels the tray menu and the language dialog from the language file.
  void labelTrayAndLanguageDialog();
  // Closes the window as part of the program's end (not hidden like a close
  // by the user): its size is saved on the way.
  void closeForExit();
  // What a click on a tab does.
  void selectTab(Tab tab);
  Tab selectedTab() const;

  const Language& language() const { return *language_; }
  const MessageTexts& messages() const { return messages_; }
  DialogHooks& dialogs() { return options_.dialogs; }

  // The controls, for the tray, the dialogs and the tests.
  HWND list(Tab tab) const { return lists_[TabIndex(tab)]; }
  HWND page(int index) const { return pages_[index]; }
  HWND toolbar() const { return toolbar_; }
  HWND tabStrip() const { return tabStrip_; }
  HWND statusBar() const { return statusBar_; }
  HMENU popupMenu(Tab tab) const { return popups_[static_cast<int>(tab) - 1]; }
  HFONT statusFont() const { return statusFont_.get(); }
  const std::wstring& toolTip(int position) const { return tips_[position - 1]; }
  TabPage* tabPage(Tab tab) const { return pageSet_.pages[static_cast<int>(tab) - 1].get(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

  // Building (main_window_build.cpp).
  void buildControls();
  void buildToolbar();
  void buildTabStrip();
  void buildLists();
  void buildStatusBar();
  void buildMenus();
  HMENU menuOf(Menu menu) const;

  // Texts (main_window_language.cpp).
  void languageMain();
  // The item at `index` of the menu table.
  void setMenuText(std::size_t index, const std::wstring& text);
  void setStatusFontCharacterSet();

  // Running.
  void load();
  void unload();
  void layout();
  void dispatch(Command command);
  void enableToolbar(Tab tab);
  void onNotify(const NMHDR& header, LRESULT& result, bool& handled);
  void onInitMenuPopup(HMENU menu);
  void setStatusPanel(int panel, const std::wstring& text);
  void showPopupMenu(Tab tab, POINT screen);
  void placePages(Tab selected);
  WindowSize outerSizeTwips() const;
  TwipsScale scaleX() const;
  TwipsScale scaleY() const;

  MainWindowOptions options_;
  std::unique_ptr<Language> language_;
  MessageTexts messages_;
  AppContext context_;
  TabPageSet pageSet_;

  HWND window_ = nullptr;
  HWND toolbar_ = nullptr;
  HWND tabStrip_ = nullptr;
  HWND statusBar_ = nullptr;
  std::array<HWND, 4> pages_{};
  std::array<HWND, 4> lists_{};
  std::array<HMENU, 4> popups_{};
  std::array<platform::win32::UniqueMenu, 4> popupOwners_;
  std::vector<std::pair<HMENU, int>> menuPlaces_;  // by menu-table index: parent menu and position
  std::map<Menu, HMENU> submenus_;
  std::array<std::wstring, kToolbarButtonCount> tips_;
  platform::win32::UniqueImageList toolbarImages_;
  platform::win32::UniqueImageList disabledImages_;
  platform::win32::UniqueFont statusFont_;
  int dpiX_ = 96;
  int dpiY_ = 96;
  Tab lastTab_ = Tab::Tasks;
  bool loaded_ = false;
  bool unloaded_ = false;
  bool exiting_ = false;
  bool sizing_ = false;
};

}  // namespace dravik
