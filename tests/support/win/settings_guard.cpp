#include "support/win/settings_guard.h"

#include <thread>

namespace testsupport {

namespace {
constexpr wchar_t kKey[] = L"SOFTWARE\\Dravik Task Manager";
}

std::optional<std::wstring> ReadSetting(const std::wstring& name) {
  wchar_t data[512];
  DWORD size = sizeof(data);
  DWORD type = 0;
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, kKey, name.c_str(), RRF_RT_REG_SZ, &type, data, &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(data);
}

void WriteSetting(const std::wstring& name, const std::wstring& value) {
  HKEY key = nullptr;
  if (::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
    return;
  }
  ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  ::RegCloseKey(key);
}

void DeleteSetting(const std::wstring& name) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  ::RegDeleteValueW(key, name.c_str());
  ::RegCloseKey(key);
}

SettingsGuard::SettingsGuard(std::vector<std::wstring> names) {
  for (auto& name : names) saved_.emplace_back(name, ReadSetting(name));
}

SettingsGuard::~SettingsGuard() {
  for (const auto& [name, value] : saved_) {
    if (value) {
      WriteSetting(name, *value);
    } else {
      DeleteSetting(name);
    }
  }
}

}  // namespace testsupport
