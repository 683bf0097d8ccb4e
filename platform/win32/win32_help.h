#pragma once
#include <windows.h>

#include "platform/shell.h"

namespace platform::win32 {

// HTML help through hhctrl.ocx from the system folder, loaded when first
// needed: a system without the help viewer still runs the program, it only
// cannot show help.
class Win32HelpFiles final : public HelpFiles {
 public:
  std::uintptr_t displayTopic(std::uintptr_t owner, const std::wstring& path) override;
};

}  // namespace platform::win32
