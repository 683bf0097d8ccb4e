#pragma once
// Doubles of the process platform: the instrumentation query, process
// control and the shell's file icons and properties sheet, each recording
// what it was asked.
#include <map>
#include <vector>

#include "platform/processes.h"
#include "platform/shell.h"

namespace fakes {

// Hands out a fixed set of objects, as if the instrumentation had them.
// Wine's instrumentation lacks most process counters and any way to fail on
// demand, so the figures and the failures are driven from here.
class FakeProcessQuery final : public platform::ProcessQuery {
 public:
  bool forEachObject(const std::wstring& wql, const std::vector<std::wstring>& properties,
                     const std::function<void(const std::vector<platform::PropertyValue>&)>& visit)
      override;

  // Each object maps property names to values; a name it lacks comes as Empty.
  std::vector<std::map<std::wstring, platform::PropertyValue>> objects;
  bool reachable = true;
  int queries = 0;
  std::wstring lastQuery;
  std::vector<std::wstring> lastProperties;
};

class FakeProcessCommands final : public platform::ProcessCommands {
 public:
  bool terminate(std::uint32_t processId) override {
    terminated.push_back(processId);
    return terminateResult;
  }
  std::uint32_t windowProcessId(std::uintptr_t window) override {
    const auto found = windowOwners.find(window);
    return found == windowOwners.end() ? 0 : found->second;
  }
  std::uint32_t setPriorityClass(std::uint32_t processId, std::uint32_t priorityClass) override {
    priorityCalls.emplace_back(processId, priorityClass);
    return priorityResult;
  }

  bool terminateResult = true;
  std::vector<std::uint32_t> terminated;
  std::map<std::uintptr_t, std::uint32_t> windowOwners;
  std::uint32_t priorityResult = 0;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> priorityCalls;
};

// The shell's icons by path and its properties sheet. Other processes'
// icons and the properties sheet do not exist under Wine.
class FakeShellFiles final : public platform::ShellFiles {
 public:
  platform::SystemIcon smallIcon(const std::wstring& path) override {
    iconRequests.push_back(path);
    const auto found = icons.find(path);
    if (found != icons.end()) return found->second;
    return defaultIcon;
  }
  bool showProperties(const std::wstring& path) override {
    propertiesShown.push_back(path);
    return propertiesResult;
  }

  std::map<std::wstring, platform::SystemIcon> icons;
  platform::SystemIcon defaultIcon{};  // for paths not in `icons`; none by default
  std::vector<std::wstring> iconRequests;
  std::vector<std::wstring> propertiesShown;
  bool propertiesResult = true;
};

}  // namespace fakes
