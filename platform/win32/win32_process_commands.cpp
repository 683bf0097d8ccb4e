#include "platform/win32/win32_process_commands.h"

#include <windows.h>

#include "platform/win32/handles.h"

namespace platform::win32 {

bool Win32ProcessCommands::terminate(std::uint32_t processId) {
  UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
  if (!process) return false;
  return ::TerminateProcess(process.get(), 0) != FALSE;
}

std::uint32_t Win32ProcessCommands::windowProcessId(std::uintptr_t window) {
  DWORD processId = 0;
  if (!::GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &processId)) return 0;
  return processId;
}

std::uint32_t Win32ProcessCommands::setPriorityClass(std::uint32_t processId,
                                                    std::uint32_t priorityClass) {
  UniqueKernelHandle process(
      ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_SET_INFORMATION, FALSE, processId));
  if (process) {
    ::SetPriorityClass(process.get(), priorityClass);
  } else {
    // Without the right to change it, the caller still learns the class it has.
    process.reset(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (!process) return 0;
  }
  return ::GetPriorityClass(process.get());
}

}  // namespace platform::win32
