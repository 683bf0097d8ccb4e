#pragma once
// An in-memory registry: keys and value names without regard to case, values
// enumerated in the order they were first set. What the real registry does with
// overlong names and data is tested against it under Wine.
#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace fakes {

class FakeRegistry final : public platform::Registry {
 public:
  struct Value {
    std::wstring name, data;  // data as stored, with its terminating NUL
  };
  using Values = std::vector<Value>;

  std::unique_ptr<platform::RegistryKey> openKey(platform::RegistryRoot root, const std::wstring& path,
                                                 std::uint32_t, long& result) override {
    auto found = keys_.find({root, Folded(path)});
    result = found == keys_.end() ? 2 /* ERROR_FILE_NOT_FOUND */ : platform::kErrorSuccess;
    return found == keys_.end() ? nullptr : std::make_unique<Key>(found->second);
  }
  std::unique_ptr<platform::RegistryKey> createKey(platform::RegistryRoot root, const std::wstring& path,
                                                   std::uint32_t, long& result) override {
    result = platform::kErrorSuccess;
    return std::make_unique<Key>(keys_[{root, Folded(path)}]);
  }
  void setString(platform::RegistryRoot root, const std::wstring& path, const std::wstring& name,
                 const std::wstring& value) {
    Key(keys_[{root, Folded(path)}]).setString(name, value);
  }

 private:
  static std::wstring Folded(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
  }
  class Key final : public platform::RegistryKey {
   public:
    explicit Key(Values& values) : values_(values) {}
    long enumValue(std::uint32_t index, std::size_t, std::size_t, std::wstring& name, std::wstring& data) override {
      if (index >= values_.size()) return platform::kErrorNoMoreItems;
      name = values_[index].name;
      data = values_[index].data;
      return platform::kErrorSuccess;
    }
    long setString(const std::wstring& name, const std::wstring& value) override {
      for (Value& v : values_) {
        if (Folded(v.name) != Folded(name)) continue;
        v.data = value + L'\0';
        return platform::kErrorSuccess;
      }
      values_.push_back({name, value + L'\0'});
      return platform::kErrorSuccess;
    }

   private:
    Values& values_;
  };
  std::map<std::pair<platform::RegistryRoot, std::wstring>, Values> keys_;
};

}  // namespace fakes
