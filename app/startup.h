#pragma once
// The start of the program: one copy only, a supported system, the control
// classes present, then the windows.
#include <functional>
#include <string>

#include "platform/processes.h"
#include "platform/profile_files.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/window_manager.h"
#include "ui/program_title.h"

namespace dravik {

// What the start needs from the system, passed in so it can run over doubles.
struct StartupPlatform {
  platform::InstanceLock& instance;
  platform::ControlLibrary& controls;
  platform::SystemInfo& system;
  platform::Shell& shell;
  platform::UserInterface& ui;
  platform::Registry& registry;
  platform::ProfileFiles& profiles;
};

// How the start ended. Every outcome but Started ends the process at once,
// before any window exists and without writing a setting.
enum class StartupOutcome { AlreadyRunning, UnsupportedSystem, LibraryMissing, Started };

enum class OsSupport { QueryFailed = 0, Unsupported = 1, Supported = 2 };

// NT 5.1 up to 6.x is supported; newer systems report 6.2 to this program.
OsSupport GetOS(platform::SystemInfo& system);

// The system folder without a trailing backslash; "" when it does not fit 255 characters.
std::wstring GetSysDir(platform::SystemInfo& system);

// What the start-up hands on to the windows it brings up.
struct StartupResult {
  StartupOutcome outcome = StartupOutcome::Started;
  std::wstring languageFile;
  bool runMinimized = false;
};

// The start routine. `openWindows` creates the tray icon and the main window
// (which shows itself); it runs only when every check passed. Then
// `setMainWindowVisible(false)` hides the main window when the settings ask to
// start in the notification area; otherwise it is shown and activated.
StartupResult Main(StartupPlatform& platform, const std::function<void()>& openWindows,
                   const std::function<void(bool visible)>& setMainWindowVisible);

}  // namespace dravik
