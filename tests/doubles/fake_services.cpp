#include "doubles/fake_services.h"

#include <algorithm>

namespace fakes {

namespace scm = platform::scm;

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// The size an entry of the process-information enumeration takes, with its
// two strings, as the 32-bit system lays it out.
std::uint32_t EntryBytes(const FakeServiceEntry& entry) {
  return 44 + static_cast<std::uint32_t>(entry.name.size() + 1 + entry.config.displayName.size() + 1);
}

std::uint32_t ConfigBytes(const platform::ServiceConfigData& c) {
  return 36 + static_cast<std::uint32_t>(c.imagePath.size() + c.loadOrderGroup.size() +
                                         c.dependencies.size() + c.serviceStartName.size() +
                                         c.displayName.size() + 6);
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

  long queryConfig(std::uint32_t bufferBytes, std::uint32_t& bytesNeeded,
                   platform::ServiceConfigData& config) override {
    owner_.configBuffers.push_back(bufferBytes);
    FakeServiceEntry* entry = owner_.find(name_);
    if (!entry) return 1060;
    const std::uint32_t needed = owner_.configBytes ? owner_.configBytes : ConfigBytes(entry->config);
    if (bufferBytes < needed) {
      bytesNeeded = needed;
      return scm::kErrorInsufficientBuffer;
    }
    config = entry->config;
    return 0;
  }

  long queryStatus(std::uint32_t& state) override {
    FakeServiceEntry* entry = owner_.find(name_);
    if (!entry) return 1060;
    state = entry->state;
    return 0;
  }

  long start() override {
    owner_.calls.push_back("start " + Narrow(name_));
    FakeServiceEntry* entry = owner_.find(name_);
    if (!entry) return 1060;
    if (entry->markedForDelete) return 1072;
    if (entry->config.startType == 4) return 1058;
    if (entry->state != scm::kStopped) return 1056;
    entry->state = scm::kRunning;
    return 0;
  }

  long control(std::uint32_t code) override {
    owner_.calls.push_back("control " + Narrow(name_) + " " + std::to_string(code));
    FakeServiceEntry* entry = owner_.find(name_);
    if (!entry) return 1060;
    if (entry->state == scm::kStopped) return 1062;
    switch (code) {
      case scm::kControlStop:
        if (entry->refusesStop) return 1052;  // ERROR_INVALID_SERVICE_CONTROL
        entry->state = scm::kStopped;
        return 0;
      case scm::kControlPause:
        entry->state = scm::kPaused;
        return 0;
      case scm::kControlContinue:
        entry->state = scm::kRunning;
        return 0;
      default:
        return 87;
    }
  }

  long remove() override {
    owner_.calls.push_back("delete " + Narrow(name_));
    FakeServiceEntry* entry = owner_.find(name_);
    if (!entry) return 1060;
    if (entry->markedForDelete) return 1072;
    entry->markedForDelete = true;
    if (entry->state == scm::kStopped) entry->exists = false;
    return 0;
  }

  long changeConfig(std::uint32_t serviceType, std::uint32_t startType, std::uint32_t errorControl,
                    std::uint32_t* tagId) override {
    owner_.calls.push_back("change " + Narrow(name_) + " " + std::to_string(serviceType) + " " +
                           std::to_string(startType) + " " + std::to_string(errorControl) +
                           (tagId ? " tag" : " notag"));
    FakeServiceEntry* entry = owner_.find(name_);
    if (!entry) return 1060;
    if (startType != scm::kNoChange && startType > 4) return 87;
    if (serviceType != scm::kNoChange) entry->config.serviceType = serviceType;
    if (startType != scm::kNoChange) entry->config.startType = startType;
    if (errorControl != scm::kNoChange) entry->config.errorControl = errorControl;
    if (tagId) entry->config.tagId = *tagId;
    return 0;
  }

 private:
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

  std::unique_ptr<platform::Service> openService(const std::wstring& name, std::uint32_t access,
                                                 long& error) override {
    owner_.calls.push_back("open " + Narrow(name) + " " + std::to_string(access));
    if (name.empty()) {
      error = 123;  // ERROR_INVALID_NAME
      return nullptr;
    }
    if (!owner_.find(name)) {
      error = 1060;
      return nullptr;
    }
    return std::make_unique<FakeService>(owner_, name);
  }

  long enumerate(std::uint32_t typeFilter, std::uint32_t stateFilter, std::uint32_t bufferBytes,
                 std::uint32_t& bytesNeeded, std::uint32_t& resumeHandle,
                 std::vector<std::wstring>& names) override {
    owner_.enumBuffers.push_back(bufferBytes);
    owner_.enumResumes.push_back(resumeHandle);
    if (typeFilter == 0 || stateFilter == 0 || (typeFilter & ~0x3Fu) != 0) return 87;
    const bool sizeRequest = bufferBytes == 0;
    if (sizeRequest && owner_.sizeRequestError) return owner_.sizeRequestError;
    if (!sizeRequest && owner_.dataCallError) return owner_.dataCallError;

    std::vector<const FakeServiceEntry*> matching;
    for (const FakeServiceEntry& entry : owner_.services) {
      const bool deleted = entry.markedForDelete && !entry.exists;
      if (!deleted && (entry.config.serviceType & typeFilter)) matching.push_back(&entry);
    }
    const std::size_t from = owner_.ignoresResumeHandle ? 0 : std::min<std::size_t>(resumeHandle, matching.size());
    std::uint32_t remaining = 0;
    for (std::size_t i = from; i < matching.size(); ++i) remaining += EntryBytes(*matching[i]);

    std::uint32_t used = 0;
    std::size_t taken = 0;
    for (std::size_t i = from; i < matching.size(); ++i) {
      if (owner_.entriesPerCall && taken == owner_.entriesPerCall) break;
      if (used + EntryBytes(*matching[i]) > bufferBytes) break;
      used += EntryBytes(*matching[i]);
      names.push_back(matching[i]->name);
      ++taken;
    }
    if (from + taken < matching.size()) {
      if (!owner_.ignoresResumeHandle) resumeHandle = static_cast<std::uint32_t>(from + taken);
      std::uint32_t rest = 0;
      for (std::size_t i = from + taken; i < matching.size(); ++i) rest += EntryBytes(*matching[i]);
      bytesNeeded = taken == 0 ? remaining : rest;
      owner_.enumNeeded.push_back(bytesNeeded);
      return scm::kErrorMoreData;
    }
    resumeHandle = 0;
    return 0;
  }

 private:
  FakeServiceControl& owner_;
};

}  // namespace

std::unique_ptr<platform::ServiceManager> FakeServiceControl::openManager(std::uint32_t access, long& error) {
  calls.push_back("manager " + std::to_string(access));
  if (managerError) {
    error = managerError;
    return nullptr;
  }
  return std::make_unique<FakeManager>(*this);
}

std::wstring FakeServiceControl::systemMessage(long code) {
  auto it = messages.find(code);
  return it == messages.end() ? std::wstring() : it->second;
}

FakeServiceEntry& FakeServiceControl::add(const std::wstring& name, std::uint32_t type,
                                          std::uint32_t startType) {
  FakeServiceEntry entry;
  entry.name = name;
  entry.config.serviceType = type;
  entry.config.startType = startType;
  entry.config.displayName = name + L" display";
  entry.config.imagePath = L"C:\\windows\\system32\\" + name + L".exe";
  entry.config.serviceStartName = L"LocalSystem";
  services.push_back(entry);
  return services.back();
}

FakeServiceEntry* FakeServiceControl::find(const std::wstring& name) {
  for (FakeServiceEntry& entry : services) {
    if (entry.exists && entry.name == name) return &entry;
  }
  return nullptr;
}

}  // namespace fakes
