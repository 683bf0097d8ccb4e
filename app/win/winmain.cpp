// The program's entry point: the real platform behind the start-up.
#include <windows.h>

#include "app/startup.h"
#include "app/win/app_windows.h"
#include "app/win/program_dialogs.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_window_manager.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace platform::win32;
  // Before anything can load a DLL by name: an elevated program must not
  // pick one up from its own folder or the current one.
  RestrictDllSearch();
  Win32InstanceLock instanceLock(L"Local\\DravikTaskManager.Running");
  Win32ControlLibrary controls;
  Win32SystemInfo system;
  Win32FileSystem files;
  Win32Shell shell;
  Win32UserInterface ui;
  Win32Registry registry;
  Win32ProfileFiles profiles;
  dravik::StartupPlatform platform{instanceLock, controls, system, files, shell, ui, registry, profiles};

  dravik::AppWindows windows(instance, platform);
  dravik::ProgramDialogs dialogs(instance, platform, [&] { return windows.mainWindow(); });
  windows.dialogs() = dialogs.hooks();
  const dravik::StartupResult start = dravik::Main(
      platform, [&] { windows.open(); },
      [&](bool visible) { windows.setMainWindowVisible(visible); });
  if (start.outcome != dravik::StartupOutcome::Started) {
    // An early stop ends the process at once: nothing is unloaded or saved.
    ::ExitProcess(0);
  }
  return windows.run();
}
