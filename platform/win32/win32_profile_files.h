#pragma once
#include "platform/profile_files.h"

namespace platform::win32 {

// Profile files read straight from disk by their wide path. The system's
// 8-bit profile calls are not used: they pass the text through the system's
// ANSI code page and back, which on a double-byte code page (932, 936, 949,
// 950) merges and replaces the bytes of a file written in another code page.
class Win32ProfileFiles final : public ProfileFiles {
 public:
  std::string read(const std::wstring& file) override;
  std::wstring decode(unsigned codePage, std::string_view bytes) override;
  unsigned ansiCodePage() override;
};

}  // namespace platform::win32
