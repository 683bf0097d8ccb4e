#pragma once
// A service control manager in memory for the native tests. It behaves like
// the real one where the library depends on it (size requests, buffers that
// must be large enough, paging with a resume handle, the error codes of
// commands that do not fit the state) and records every call, closes included,
// so tests can check access rights, paging and that every handle was closed.
#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/services.h"

namespace fakes {

struct FakeServiceEntry {
  std::wstring name;
  platform::ServiceConfigData config;
  std::uint32_t state = platform::scm::kStopped;
  bool exists = true;  // false: listed by the enumeration, but gone when opened
};

class FakeServiceControl final : public platform::ServiceControl {
 public:
  std::unique_ptr<platform::ServiceManager> openManager(std::uint32_t access, long& error) override {
    calls.push_back("manager " + std::to_string(access));
    error = managerError;
    return managerError ? nullptr : std::make_unique<Manager>(*this);
  }
  std::wstring systemMessage(long code) override { return messages.count(code) ? messages[code] : L""; }
  // An own-process service started on demand, with a display name and path made from `name`.
  FakeServiceEntry& add(const std::wstring& name) {
    return services.emplace_back(FakeServiceEntry{
        name, {0x10, 3, 0, 0, L"C:\\windows\\system32\\" + name + L".exe", L"", L"", L"LocalSystem", name + L" display"}});
  }
  FakeServiceEntry* find(const std::wstring& name) {
    auto it = std::find_if(services.begin(), services.end(), [&](auto& e) { return e.exists && e.name == name; });
    return it == services.end() ? nullptr : &*it;
  }

  std::vector<FakeServiceEntry> services;
  std::map<long, std::wstring> messages;  // the system's texts by code

  // Failures to inject.
  long managerError = 0;             // every opening of the manager fails with this
  long dataCallError = 0;            // the enumeration's data call fails with this
  std::size_t entriesPerCall = 0;    // paging: at most this many entries per data call (0: all)
  bool ignoresResumeHandle = false;  // as Wine does

  // What was asked.
  std::vector<std::string> calls;  // "manager 1", "open X 16", "start X", "close X", "close manager"...
  struct EnumCall {
    std::uint32_t buffer, resume, needed;  // needed: what a call that did not fit reported
  };
  std::vector<EnumCall> enums;

 private:
  static std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
  // An entry of the process-information enumeration with its two strings, as the 32-bit system lays it out.
  static std::uint32_t EntryBytes(const FakeServiceEntry& e) {
    return 44 + static_cast<std::uint32_t>(e.name.size() + e.config.displayName.size() + 2);
  }

  class Service final : public platform::Service {
   public:
    Service(FakeServiceControl& owner, std::wstring name) : owner_(owner), name_(std::move(name)) {}
    ~Service() override { owner_.calls.push_back("close " + Narrow(name_)); }
    long queryConfig(std::uint32_t bufferBytes, std::uint32_t& bytesNeeded, platform::ServiceConfigData& config) override {
      return with("", [&](FakeServiceEntry& e) {
        constexpr std::uint32_t kNeeded = 90;  // whatever the texts
        if (bufferBytes < kNeeded) return (bytesNeeded = kNeeded, platform::scm::kErrorInsufficientBuffer);
        return (config = e.config, 0L);
      });
    }
    long queryStatus(std::uint32_t& state) override {
      return with("", [&](FakeServiceEntry& e) { return (state = e.state, 0L); });
    }
    long start() override {
      return with("start", [](FakeServiceEntry& e) { return (e.state = platform::scm::kRunning, 0L); });
    }
    long control(std::uint32_t code) override {
      return with("control", [&](FakeServiceEntry& e) {
        const std::uint32_t next[] = {0, platform::scm::kStopped, platform::scm::kPaused, platform::scm::kRunning};
        return e.state == platform::scm::kStopped ? 1062L : (e.state = next[code], 0L);
      }, std::to_string(code));
    }
    // Gone at once: Delete stops a service before it deletes it.
    long remove() override {
      const long error = with("delete", [](FakeServiceEntry&) { return 0L; });
      if (error == 0) std::erase_if(owner_.services, [&](auto& e) { return e.exists && e.name == name_; });
      return error;
    }
    // Only the start type is applied: the call's record shows what else was asked.
    long changeConfig(std::uint32_t serviceType, std::uint32_t startType, std::uint32_t errorControl,
                      std::uint32_t* tagId) override {
      return with("change", [&](FakeServiceEntry& e) { return (e.config.startType = startType, 0L); },
                  std::to_string(serviceType) + " " + std::to_string(startType) + " " + std::to_string(errorControl) +
                      (tagId ? " tag" : " notag"));
    }

   private:
    // Records "<what> <name> <details>" (nothing for the queries) and runs `request` on the entry, 1060 when it is gone.
    template <typename Request>
    long with(const std::string& what, Request request, const std::string& details = "") {
      if (!what.empty()) owner_.calls.push_back(what + " " + Narrow(name_) + (details.empty() ? "" : " ") + details);
      FakeServiceEntry* e = owner_.find(name_);
      return e ? request(*e) : 1060L;
    }
    FakeServiceControl& owner_;
    std::wstring name_;
  };

  class Manager final : public platform::ServiceManager {
   public:
    explicit Manager(FakeServiceControl& owner) : owner_(owner) {}
    ~Manager() override { owner_.calls.push_back("close manager"); }
    std::unique_ptr<platform::Service> openService(const std::wstring& name, std::uint32_t access, long& error) override {
      owner_.calls.push_back("open " + Narrow(name) + " " + std::to_string(access));
      error = name.empty() ? 123 : 1060;  // ERROR_INVALID_NAME, ERROR_SERVICE_DOES_NOT_EXIST
      return owner_.find(name) ? std::make_unique<Service>(owner_, name) : nullptr;
    }
    long enumerate(std::uint32_t typeFilter, std::uint32_t /*stateFilter*/, std::uint32_t bufferBytes,
                   std::uint32_t& bytesNeeded, std::uint32_t& resumeHandle, std::vector<std::wstring>& names) override {
      owner_.enums.push_back({bufferBytes, resumeHandle, 0});
      if (bufferBytes && owner_.dataCallError) return owner_.dataCallError;
      std::vector<const FakeServiceEntry*> matching;
      for (const FakeServiceEntry& e : owner_.services) {
        if (e.config.serviceType & typeFilter) matching.push_back(&e);
      }
      std::size_t at = owner_.ignoresResumeHandle ? 0 : std::min<std::size_t>(resumeHandle, matching.size());
      for (std::uint32_t used = 0, taken = 0; at < matching.size(); ++at, ++taken) {
        used += EntryBytes(*matching[at]);
        if ((owner_.entriesPerCall && taken == owner_.entriesPerCall) || used > bufferBytes) break;
        names.push_back(matching[at]->name);
      }
      if (at == matching.size()) return static_cast<long>(resumeHandle = 0);
      if (!owner_.ignoresResumeHandle) resumeHandle = static_cast<std::uint32_t>(at);
      for (bytesNeeded = 0; at < matching.size(); ++at) bytesNeeded += EntryBytes(*matching[at]);
      owner_.enums.back().needed = bytesNeeded;
      return platform::scm::kErrorMoreData;
    }

   private:
    FakeServiceControl& owner_;
  };
};

}  // namespace fakes
