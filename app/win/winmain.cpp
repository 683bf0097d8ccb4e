// The program's entry point: the real platform behind the start-up.
#include <windows.h>

#include <memory>

#include "app/startup.h"
#include "app/win/app.h"
#include "app/win/program_dialogs.h"
#include "localization/held_profile_files.h"
#include "platform/win32/exception_boundary.h"
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
  Win32Shell shell;
  Win32UserInterface ui;
  Win32Registry registry;
  Win32ProfileFiles profileFiles;
  dravik::HeldProfileFiles profiles(profileFiles);
  dravik::StartupPlatform platform{instanceLock, controls, system, shell, ui, registry, profiles};

  std::unique_ptr<dravik::App> app;
  dravik::ProgramDialogs dialogs(instance, platform, [&] { return app ? app->mainWindow() : nullptr; });
  dravik::MainWindowOptions options;
  options.instance = instance;
  options.programFolder = system.programFolder();
  options.registry = &registry;
  options.profiles = &profiles;
  options.ui = &ui;
  options.dialogs = dialogs.hooks();
  app = std::make_unique<dravik::App>(instance, std::move(options));

  const dravik::StartupResult start = dravik::Main(
      platform,
      [&] {
        // Without its windows the program has nothing to run on. A failure
        // while they are built is reported like any other, and the program
        // then ends rather than run on a window half made.
        if (!Guarded(L"Main", false, [&] { return app->open(); })) ::PostQuitMessage(1);
      },
      [&](bool visible) { app->setMainWindowVisible(visible); });
  if (start.outcome != dravik::StartupOutcome::Started) {
    // An early stop ends the process at once: nothing is unloaded or saved.
    ::ExitProcess(0);
  }
  return app->run();
}
