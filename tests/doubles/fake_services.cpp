#include "doubles/fake_services.h"

#include <algorithm>

namespace fakes {

namespace scm = platform::scm;

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// An entry of the process-information enumeration with its two strings, as the 32-bit system lays it out.
std::uint32_t EntryBytes(const FakeServiceEntry& e) {
  return 44 + static_cast<std::uint32_t>(e.name.size() + e.config.displayName.size() + 2);
}

class FakeService final : public platform::Service {
 public:
  FakeService(FakeServiceControl& owner, std::wstring name) : owner_(owner), name_(std::move(name)) {
    ++owner_.openHandles;
  }
  ~FakeService() override {
    --owner_.openHandles;
    owner_.calls.push_back("close " + Narrow(name_));
  }

  long queryConfig(std::uint32_t bufferBytes, std::uint32_t& bytesNeeded, platform::ServiceConfigData& config) override {
    owner_.configBuffers.push_back(bufferBytes);
    return with("", [&](FakeServiceEntry& e) {
      if (bufferBytes < owner_.configBytes) {
        bytesNeeded = owner_.configBytes;
        return scm::kErrorInsufficientBuffer;
      }
      config = e.config;
      return 0L;
    });
  }
  long queryStatus(std::uint32_t& state) override {
    return with("", [&](FakeServiceEntry& e) { return (state = e.state, 0L); });
  }
  long start() override {
    return with("start", [](FakeServiceEntry& e) {
      if (e.markedForDelete) return 1072L;
      if (e.config.startType == 4) return 1058L;
      if (e.state != scm::kStopped) return 1056L;
      return (e.state = scm::kRunning, 0L);
    });
  }
  long control(std::uint32_t code) override {
    return with("control", [&](FakeServiceEntry& e) {
      if (e.state == scm::kStopped) return 1062L;
      const std::uint32_t next[] = {0, scm::kStopped, scm::kPaused, scm::kRunning};
      return code < 1 || code > 3 ? 87L : (e.state = next[code], 0L);
    }, std::to_string(code));
  }
  long remove() override {
    return with("delete", [](FakeServiceEntry& e) {
      if (e.markedForDelete) return 1072L;
      e.markedForDelete = true;
      e.exists = e.state != scm::kStopped;  // a running one goes when it stops
      return 0L;
    });
  }
  // Only the start type is applied: the call's record shows what else was asked.
  long changeConfig(std::uint32_t serviceType, std::uint32_t startType, std::uint32_t errorControl,
                    std::uint32_t* tagId) override {
    return with("change", [&](FakeServiceEntry& e) { return startType > 4 ? 87L : (e.config.startType = startType, 0L); },
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

class FakeManager final : public platform::ServiceManager {
 public:
  explicit FakeManager(FakeServiceControl& owner) : owner_(owner) { ++owner_.openHandles; }
  ~FakeManager() override {
    --owner_.openHandles;
    owner_.calls.push_back("close manager");
  }

  std::unique_ptr<platform::Service> openService(const std::wstring& name, std::uint32_t access, long& error) override {
    owner_.calls.push_back("open " + Narrow(name) + " " + std::to_string(access));
    error = name.empty() ? 123 : 1060;  // ERROR_INVALID_NAME, ERROR_SERVICE_DOES_NOT_EXIST
    return owner_.find(name) ? std::make_unique<FakeService>(owner_, name) : nullptr;
  }

  long enumerate(std::uint32_t typeFilter, std::uint32_t stateFilter, std::uint32_t bufferBytes,
                 std::uint32_t& bytesNeeded, std::uint32_t& resumeHandle, std::vector<std::wstring>& names) override {
    owner_.enums.push_back({bufferBytes, resumeHandle, 0});
    if (typeFilter == 0 || stateFilter == 0 || (typeFilter & ~0x3Fu) != 0) return 87;
    if (long error = bufferBytes ? owner_.dataCallError : owner_.sizeRequestError) return error;
    std::vector<const FakeServiceEntry*> matching;
    for (const FakeServiceEntry& e : owner_.services) {
      if (!(e.markedForDelete && !e.exists) && (e.config.serviceType & typeFilter)) matching.push_back(&e);
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
    return scm::kErrorMoreData;
  }

 private:
  FakeServiceControl& owner_;
};

}  // namespace

std::unique_ptr<platform::ServiceManager> FakeServiceControl::openManager(std::uint32_t access, long& error) {
  calls.push_back("manager " + std::to_string(access));
  error = managerError;
  return managerError ? nullptr : std::make_unique<FakeManager>(*this);
}

FakeServiceEntry& FakeServiceControl::add(const std::wstring& name, std::uint32_t type, std::uint32_t startType) {
  FakeServiceEntry& e = services.emplace_back();
  e.name = name;
  e.config = {type, startType, 0, 0, L"C:\\windows\\system32\\" + name + L".exe", L"", L"", L"LocalSystem",
              name + L" display"};
  return e;
}

FakeServiceEntry* FakeServiceControl::find(const std::wstring& name) {
  auto it = std::find_if(services.begin(), services.end(), [&](auto& e) { return e.exists && e.name == name; });
  return it == services.end() ? nullptr : &*it;
}

}  // namespace fakes
