#pragma once
// An in-memory registry: keys by path, values enumerated in case-insensitive
// name order as Wine does, names and data refused when they overflow the
// caller's buffers as the real call does.
#include <algorithm>
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
    ++opens;
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
  int opens = 0;

 private:
  static std::wstring Folded(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
  }
  class Key final : public platform::RegistryKey {
   public:
    explicit Key(Values& values) : values_(values) {}
    long enumValue(std::uint32_t index, std::size_t nameChars, std::size_t dataChars,
                   std::wstring& name, std::wstring& data) override {
      name.clear();
      data.clear();
      if (index >= values_.size()) return platform::kErrorNoMoreItems;
      // The name needs room for its NUL, the data does not.
      const Value& v = values_[index];
      if (v.name.size() + 1 > nameChars || v.data.size() > dataChars) return platform::kErrorMoreData;
      name = v.name;
      data = v.data;
      return platform::kErrorSuccess;
    }
    long setString(const std::wstring& name, const std::wstring& value) override {
      auto at = std::find_if(values_.begin(), values_.end(),
                             [&](const Value& v) { return Folded(v.name) >= Folded(name); });
      if (at != values_.end() && Folded(at->name) == Folded(name)) {
        at->data = value + L'\0';  // the first spelling of the name stays
      } else {
        values_.insert(at, {name, value + L'\0'});
      }
      return platform::kErrorSuccess;
    }

   private:
    Values& values_;
  };
  std::map<std::pair<platform::RegistryRoot, std::wstring>, Values> keys_;
};

}  // namespace fakes
