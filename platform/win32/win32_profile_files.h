#pragma once
#include "platform/profile_files.h"

namespace platform::win32 {

// Profile files through the system's own profile API, read as 8-bit text.
class Win32ProfileFiles final : public ProfileFiles {
 public:
  std::string getString(std::string_view section, std::string_view key, std::string_view fallback,
                        std::size_t bufferSize, const std::wstring& file) override;
  bool writeString(std::string_view section, std::string_view key, std::string_view value,
                   const std::wstring& file) override;
  std::wstring decode(unsigned codePage, std::string_view bytes) override;
  unsigned ansiCodePage() override;
};

}  // namespace platform::win32
