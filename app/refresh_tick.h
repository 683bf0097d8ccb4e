#pragma once
// The once-a-second work of the main window: the Tasks list brought up to
// date and the status bar's processor and memory panels rewritten, whatever
// tab is shown and also while the window is hidden.
#include <functional>
#include <string>

#include "ui/commands.h"
#include "localization/read_ini.h"
#include "platform/performance.h"
#include "processes/cpu_usage.h"
#include "processes/memory_status.h"

namespace dravik {

// "(12) Tasks": the count of the Tasks list's rows.
std::wstring TaskCountPanelText(int rows, const Language& language);
// "(75.00%) <label>": the share of physical memory in use. A failed memory
// query (total 0) shows "(0.00%)" with the label.
std::wstring UsedMemoryPanelText(const CMemoryStatus& memory, const Language& language,
                                 const platform::NumberFormat& format);
// "(1.50 GB) <label>": the physical memory available.
std::wstring AvailableMemoryPanelText(const CMemoryStatus& memory, const Language& language,
                                      const platform::NumberFormat& format);

class RefreshTick {
 public:
  struct Parts {
    std::function<void()> refreshTaskList;
    std::function<int()> taskRowCount;
    std::function<Tab()> selectedTab;
    std::function<void(int panel, const std::wstring& text)> setStatusPanel;
  };
  RefreshTick(Parts parts, const Language& language, platform::PerformanceCounters& counters,
              platform::MemoryInfo& memory, platform::Locale& locale);

  // The timer's tick.
  void tick();

  // The pieces of the main window's load and unload, in the order it calls them:
  void openProcessorCounter();   // opens the counter and takes the priming sample
  void writeMemoryPanels();      // panels 3 and 4
  void closeProcessorCounter();  // at unload

  // Samples the processor counter; panel 2 is left as it is when the sample is not valid.
  void updateCpuUsage();

 private:
  void writeTaskCountPanel();  // panel 1 from the Tasks list's rows

  Parts parts_;
  const Language& language_;
  ProcessorCounter processor_;
  platform::MemoryInfo& memory_;
  platform::Locale& locale_;
};

}  // namespace dravik
