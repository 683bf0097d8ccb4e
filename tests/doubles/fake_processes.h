#pragma once
// Doubles of the process platform: the process calls, the instrumentation
// query and the shell's file icons and properties sheet, each recording what
// it was asked. They give what Wine lacks: 16-bit tasks, device paths of
// other drives, most process counters, a query that fails on demand and the
// properties sheet.
#include <map>
#include <set>
#include <vector>

#include "platform/processes.h"
#include "platform/shell.h"

namespace fakes {

class FakeProcessControl final : public platform::ProcessControl {
 public:
  WaitResult waitForEnd(std::uint32_t pid, unsigned timeoutMs) override {
    waits.emplace_back(pid, timeoutMs);
    if (unopenable.count(pid) || !running.count(pid)) return WaitResult::NotOpened;
    if (!closeRequested.count(pid) || !endsOnClose.count(pid)) return WaitResult::StillRunning;
    running.erase(pid);
    return WaitResult::Ended;
  }
  std::optional<bool> terminate(std::uint32_t pid) override {
    kills.push_back(pid);
    if (unopenable.count(pid) || !running.erase(pid)) return std::nullopt;
    return true;
  }
  std::optional<std::wstring> imageFileName(std::uint32_t pid) override {
    if (!images.count(pid) || unopenable.count(pid)) return std::nullopt;
    return images[pid] + std::wstring(260 - images[pid].size(), L'\0');
  }
  std::wstring logicalDriveStrings() override { return drives; }
  DosDeviceResult queryDosDevice(const std::wstring& drive) override {
    const std::wstring name = dosDevices.count(drive) ? dosDevices[drive] + L'\0' + L'\0' : L"";
    const auto count = static_cast<std::uint32_t>(name.size());
    return {count, name + std::wstring(260 - count, L'\0')};
  }
  std::vector<std::uint32_t> wowMachines() override { return wow; }
  std::wstring firstModuleName(std::uint32_t pid) override {
    return modules.count(pid) ? modules[pid] : L"";
  }
  // Priorities are proved under Wine, on real processes.
  std::uint32_t windowProcessId(std::uintptr_t) override { return 0; }
  std::uint32_t setPriorityClass(std::uint32_t, std::uint32_t) override { return 0; }

  std::set<std::uint32_t> running;      // processes that exist
  std::set<std::uint32_t> endsOnClose;  // end when asked to (see closeRequested)
  std::set<std::uint32_t> unopenable;
  std::set<std::uint32_t> closeRequested;
  std::map<std::uint32_t, std::wstring> images;     // device-form paths
  std::map<std::wstring, std::wstring> dosDevices;  // "C:" -> "\Device\HarddiskVolume1"
  std::map<std::uint32_t, std::wstring> modules;
  std::vector<std::uint32_t> wow;
  std::wstring drives;
  std::vector<std::pair<std::uint32_t, unsigned>> waits;
  std::vector<std::uint32_t> kills;
};

// Hands out a fixed set of objects, as if the instrumentation had them; a
// property an object lacks comes as Empty.
class FakeProcessQuery final : public platform::ProcessQuery {
 public:
  bool forEachObject(const std::wstring& wql, const std::vector<std::wstring>& properties,
                     const std::function<void(const std::vector<platform::PropertyValue>&)>& visit)
      override {
    lastQuery = wql;
    lastProperties = properties;
    for (std::size_t o = 0; reachable && o < objects.size(); ++o) {
      std::vector<platform::PropertyValue> values;
      for (const auto& name : properties) {
        values.push_back(objects[o].count(name) ? objects[o][name] : platform::PropertyValue{});
      }
      visit(values);
    }
    return reachable;
  }

  std::vector<std::map<std::wstring, platform::PropertyValue>> objects;
  bool reachable = true;
  std::wstring lastQuery;
  std::vector<std::wstring> lastProperties;
};

class FakeShellFiles final : public platform::ShellFiles {
 public:
  platform::SystemIcon smallIcon(const std::wstring&) override { return {}; }
  bool showProperties(const std::wstring& path) override {
    propertiesShown.push_back(path);
    return true;
  }
  std::vector<std::wstring> propertiesShown;
};

}  // namespace fakes
