#pragma once
// A service control manager in memory for the native tests, for what Wine
// cannot stage: paging with a resume handle (which Wine ignores), failed
// openings and listings, and services gone between listing and query (every
// service it lists is: opening one fails).
#include <memory>
#include <string>
#include <vector>

#include "platform/services.h"

namespace fakes {

class FakeServiceControl final : public platform::ServiceControl {
 public:
  std::unique_ptr<platform::ServiceManager> openManager(std::uint32_t, long& error) override {
    error = managerError;
    return managerError ? nullptr : std::make_unique<Manager>(*this);
  }
  std::wstring systemMessage(long) override { return L""; }

  std::vector<std::wstring> services;  // the names the enumeration hands out
  long managerError = 0;               // every opening of the manager fails with this
  long dataCallError = 0;              // the enumeration's data call fails with this
  std::size_t entriesPerCall = 0;      // paging: at most this many entries per data call (0: all)
  bool ignoresResumeHandle = false;    // as Wine does

 private:
  class Manager final : public platform::ServiceManager {
   public:
    explicit Manager(FakeServiceControl& owner) : owner_(owner) {}
    std::unique_ptr<platform::Service> openService(const std::wstring& name, std::uint32_t, long& error) override {
      error = name.empty() ? 123 : 1060;  // ERROR_INVALID_NAME, ERROR_SERVICE_DOES_NOT_EXIST
      return nullptr;
    }
    // The size request always asks for more; a data call hands out one page.
    long enumerate(std::uint32_t, std::uint32_t, std::uint32_t bufferBytes, std::uint32_t& bytesNeeded,
                   std::uint32_t& resumeHandle, std::vector<std::wstring>& names) override {
      if (bufferBytes == 0) return (bytesNeeded = 4096, platform::scm::kErrorMoreData);
      if (owner_.dataCallError) return owner_.dataCallError;
      const auto& all = owner_.services;
      std::size_t at = owner_.ignoresResumeHandle ? 0 : resumeHandle;
      for (std::size_t taken = 0; at < all.size() && (!owner_.entriesPerCall || taken < owner_.entriesPerCall); ++taken) {
        names.push_back(all[at++]);
      }
      if (at == all.size()) return static_cast<long>(resumeHandle = 0);
      if (!owner_.ignoresResumeHandle) resumeHandle = static_cast<std::uint32_t>(at);
      return platform::scm::kErrorMoreData;
    }

   private:
    FakeServiceControl& owner_;
  };
};

}  // namespace fakes
