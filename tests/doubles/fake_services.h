#pragma once
// A service control manager in memory for the native tests. It behaves like
// the real one where the library depends on it (size requests, buffers that
// must be large enough, paging with a resume handle, the error codes of
// commands that do not fit the state) and records every call, so tests can
// check access rights, buffer sizes and that every handle was closed.
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
  bool markedForDelete = false;
};

class FakeServiceControl final : public platform::ServiceControl {
 public:
  std::unique_ptr<platform::ServiceManager> openManager(std::uint32_t access, long& error) override;
  std::wstring systemMessage(long code) override { return messages.count(code) ? messages[code] : L""; }
  // An own-process service started on demand, with a display name and path made from `name`.
  FakeServiceEntry& add(const std::wstring& name, std::uint32_t type = 0x10, std::uint32_t startType = 3);
  FakeServiceEntry* find(const std::wstring& name);

  std::vector<FakeServiceEntry> services;
  std::map<long, std::wstring> messages;  // the system's texts by code

  // Failures to inject.
  long managerError = 0;             // every opening of the manager fails with this
  long sizeRequestError = 0;         // the enumeration's size request fails with this instead of 234
  long dataCallError = 0;            // the enumeration's data call fails with this
  std::size_t entriesPerCall = 0;    // paging: at most this many entries per data call (0: all)
  bool ignoresResumeHandle = false;  // as Wine does
  std::uint32_t configBytes = 90;    // bytes the configuration query says it needs, whatever the texts

  // What was asked.
  std::vector<std::string> calls;  // "manager 1", "open X 16", "start X", "close X", "close manager"...
  struct EnumCall {
    std::uint32_t buffer, resume, needed;  // needed: what a call that did not fit reported
  };
  std::vector<EnumCall> enums;
  std::vector<std::uint32_t> configBuffers;  // buffer size of each configuration query
  int openHandles = 0;
};

}  // namespace fakes
