#pragma once
// The commands the tabs carry out on their rows, whatever started them:
// a toolbar button, a menu item or a popup-menu item.

namespace dravik {

enum class Command {
  // Tasks
  ShowWindow,
  EndTask,
  // Processes
  TerminateProcess,
  FileProperties,
  // Services
  StartService,
  StopService,
  PauseService,
  ResumeService,
  DeleteService,
  StartupBoot,
  StartupSystem,
  StartupAutomatic,
  StartupManual,
  StartupDisabled,
  ViewWinServices,
  ViewDriverServices,
  // Network
  CloseConnection,
  TerminateNetworkProcess,
  NetworkFileProperties,
};

// The tabs, in the order of the tab strip.
enum class Tab { Tasks = 1, Processes = 2, Services = 3, Network = 4 };

}  // namespace dravik
