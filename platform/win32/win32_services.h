#pragma once
#include "platform/services.h"

namespace platform::win32 {

// The service control manager of the local machine, through advapi32.
class Win32ServiceControl final : public ServiceControl {
 public:
  std::unique_ptr<ServiceManager> openManager(std::uint32_t access, long& error) override;
  std::wstring systemMessage(long code) override;
};

}  // namespace platform::win32
