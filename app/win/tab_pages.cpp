#include "app/win/tab_pages.h"

#include "app/win/refresh_timer.h"
#include "platform/win32/win32_process_control.h"
#include "platform/win32/win32_services.h"
#include "processes/process_path.h"
#include "services/win/services_tab.h"
#include "tasks/win/tasks_tab.h"

namespace dravik {

namespace {

// Stands in for a tab whose rows are not listed yet: its list stays empty
// and its commands do nothing.
class EmptyPage final : public TabPage {
 public:
  void refresh() override {}
};

// The system objects the pages act through, alive as long as the pages.
struct PageResources {
  platform::win32::Win32ProcessControl processControl;
  ProcessPaths processPaths{processControl};
  platform::win32::Win32ServiceControl serviceControl;
  std::unique_ptr<RefreshTimer> timer;
};

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
  set.pages[1] = std::make_unique<EmptyPage>();
  set.pages[2] = std::make_unique<ServicesTab>(context, lists[2], r.serviceControl);
  set.pages[3] = std::make_unique<EmptyPage>();

  set.timerTick = [&r] { r.timer->tick(); };
  set.loaded = [&r] {
    r.timer->openProcessorCounter();
    r.timer->writeMemoryPanels();
    r.processPaths.LoadDeviceMap();
  };
  set.unloading = [&r] { r.timer->closeProcessorCounter(); };
  return set;
}

}  // namespace dravik
