#pragma once
#include "platform/processes.h"

namespace platform::win32 {

class Win32ProcessCommands final : public ProcessCommands {
 public:
  bool terminate(std::uint32_t processId) override;
  std::uint32_t windowProcessId(std::uintptr_t window) override;
  std::uint32_t setPriorityClass(std::uint32_t processId, std::uint32_t priorityClass) override;
};

}  // namespace platform::win32
