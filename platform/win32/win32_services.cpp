#include "platform/win32/win32_services.h"

#include <windows.h>
#include <winsvc.h>

#include <cstring>

#include "platform/win32/handles.h"

namespace platform::win32 {

namespace {

// The manager writes structures with pointers into these buffers, so they
// must be aligned like any allocation the manager would make itself.
class AlignedBuffer {
 public:
  explicit AlignedBuffer(std::uint32_t bytes) : storage_((bytes + sizeof(Slot) - 1) / sizeof(Slot)) {}
  BYTE* get() { return storage_.empty() ? nullptr : reinterpret_cast<BYTE*>(storage_.data()); }

 private:
  using Slot = unsigned long long;
  std::vector<Slot> storage_;
};

std::wstring Copy(const wchar_t* text) { return text ? std::wstring(text) : std::wstring(); }

// A list of NUL-terminated names ended by an empty one.
std::wstring CopyList(const wchar_t* list) {
  if (!list) return {};
  const wchar_t* end = list;
  while (*end) end += std::wcslen(end) + 1;
  std::wstring names(list, end);
  if (!names.empty() && names.back() == L'\0') names.pop_back();
  return names;
}

long LastError() { return static_cast<long>(::GetLastError()); }

class Win32Service final : public Service {
 public:
  explicit Win32Service(SC_HANDLE handle) : handle_(handle) {}

  long queryConfig(std::uint32_t bufferBytes, std::uint32_t& bytesNeeded,
                   ServiceConfigData& config) override {
    AlignedBuffer buffer(bufferBytes);
    auto* block = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.get());
    DWORD needed = 0;
    if (!::QueryServiceConfigW(handle_.get(), block, bufferBytes, &needed)) {
      const long error = LastError();
      if (error == ERROR_INSUFFICIENT_BUFFER) bytesNeeded = needed;
      return error;
    }
    config.serviceType = block->dwServiceType;
    config.startType = block->dwStartType;
    config.errorControl = block->dwErrorControl;
    config.tagId = block->dwTagId;
    config.imagePath = Copy(block->lpBinaryPathName);
    config.loadOrderGroup = Copy(block->lpLoadOrderGroup);
    config.dependencies = CopyList(block->lpDependencies);
    config.serviceStartName = Copy(block->lpServiceStartName);
    config.displayName = Copy(block->lpDisplayName);
    return 0;
  }

  long queryStatus(std::uint32_t& state) override {
    SERVICE_STATUS status{};
    if (!::QueryServiceStatus(handle_.get(), &status)) return LastError();
    state = status.dwCurrentState;
    return 0;
  }

  long start() override { return ::StartServiceW(handle_.get(), 0, nullptr) ? 0 : LastError(); }

  long control(std::uint32_t code) override {
    SERVICE_STATUS status{};
    return ::ControlService(handle_.get(), code, &status) ? 0 : LastError();
  }

  long remove() override { return ::DeleteService(handle_.get()) ? 0 : LastError(); }

  long changeConfig(std::uint32_t serviceType, std::uint32_t startType, std::uint32_t errorControl,
                    std::uint32_t* tagId) override {
    DWORD tag = tagId ? *tagId : 0;
    if (!::ChangeServiceConfigW(handle_.get(), serviceType, startType, errorControl, nullptr, nullptr,
                                tagId ? &tag : nullptr, nullptr, nullptr, nullptr, nullptr)) {
      return LastError();
    }
    if (tagId) *tagId = tag;
    return 0;
  }

 private:
  UniqueServiceHandle handle_;
};

class Win32ServiceManager final : public ServiceManager {
 public:
  explicit Win32ServiceManager(SC_HANDLE handle) : handle_(handle) {}

  std::unique_ptr<Service> openService(const std::wstring& name, std::uint32_t access,
                                       long& error) override {
    SC_HANDLE service = ::OpenServiceW(handle_.get(), name.c_str(), access);
    if (!service) {
      error = LastError();
      return nullptr;
    }
    return std::make_unique<Win32Service>(service);
  }

  long enumerate(std::uint32_t typeFilter, std::uint32_t stateFilter, std::uint32_t bufferBytes,
                 std::uint32_t& bytesNeeded, std::uint32_t& resumeHandle,
                 std::vector<std::wstring>& names) override {
    AlignedBuffer buffer(bufferBytes);
    DWORD needed = 0, count = 0, resume = resumeHandle;
    const BOOL ok = ::EnumServicesStatusExW(handle_.get(), SC_ENUM_PROCESS_INFO, typeFilter, stateFilter,
                                            buffer.get(), bufferBytes, &needed, &count, &resume, nullptr);
    const long result = ok ? 0 : LastError();
    if (result != 0 && result != ERROR_MORE_DATA) {
      if (result == ERROR_INSUFFICIENT_BUFFER) bytesNeeded = needed;
      return result;
    }
    if (result == ERROR_MORE_DATA) bytesNeeded = needed;
    resumeHandle = resume;
    const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(buffer.get());
    for (DWORD i = 0; entries && i < count; ++i) names.push_back(Copy(entries[i].lpServiceName));
    return result;
  }

 private:
  UniqueServiceHandle handle_;
};

}  // namespace

std::unique_ptr<ServiceManager> Win32ServiceControl::openManager(std::uint32_t access, long& error) {
  SC_HANDLE manager = ::OpenSCManagerW(nullptr, nullptr, access);
  if (!manager) {
    error = LastError();
    return nullptr;
  }
  return std::make_unique<Win32ServiceManager>(manager);
}

std::wstring Win32ServiceControl::systemMessage(long code) {
  wchar_t buffer[256];
  const DWORD length =
      ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(code), 0, buffer, 256, nullptr);
  return std::wstring(buffer, length);
}

}  // namespace platform::win32
