#pragma once
// The hidden window behind the notification-area icon: it brings the main
// window back and is where the program ends.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>

#include "app/win/main_window.h"
#include "platform/win32/handles.h"

namespace dravik {

class SysTray {
 public:
  // The icon's mouse actions arrive as this message (lParam: the mouse message).
  static constexpr UINT kIconMessage = WM_APP + 1;
  static constexpr UINT kIconId = 1;
  static constexpr UINT kMenuOpen = 1;
  static constexpr UINT kMenuExit = 2;

  explicit SysTray(HINSTANCE instance) : instance_(instance) {}
  ~SysTray();
  SysTray(const SysTray&) = delete;
  SysTray& operator=(const SysTray&) = delete;

  // Creates the hidden window and its menu, then the main window (whose load
  // labels this menu), then adds the icon. `options` are the main window's;
  // the tray fills in its labelling and the program's exit.
  bool create(MainWindowOptions options);

  // Ends the program: hides and closes every window of the program (each
  // does its own closing work), removes the icon, ends the message loop.
  void callExit();
  // Normal state, in front, shown.
  void restoreMainWindow();
  // The tray menu's texts from the language file.
  void labelMenu();

  HWND window() const { return window_; }
  HMENU menu() const { return menu_.get(); }
  MainWindow* mainWindow() const { return main_.get(); }
  bool iconAdded() const { return iconAdded_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void showMenu();
  NOTIFYICONDATAW iconData() const;

  HINSTANCE instance_;
  HWND window_ = nullptr;
  platform::win32::UniqueMenu menu_;
  HICON icon_ = nullptr;  // shared: never destroyed
  std::unique_ptr<MainWindow> main_;
  bool iconAdded_ = false;
  bool exiting_ = false;
};

}  // namespace dravik
