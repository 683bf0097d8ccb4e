#pragma once
#include "platform/shell.h"

namespace platform::win32 {

class Win32ShellFiles final : public ShellFiles {
 public:
  SystemIcon smallIcon(const std::wstring& path) override;
  bool showProperties(const std::wstring& path) override;
};

}  // namespace platform::win32
