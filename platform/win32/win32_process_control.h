#pragma once
#include <memory>

#include "platform/processes.h"

namespace platform::win32 {

// Image and module names come from the process status library, loaded from
// the system folder at the first name read; without it no name is read.
class Win32ProcessControl final : public ProcessControl {
 public:
  Win32ProcessControl();
  ~Win32ProcessControl() override;
  WaitResult waitForEnd(std::uint32_t processId, unsigned timeoutMs) override;
  std::optional<bool> terminate(std::uint32_t processId) override;
  std::optional<std::wstring> imageFileName(std::uint32_t processId) override;
  std::wstring logicalDriveStrings() override;
  DosDeviceResult queryDosDevice(const std::wstring& drive) override;
  std::vector<std::uint32_t> wowMachines() override;
  std::wstring firstModuleName(std::uint32_t processId) override;
  std::uint32_t windowProcessId(std::uintptr_t window) override;
  std::uint32_t setPriorityClass(std::uint32_t processId, std::uint32_t priorityClass) override;

 private:
  struct ProcessStatus;
  const ProcessStatus& processStatus();

  std::unique_ptr<ProcessStatus> processStatus_;
};

}  // namespace platform::win32
