#include "app/settings.h"

namespace dravik {

namespace {
constexpr std::size_t kEnumBufferChars = 255;
}

bool RegWriteString(platform::Registry& registry, platform::RegistryRoot root,
                    const std::wstring& subKey, const std::wstring& name,
                    const std::wstring& value) {
  long result = 0;
  auto key = registry.createKey(root, subKey, kSettingsAccess, result);
  if (!key) return false;
  return key->setString(name, value) == platform::kErrorSuccess;
}

std::wstring RegReadString(platform::Registry& registry, platform::RegistryRoot root,
                           const std::wstring& subKey, const std::wstring& name) {
  long result = 0;
  auto key = registry.openKey(root, subKey, kSettingsAccess, result);
  std::wstring found;
  for (std::uint32_t index = 0; key && result == platform::kErrorSuccess; ++index) {
    std::wstring valueName, data;
    result = key->enumValue(index, kEnumBufferChars, kEnumBufferChars, valueName, data);
    if (result == platform::kErrorSuccess && valueName == name) {
      // The stored text ends in its NUL; empty data has none to drop.
      found = data.empty() ? std::wstring() : data.substr(0, data.size() - 1);
    }
  }
  return found;
}

std::wstring Settings::read(const std::wstring& name) const {
  return RegReadString(registry_, platform::RegistryRoot::LocalMachine, kSettingsKey, name);
}

void Settings::write(const std::wstring& name, const std::wstring& value) const {
  RegWriteString(registry_, platform::RegistryRoot::LocalMachine, kSettingsKey, name, value);
}

std::wstring Settings::languageName() const {
  std::wstring name = read(kSettingLanguage);
  return name.empty() ? kDefaultLanguage : name;
}

bool Settings::runMinimized() const { return read(kSettingRunMinimized) == L"True"; }

}  // namespace dravik
