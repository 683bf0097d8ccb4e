#pragma once
// The Network tab: the machine's TCP connections and UDP endpoints with the
// processes that own them, rebuilt when the number of TCP connections moves,
// and the commands on the selected row. The tables, the count watch's among
// them, and the owners are read on a worker thread; the list is built here
// from what it read.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/win/tab_page.h"
#include "network/network_rows.h"
#include "network/tcp_udp.h"
#include "processes/process_actions.h"
#include "platform/network_tables.h"
#include "platform/processes.h"
#include "platform/shell.h"
#include "platform/win32/handles.h"
#include "ui/win/background_reads.h"

namespace dravik {

// What the tab borrows from the rest of the program. Every member must be set.
struct NetworkTabServices {
  // Made on the worker thread, and used there only: the tables it reads.
  std::function<std::unique_ptr<platform::NetworkTables>()> openTables;
  // Asked on the worker thread.
  std::function<std::wstring(std::uint32_t pid)> processPath;      // path with a drive letter, "" when unreadable
  std::function<std::wstring(std::uint32_t pid)> placeholderName;  // "(System)", "(1234)"...
  // What Terminate Process and File Properties act through, as on the Processes tab.
  platform::ProcessControl* processes = nullptr;
  platform::ShellFiles* shellFiles = nullptr;
  // Sorts the list by a 1-based column in the order it already has.
  std::function<void(HWND list, int column)> sortListViewAuto;
  // The 1-based column the list was last sorted by.
  std::function<int()> sortColumn;
  // The shell's small icon of a file; list null when the shell knows none.
  std::function<platform::SystemIcon(const std::wstring& path)> smallIcon;
};

class NetworkTab final : public TabPage {
 public:
  // `list` is the report-style list with the eight columns; it must outlive
  // the tab. `tables` closes connections.
  NetworkTab(AppContext& context, HWND list, platform::NetworkTables& tables, NetworkTabServices services);
  ~NetworkTab() override;
  NetworkTab(const NetworkTab&) = delete;
  NetworkTab& operator=(const NetworkTab&) = delete;

  // Asks for a fresh read; the list is rebuilt when it comes. A read asked
  // for earlier and not shown yet is forgotten.
  void refresh() override;
  // Writes the status panel, looks at the connection count once and starts
  // the once-a-second watch; leaving the tab stops the watch.
  void selected() override;
  void deselected() override;
  bool command(Command command) override;

  // A read (a rebuild, or a look at the count) was asked for and has not shown yet.
  bool busy() const { return reads_.busy(); }

 private:
  struct Snapshot;
  struct Reader;
  struct DeferredCommand {
    Command command;
    NetworkRowTexts row;  // the row it was given for, found again by its connection
  };

  // What a read is for: a rebuild whatever the count, the watch's look at the
  // count, the look after a close, or forgetting the count seen last.
  enum class Read { Rebuild, Watch, AfterClose, ForgetCount };
  void read(Read what);
  void show(std::unique_ptr<Snapshot> snapshot);
  void tick();
  void insertRows(const std::vector<NetworkRow>& rows);
  void loadIcons();
  // Where the picture of each path was put first during one icon load.
  using IconPlaces = std::unordered_map<std::wstring, int>;
  void addIcon(const std::wstring& path, int index, IconPlaces& places,
               std::vector<platform::win32::UniqueIcon>& owned);
  void assignIcons();
  void runDeferred();
  void run(Command command, int row);
  void closeConnection(int row);
  // The row's process as the process commands take it; none for a row
  // whose record cannot be told.
  std::optional<SelectedProcess> rowProcess(int row) const;
  void writeStatusPanel();
  int selectedRow() const;
  int rowCount() const;
  int rowTag(int row) const;
  std::wstring rowText(int row, int column) const;
  NetworkRowTexts rowTexts(int row) const;

  AppContext& context_;
  HWND list_;
  NetworkTabServices services_;
  platform::NetworkTables& tables_;
  NetworkListing shown_;  // the records the rows' tags index
  platform::win32::UniqueImageList images_;
  platform::win32::UniqueIcon unknownIcon_;  // rows without a path
  platform::win32::UniqueIcon blankIcon_;    // paths the shell has no icon for
  std::vector<DeferredCommand> chosenDuringRebuild_;
  BackgroundReadsOf<Reader, Snapshot> reads_;  // last: its worker goes first
};

}  // namespace dravik
