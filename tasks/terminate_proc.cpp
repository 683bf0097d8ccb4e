#include "tasks/terminate_proc.h"

#include <algorithm>
#include <cwctype>
#include <string>

namespace dravik {

bool IsWowTask(platform::ProcessControl& processes, std::uint32_t processId) {
  const std::vector<std::uint32_t> machines = processes.wowMachines();
  return std::find(machines.begin(), machines.end(), processId) != machines.end();
}

bool IsDosTask(platform::ProcessControl& processes, std::uint32_t processId) {
  std::wstring name = processes.firstModuleName(processId);
  std::transform(name.begin(), name.end(), name.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
  return name == L"NTVDM.EXE" && !IsWowTask(processes, processId);
}

bool EndProcessWindows(platform::TaskWindows& windows, platform::ProcessControl& processes,
                       std::uint32_t processId, unsigned delayMs) {
  windows.enumerate([&](platform::WindowHandle w) {
    // Owned windows (dialogs, tool palettes) go with their owner; closing one
    // of them would only cancel the dialog the program is showing.
    if (windows.processOf(w) == processId && windows.owner(w) == 0) windows.postClose(w);
    return true;
  });
  if (WaitProcessEnd(processes, processId, delayMs)) return true;
  return processes.terminate(processId).value_or(false);
}

bool WaitProcessEnd(platform::ProcessControl& processes, std::uint32_t processId,
                    unsigned timeoutMs) {
  // A process that cannot be opened any more is as good as gone.
  return processes.waitForEnd(processId, timeoutMs) !=
         platform::ProcessControl::WaitResult::StillRunning;
}

}  // namespace dravik
