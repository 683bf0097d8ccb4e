#pragma once
#include "platform/profile_files.h"

namespace platform::win32 {

class Win32FileListing final : public FileListing {
 public:
  std::vector<std::wstring> files(const std::wstring& folder, const std::wstring& pattern) override;
};

}  // namespace platform::win32
