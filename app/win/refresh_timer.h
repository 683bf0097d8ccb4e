#pragma once
// The main window's once-a-second work, on the Win32 counters, memory status
// and locale. The main window calls tick() from its timer, and the load and
// unload pieces at their places.
#include "app/refresh_tick.h"
#include "ui/win/tab_page.h"
#include "platform/win32/win32_performance.h"
#include "tasks/win/tasks_tab.h"

namespace dravik {

class RefreshTimer {
 public:
  // The context's language must be set: every tick reads its labels from it.
  RefreshTimer(AppContext& context, TasksTab& tasks);

  void tick() { tick_.tick(); }
  // Load: the processor counter with its priming sample, then the memory panels.
  void openProcessorCounter() { tick_.openProcessorCounter(); }
  void writeMemoryPanels() { tick_.writeMemoryPanels(); }
  // Unload.
  void closeProcessorCounter() { tick_.closeProcessorCounter(); }

 private:
  platform::win32::Win32PerformanceCounters counters_;
  platform::win32::Win32MemoryInfo memory_;
  platform::win32::Win32Locale locale_;
  RefreshTick tick_;
};

}  // namespace dravik
