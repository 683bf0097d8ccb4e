#pragma once
// The Processes tab: the process list rebuilt on demand, with the shell icon
// of each executable, and the commands on the selected process.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>

#include "ui/win/tab_page.h"
#include "processes/process_actions.h"
#include "processes/process_list.h"

namespace dravik {

// The platform operations the tab works through.
struct ProcessesPlatform {
  platform::ProcessQuery& query;
  platform::ShellFiles& shell;
  platform::ProcessControl& processes;
};

class ProcessesTab final : public TabPage {
 public:
  // `list` is the report list view with the fourteen columns; the tab gives it
  // its image list and owns that. `groupSeparator` groups the working-set digits.
  ProcessesTab(AppContext& context, HWND list, ProcessesPlatform platform,
               std::wstring groupSeparator);
  ~ProcessesTab() override;
  ProcessesTab(const ProcessesTab&) = delete;
  ProcessesTab& operator=(const ProcessesTab&) = delete;

  void refresh() override;
  bool command(Command command) override;

  // The row the commands act on; nothing when no row is selected.
  std::optional<SelectedProcess> selectedProcess() const;

 private:
  class ListView;

  AppContext& context_;
  HWND list_;
  ProcessesPlatform platform_;
  std::wstring groupSeparator_;
  std::unique_ptr<ListView> view_;
};

}  // namespace dravik
