#include "doubles/fake_registry.h"

#include <algorithm>
#include <cwctype>

namespace fakes {

class FakeKey final : public platform::RegistryKey {
 public:
  explicit FakeKey(FakeRegistry::Key& key) : key_(key) {}

  long enumValue(std::uint32_t index, std::size_t nameChars, std::size_t dataChars,
                 std::wstring& name, std::wstring& data) override {
    name.clear();
    data.clear();
    if (index >= key_.size()) return platform::kErrorNoMoreItems;
    const auto& value = key_[index];
    // Like the real call: the name needs room for its NUL, the data does not.
    if (value.name.size() + 1 > nameChars || value.data.size() > dataChars) {
      return platform::kErrorMoreData;
    }
    name = value.name;
    data = value.data;
    return platform::kErrorSuccess;
  }

  long setString(const std::wstring& name, const std::wstring& value) override {
    auto found = std::find_if(key_.begin(), key_.end(), [&](const auto& v) {
      return FakeRegistry::Folded(v.name) == FakeRegistry::Folded(name);
    });
    if (found != key_.end()) {
      found->data = value + L'\0';  // the first spelling of the name stays
    } else {
      key_.push_back({name, value + L'\0'});
      std::sort(key_.begin(), key_.end(), [](const auto& a, const auto& b) {
        return FakeRegistry::Folded(a.name) < FakeRegistry::Folded(b.name);
      });
    }
    return platform::kErrorSuccess;
  }

 private:
  FakeRegistry::Key& key_;
};

std::wstring FakeRegistry::Folded(const std::wstring& text) {
  std::wstring out = text;
  for (auto& c : out) c = static_cast<wchar_t>(std::towlower(c));
  return out;
}

std::unique_ptr<platform::RegistryKey> FakeRegistry::openKey(platform::RegistryRoot root,
                                                             const std::wstring& path,
                                                             std::uint32_t access, long& result) {
  lastAccess = access;
  ++opens;
  auto found = keys_.find({root, Folded(path)});
  if (found == keys_.end()) {
    result = 2;  // ERROR_FILE_NOT_FOUND
    return nullptr;
  }
  result = platform::kErrorSuccess;
  return std::make_unique<FakeKey>(found->second);
}

std::unique_ptr<platform::RegistryKey> FakeRegistry::createKey(platform::RegistryRoot root,
                                                               const std::wstring& path,
                                                               std::uint32_t access, long& result) {
  lastAccess = access;
  // Creating a key creates every missing key on its path.
  for (std::size_t slash = path.find(L'\\'); slash != std::wstring::npos;
       slash = path.find(L'\\', slash + 1)) {
    keys_.try_emplace({root, Folded(path.substr(0, slash))});
  }
  result = platform::kErrorSuccess;
  return std::make_unique<FakeKey>(keys_[{root, Folded(path)}]);
}

void FakeRegistry::setRaw(platform::RegistryRoot root, const std::wstring& path,
                          const std::wstring& name, const std::wstring& data) {
  keys_[{root, Folded(path)}].push_back({name, data});
}

bool FakeRegistry::hasKey(platform::RegistryRoot root, const std::wstring& path) const {
  return keys_.count({root, Folded(path)}) != 0;
}

const FakeRegistry::Key* FakeRegistry::key(platform::RegistryRoot root,
                                           const std::wstring& path) const {
  auto found = keys_.find({root, Folded(path)});
  return found == keys_.end() ? nullptr : &found->second;
}

}  // namespace fakes
