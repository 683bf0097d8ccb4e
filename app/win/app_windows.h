#pragma once
// The windows the program lives on once the start-up checks have passed.
#include <windows.h>

#include "app/startup.h"

namespace dravik {

class AppWindows {
 public:
  AppWindows(HINSTANCE instance, StartupPlatform& platform)
      : instance_(instance), platform_(platform) {}
  AppWindows(const AppWindows&) = delete;
  AppWindows& operator=(const AppWindows&) = delete;

  // Creates the tray icon and the main window, which shows itself.
  void open();
  void setMainWindowVisible(bool visible);
  // The message loop; returns the exit code when the program ends.
  int run();

 private:
  HINSTANCE instance_;
  StartupPlatform& platform_;
  HWND mainWindow_ = nullptr;
};

}  // namespace dravik
