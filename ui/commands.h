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

// The tabs, in the order of the tab strip; each has its page and its list.
enum class Tab { Tasks = 1, Processes = 2, Services = 3, Network = 4 };
inline constexpr Tab kTabs[] = {Tab::Tasks, Tab::Processes, Tab::Services, Tab::Network};
inline constexpr int kTabCount = 4;
// A tab's place in arrays that follow the tab strip.
constexpr int TabIndex(Tab tab) { return static_cast<int>(tab) - 1; }

}  // namespace dravik
