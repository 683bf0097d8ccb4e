#pragma once
// The program once the start-up checks have passed: the notification-area
// icon, the main window and the dialogs, and the message loop they share.
#include <windows.h>

#include <memory>

#include "app/win/main_window.h"
#include "shell/win/sys_tray.h"

namespace dravik {

class App {
 public:
  // `options` are the main window's; the App adds the tray's labelling and
  // the program's exit to them.
  App(HINSTANCE instance, MainWindowOptions options);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  // Creates the tray's hidden window, then the main window (shown), labels
  // the tray menu and adds the icon. False when a window could not be made.
  bool open();
  void setMainWindowVisible(bool visible);
  // The message loop; returns the exit code when the program ends.
  int run();

  MainWindow* mainWindow() const { return main_.get(); }
  SysTray& tray() { return tray_; }

 private:
  MainWindowOptions options_;
  SysTray tray_;
  std::unique_ptr<MainWindow> main_;
};

}  // namespace dravik
