#pragma once
// The hidden window behind the notification-area icon: it brings the main
// window back and is where the program ends.
#include <windows.h>
#include <shellapi.h>

#include <functional>

#include "localization/read_ini.h"
#include "platform/win32/handles.h"

namespace dravik {

class SysTray {
 public:
  // The icon's mouse actions arrive as this message (lParam: the mouse message).
  static constexpr UINT kIconMessage = WM_APP + 1;
  static constexpr UINT kIconId = 1;
  static constexpr UINT kMenuOpen = 1;
  static constexpr UINT kMenuExit = 2;

  // What the tray does to the main window, which it neither makes nor owns.
  struct Host {
    std::function<HWND()> mainWindow;       // null while there is none
    std::function<void()> closeMainWindow;  // the main window's own closing work at exit
  };

  SysTray(HINSTANCE instance, Host host) : instance_(instance), host_(std::move(host)) {}
  ~SysTray();
  SysTray(const SysTray&) = delete;
  SysTray& operator=(const SysTray&) = delete;

  // Creates the hidden window and its menu.
  bool create();
  // Adds the icon; without a notification area the program runs on without it.
  // From then until the exit the icon is added again whenever the shell's
  // taskbar comes back (a restarted shell has forgotten every icon).
  void addIcon();

  // Ends the program: hides and closes every window of the program (each
  // does its own closing work), removes the icon, ends the message loop.
  void callExit();
  // Normal state, in front, shown.
  void restoreMainWindow();
  // The tray menu's texts from the language file.
  void labelMenu(const Language& language);

  HWND window() const { return window_; }
  HMENU menu() const { return menu_.get(); }
  bool iconAdded() const { return iconAdded_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void showMenu();
  NOTIFYICONDATAW iconData() const;
  void addIconAgain();

  HINSTANCE instance_;
  Host host_;
  HWND window_ = nullptr;
  platform::win32::UniqueMenu menu_;
  HICON icon_ = nullptr;  // shared: never destroyed
  UINT taskbarCreated_ = 0;  // the shell's broadcast when its taskbar (re)starts
  bool iconWanted_ = false;  // from the first add on (the exit ends it)
  bool iconAdded_ = false;
  bool exiting_ = false;
};

}  // namespace dravik
