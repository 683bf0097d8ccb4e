#pragma once
#include "platform/processes.h"

namespace platform::win32 {

class Win32SystemInfo final : public SystemInfo {
 public:
  std::optional<OsVersion> version() override;
  SystemDirectoryResult systemDirectory(std::uint32_t bufferChars) override;
  std::wstring programFolder() override;
};

}  // namespace platform::win32
