#pragma once
#include "platform/shell.h"

namespace platform::win32 {

class Win32Shell final : public Shell {
 public:
  std::intptr_t execute(const std::wstring& verb, const std::wstring& file,
                        const std::wstring& parameters, const std::wstring& folder,
                        int showCommand) override;
};

}  // namespace platform::win32
