#pragma once
// The Processes tab: the process list rebuilt on demand, with the shell icon
// of each executable, and the commands on the selected process. The query and
// the icon lookups run on a worker thread; the list is built here from them.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/win/tab_page.h"
#include "processes/process_actions.h"
#include "processes/process_list.h"
#include "ui/win/background_reads.h"

namespace dravik {

// The platform operations the tab works through.
struct ProcessesPlatform {
  // Made on the worker thread, and used there only: the query keeps its
  // connection, and its COM apartment, on the thread that made it.
  std::function<std::unique_ptr<platform::ProcessQuery>()> openQuery;
  // Asked for icons on the worker thread, for properties on the window's.
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

  // Asks for a fresh query; the list is rebuilt when it comes.
  void refresh() override;
  // Leaving the tab drops a query not shown yet.
  void deselected() override { reads_.drop(); }
  bool command(Command command) override;
  // A rebuild was asked for and has not shown yet.
  bool busy() const { return reads_.busy(); }

  // The row the commands act on; nothing when no row is selected.
  std::optional<SelectedProcess> selectedProcess() const;

 private:
  class ListView;
  struct Snapshot;

  void show(std::unique_ptr<Snapshot> snapshot);

  AppContext& context_;
  HWND list_;
  ProcessesPlatform platform_;
  std::wstring groupSeparator_;
  std::unique_ptr<ListView> view_;
  BackgroundReadsOf<platform::ProcessQuery, Snapshot> reads_;  // last: its worker goes first
};

}  // namespace dravik
