#pragma once
// The About box, the language dialog, the help file, the update check and the
// Run dialog, made when the main window first asks for them.
#include <windows.h>

#include <functional>
#include <memory>

#include "app/startup.h"
#include "app/win/main_window.h"

namespace dravik {

class ProgramDialogs {
 public:
  // `mainWindow` gives the main window once it exists; the dialogs take its
  // language and message texts.
  ProgramDialogs(HINSTANCE instance, StartupPlatform& platform,
                 std::function<MainWindow*()> mainWindow);
  ~ProgramDialogs();
  ProgramDialogs(const ProgramDialogs&) = delete;
  ProgramDialogs& operator=(const ProgramDialogs&) = delete;

  // The main window's hooks, calling into these dialogs.
  DialogHooks hooks();

 private:
  struct Parts;
  Parts& parts();

  HINSTANCE instance_;
  StartupPlatform& platform_;
  std::function<MainWindow*()> mainWindow_;
  std::unique_ptr<Parts> parts_;
};

}  // namespace dravik
