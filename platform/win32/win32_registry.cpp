#include "platform/win32/win32_registry.h"

#include "platform/win32/handles.h"

namespace platform::win32 {

namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// The 32-bit and the 64-bit program share their settings: on 64-bit Windows
// the 32-bit one would otherwise be sent to HKLM\SOFTWARE\WOW6432Node, and a
// user moving from one to the other would lose their language and size. 32-bit
// Windows (XP included) ignores the flag.
DWORD NativeView(std::uint32_t access) { return access | KEY_WOW64_64KEY; }

class Win32RegistryKey final : public RegistryKey {
 public:
  explicit Win32RegistryKey(HKEY key) : key_(key) {}

  long enumValue(std::uint32_t index, std::size_t nameChars, std::size_t dataChars,
                 std::wstring& name, std::wstring& data) override {
    name.clear();
    data.clear();
    std::wstring nameBuffer(nameChars, L' ');
    std::wstring dataBuffer(dataChars, L' ');
    DWORD nameLength = static_cast<DWORD>(nameChars);
    DWORD dataBytes = static_cast<DWORD>(dataChars * sizeof(wchar_t));
    DWORD type = 0;
    const LONG result = ::RegEnumValueW(key_.get(), index, nameBuffer.data(), &nameLength, nullptr,
                                        &type, reinterpret_cast<BYTE*>(dataBuffer.data()),
                                        &dataBytes);
    if (result != ERROR_SUCCESS) return result;
    name.assign(nameBuffer.data(), nameLength);
    data.assign(dataBuffer.data(), dataBytes / sizeof(wchar_t));
    return result;
  }

  long setString(const std::wstring& name, const std::wstring& value) override {
    const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key_.get(), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(value.c_str()), bytes);
  }

 private:
  UniqueRegKey key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::openKey(RegistryRoot root, const std::wstring& path,
                                                    std::uint32_t access, long& result) {
  HKEY key = nullptr;
  result = ::RegOpenKeyExW(RootKey(root), path.c_str(), 0, NativeView(access), &key);
  if (result != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Win32RegistryKey>(key);
}

std::unique_ptr<RegistryKey> Win32Registry::createKey(RegistryRoot root, const std::wstring& path,
                                                      std::uint32_t access, long& result) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  SECURITY_ATTRIBUTES security{};
  security.nLength = sizeof(security);
  result = ::RegCreateKeyExW(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                             NativeView(access), &security, &key, &disposition);
  if (result != ERROR_SUCCESS) return nullptr;
  return std::make_unique<Win32RegistryKey>(key);
}

}  // namespace platform::win32
