#pragma once
// The windows the program lives on once the start-up checks have passed.
#include <windows.h>

#include <memory>

#include "app/startup.h"
#include "app/win/main_window.h"

namespace dravik {

class SysTray;

class AppWindows {
 public:
  AppWindows(HINSTANCE instance, StartupPlatform& platform);
  ~AppWindows();
  AppWindows(const AppWindows&) = delete;
  AppWindows& operator=(const AppWindows&) = delete;

  // The dialogs' commands, set before open().
  DialogHooks& dialogs() { return dialogs_; }
  // The pages' factory, set before open(); the program's own by default.
  void setTabPageFactory(TabPageFactory factory) { createPages_ = std::move(factory); }

  // Creates the tray window, which creates the main window (shown) and then
  // adds the notification-area icon.
  void open();
  void setMainWindowVisible(bool visible);
  // The message loop; returns the exit code when the program ends.
  int run();

  MainWindow* mainWindow() const;
  SysTray* tray() const { return tray_.get(); }

 private:
  HINSTANCE instance_;
  StartupPlatform& platform_;
  DialogHooks dialogs_;
  TabPageFactory createPages_ = CreateTabPages;
  std::unique_ptr<SysTray> tray_;
};

}  // namespace dravik
