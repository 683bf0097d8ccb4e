#include "doubles/fake_processes.h"

namespace fakes {

bool FakeProcessQuery::forEachObject(
    const std::wstring& wql, const std::vector<std::wstring>& properties,
    const std::function<void(const std::vector<platform::PropertyValue>&)>& visit) {
  ++queries;
  lastQuery = wql;
  lastProperties = properties;
  if (!reachable) return false;
  std::vector<platform::PropertyValue> values(properties.size());
  for (const auto& object : objects) {
    for (std::size_t i = 0; i < properties.size(); ++i) {
      const auto found = object.find(properties[i]);
      values[i] = found == object.end() ? platform::PropertyValue{} : found->second;
    }
    visit(values);
  }
  return true;
}

}  // namespace fakes
