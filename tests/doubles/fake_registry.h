#pragma once
// An in-memory registry: keys by path, values kept in the order the real
// registry would enumerate them (case-insensitive name order, as Wine does).
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace fakes {

class FakeRegistry final : public platform::Registry {
 public:
  struct Value {
    std::wstring name;
    std::wstring data;  // as stored, terminating NUL included when there is one
  };
  using Key = std::vector<Value>;

  std::unique_ptr<platform::RegistryKey> openKey(platform::RegistryRoot root,
                                                 const std::wstring& path, std::uint32_t access,
                                                 long& result) override;
  std::unique_ptr<platform::RegistryKey> createKey(platform::RegistryRoot root,
                                                   const std::wstring& path, std::uint32_t access,
                                                   long& result) override;

  // Test set-up and inspection.
  void setRaw(platform::RegistryRoot root, const std::wstring& path, const std::wstring& name,
              const std::wstring& data);
  void setString(platform::RegistryRoot root, const std::wstring& path, const std::wstring& name,
                 const std::wstring& value) {
    setRaw(root, path, name, value + L'\0');
  }
  bool hasKey(platform::RegistryRoot root, const std::wstring& path) const;
  const Key* key(platform::RegistryRoot root, const std::wstring& path) const;
  std::uint32_t lastAccess = 0;
  int opens = 0;

 private:
  static std::wstring Folded(const std::wstring& text);
  std::map<std::pair<platform::RegistryRoot, std::wstring>, Key> keys_;
  friend class FakeKey;
};

}  // namespace fakes
