#pragma once
#include "platform/registry.h"

namespace platform::win32 {

class Win32Registry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> openKey(RegistryRoot root, const std::wstring& path,
                                       std::uint32_t access, long& result) override;
  std::unique_ptr<RegistryKey> createKey(RegistryRoot root, const std::wstring& path,
                                         std::uint32_t access, long& result) override;
};

}  // namespace platform::win32
