#pragma once
// The settings store: text values under one registry key of the local machine.
#include <string>

#include "platform/registry.h"

namespace dravik {

inline constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\Dravik Task Manager";
inline constexpr wchar_t kSettingLanguage[] = L"Language";
inline constexpr wchar_t kSettingHeight[] = L"Heigth";  // sic: existing installations use this name
inline constexpr wchar_t kSettingWidth[] = L"Width";
inline constexpr wchar_t kSettingRunMinimized[] = L"RunMinimized";
inline constexpr wchar_t kDefaultLanguage[] = L"English";

// Read and write access plus the 64-bit view, so the 32-bit program shares its
// settings with any 64-bit tool on the same machine.
inline constexpr unsigned kSettingsAccess = 0x13F;

// Creates the key (and its parents) when needed and stores `value` as REG_SZ.
// True when the value was stored.
bool RegWriteString(platform::Registry& registry, platform::RegistryRoot root,
                    const std::wstring& subKey, const std::wstring& name,
                    const std::wstring& value);

// Finds the value by walking the key's values with 255-character buffers and
// comparing names exactly (case matters). "" when the key or value is missing,
// unreadable, or listed after a value too long for those buffers.
std::wstring RegReadString(platform::Registry& registry, platform::RegistryRoot root,
                           const std::wstring& subKey, const std::wstring& name);

// The settings this program keeps, with their defaults.
class Settings {
 public:
  explicit Settings(platform::Registry& registry) : registry_(registry) {}
  std::wstring read(const std::wstring& name) const;
  void write(const std::wstring& name, const std::wstring& value) const;
  // The stored language name, "English" when none is stored.
  std::wstring languageName() const;
  // Only exactly "True" starts the program in the notification area.
  bool runMinimized() const;

 private:
  platform::Registry& registry_;
};

}  // namespace dravik
