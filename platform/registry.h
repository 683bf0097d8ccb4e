#pragma once
// The registry, as the settings store and the layout use it.
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

enum class RegistryRoot { LocalMachine, CurrentUser };

// Win32 error codes the callers look at.
constexpr long kErrorSuccess = 0;
constexpr long kErrorMoreData = 234;
constexpr long kErrorNoMoreItems = 259;

// An open key; closed when the object goes.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Reads value number `index` into buffers of `nameChars` and `dataChars`
  // characters. On 0 (success) `name` holds the name and `data` every character
  // the call returned, the stored terminating NUL included. Any other result
  // leaves both empty: 234 when the name or data does not fit, 259 past the end.
  virtual long enumValue(std::uint32_t index, std::size_t nameChars, std::size_t dataChars,
                         std::wstring& name, std::wstring& data) = 0;
  // Stores a string value (REG_SZ) with its terminating NUL; 0 or the error.
  virtual long setString(const std::wstring& name, const std::wstring& value) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens an existing key with `access`; null and the error code when it fails.
  virtual std::unique_ptr<RegistryKey> openKey(RegistryRoot root, const std::wstring& path,
                                               std::uint32_t access, long& result) = 0;
  // Opens the key, creating it and any missing parent keys.
  virtual std::unique_ptr<RegistryKey> createKey(RegistryRoot root, const std::wstring& path,
                                                 std::uint32_t access, long& result) = 0;
};

}  // namespace platform
