#pragma once
// Tests that change the program's settings put them back as they found them.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace testsupport {

class SettingsGuard {
 public:
  // Remembers these values of the settings key (absent ones included).
  explicit SettingsGuard(std::vector<std::wstring> names);
  ~SettingsGuard();
  SettingsGuard(const SettingsGuard&) = delete;
  SettingsGuard& operator=(const SettingsGuard&) = delete;

 private:
  std::vector<std::pair<std::wstring, std::optional<std::wstring>>> saved_;
};

// A setting as stored; nullopt when absent.
std::optional<std::wstring> ReadSetting(const std::wstring& name);
void WriteSetting(const std::wstring& name, const std::wstring& value);
void DeleteSetting(const std::wstring& name);

}  // namespace testsupport
