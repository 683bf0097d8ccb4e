#include "app/win/tab_pages.h"

#include "app/win/list_view_helpers.h"
#include "app/win/refresh_timer.h"
#include "network/win/network_tab.h"
#include "platform/win32/win32_network_tables.h"
#include "platform/win32/win32_process_control.h"
#include "platform/win32/win32_process_query.h"
#include "platform/win32/win32_services.h"
#include "platform/win32/win32_shell_files.h"
#include "processes/process_actions.h"
#include "processes/process_path.h"
#include "processes/win/processes_tab.h"
#include "services/win/services_tab.h"
#include "tasks/win/tasks_tab.h"

namespace dravik {

namespace {

// How the Network tab's worker names the owners of connections: with objects
// of its own, used on that thread only. Its device map is read at its first use.
class OwnerLookup {
 public:
  std::wstring path(std::uint32_t pid) {
    if (!mapped_) paths_.LoadDeviceMap();
    mapped_ = true;
    return paths_.GetProcessPath(pid);
  }

 private:
  platform::win32::Win32ProcessControl control_;
  ProcessPaths paths_{control_};
  bool mapped_ = false;
};

// The system objects the pages act through, alive as long as the pages.
struct PageResources {
  platform::win32::Win32ProcessControl processControl;
  ProcessPaths processPaths{processControl};
  platform::win32::Win32ShellFiles shellFiles;
  platform::win32::Win32ServiceControl serviceControl;
  platform::win32::Win32NetworkTables networkTables;
  OwnerLookup networkOwners;
  std::unique_ptr<RefreshTimer> timer;
};

NetworkTabServices NetworkServices(PageResources& r, HWND networkList) {
  NetworkTabServices s;
  s.openTables = [] { return std::make_unique<platform::win32::Win32NetworkTables>(); };
  s.processPath = [&r](std::uint32_t pid) { return r.networkOwners.path(pid); };
  s.placeholderName = [](std::uint32_t pid) { return ProcessPlaceholderName(pid); };
  s.processes = &r.processControl;
  s.shellFiles = &r.shellFiles;
  s.sortListViewAuto = [](HWND list, int column) { SortListViewAuto(list, column); };
  s.sortColumn = [networkList] { return IndexSort(networkList); };
  s.smallIcon = [&r](const std::wstring& path) { return r.shellFiles.smallIcon(path); };
  return s;
}

}  // namespace

TabPageSet CreateTabPages(AppContext& context, const std::array<HWND, 4>& lists) {
  auto resources = std::make_shared<PageResources>();
  PageResources& r = *resources;
  TabPageSet set;
  set.resources = resources;

  auto tasks = std::make_unique<TasksTab>(
      context, lists[0], [&r](std::uint32_t pid) { return r.processPaths.GetProcessPath(pid); });
  r.timer = std::make_unique<RefreshTimer>(context, *tasks);
  set.pages[0] = std::move(tasks);
  const auto openQuery = [] { return std::make_unique<platform::win32::Win32ProcessQuery>(); };
  set.pages[1] = std::make_unique<ProcessesTab>(context, lists[1],
                                                ProcessesPlatform{openQuery, r.shellFiles, r.processControl},
                                                platform::win32::UserGroupSeparator());
  set.pages[2] = std::make_unique<ServicesTab>(context, lists[2], r.serviceControl, [] {
    return std::make_unique<platform::win32::Win32ServiceControl>();
  });
  set.pages[3] = std::make_unique<NetworkTab>(context, lists[3], r.networkTables,
                                              NetworkServices(r, lists[3]));

  set.timerTick = [&r] { r.timer->tick(); };
  set.loaded = [&r] {
    r.timer->openProcessorCounter();
    r.timer->writeMemoryPanels();
    r.processPaths.LoadDeviceMap();
  };
  set.unloading = [&r] { r.timer->closeProcessorCounter(); };
  set.setOwnPriority = [&r](HWND window, std::uint32_t priorityClass) {
    SetProcessPriority(r.processControl, 0, reinterpret_cast<std::uintptr_t>(window), priorityClass);
  };
  return set;
}

}  // namespace dravik
