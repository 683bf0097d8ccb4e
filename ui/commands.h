#pragma once
// The program's commands and its tabs. A command's value is its id in the
// menus and on the toolbar: every menu item and button that does the same
// thing sends the same id, and the main window dispatches by it.

namespace dravik {

enum class Command : int {
  None = 0,
  // The program's own.
  Refresh = 100,
  Run,
  About,
  HelpFile,
  CheckForUpdates,
  Language,
  Exit,
  // On the rows of a tab's list.
  ShowWindow = 120,
  EndTask,
  TerminateProcess,
  FileProperties,
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
  CloseConnection,
};

// The tabs, in the order of the tab strip; each has its page and its list.
enum class Tab { Tasks = 1, Processes = 2, Services = 3, Network = 4 };
inline constexpr Tab kTabs[] = {Tab::Tasks, Tab::Processes, Tab::Services, Tab::Network};
inline constexpr int kTabCount = 4;
// A tab's place in arrays that follow the tab strip.
constexpr int TabIndex(Tab tab) { return static_cast<int>(tab) - 1; }

}  // namespace dravik
