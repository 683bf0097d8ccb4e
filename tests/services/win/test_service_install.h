#pragma once
// Installs the test service (test_service.exe) under a name of its own and
// removes it again when the owner goes, also when a test fails. Names start
// with kTestServicePrefix so that a run that was killed can be cleaned up by
// the next one. Shared by the Wine tests and the listing benchmark.
#include <windows.h>
#include <winsvc.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/handles.h"

namespace servicetests {

using platform::win32::UniqueServiceHandle;

inline constexpr const wchar_t* kTestServicePrefix = L"DravikTestSvc";

inline UniqueServiceHandle OpenManager() {
  return UniqueServiceHandle(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
}

inline DWORD ServiceState(const std::wstring& name) {
  UniqueServiceHandle manager = OpenManager();
  UniqueServiceHandle service(::OpenServiceW(manager.get(), name.c_str(), SERVICE_QUERY_STATUS));
  SERVICE_STATUS status{};
  if (!service || !::QueryServiceStatus(service.get(), &status)) return 0;
  return status.dwCurrentState;
}

inline bool ServiceExists(const std::wstring& name) {
  UniqueServiceHandle manager = OpenManager();
  UniqueServiceHandle service(::OpenServiceW(manager.get(), name.c_str(), SERVICE_QUERY_STATUS));
  return static_cast<bool>(service);
}

inline bool WaitForServiceState(const std::wstring& name, DWORD state, int milliseconds = 10000) {
  for (int waited = 0;; waited += 20) {
    if (ServiceState(name) == state) return true;
    if (waited >= milliseconds) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// Stops and deletes a service and waits until the manager has forgotten it
// (Wine keeps a deleted service while it runs or has open handles).
inline void RemoveService(const std::wstring& name) {
  {
    UniqueServiceHandle manager = OpenManager();
    UniqueServiceHandle service(::OpenServiceW(manager.get(), name.c_str(), SERVICE_ALL_ACCESS));
    if (!service) return;
    SERVICE_STATUS status{};
    if (::ControlService(service.get(), SERVICE_CONTROL_STOP, &status)) {
      WaitForServiceState(name, SERVICE_STOPPED, 5000);
    }
    ::DeleteService(service.get());
  }
  for (int i = 0; i < 250 && ServiceExists(name); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

// Every test service a killed run may have left behind.
inline std::vector<std::wstring> LeftoverTestServices() {
  std::vector<std::wstring> names;
  UniqueServiceHandle manager = OpenManager();
  DWORD needed = 0, count = 0, resume = 0;
  ::EnumServicesStatusExW(manager.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL,
                          nullptr, 0, &needed, &count, &resume, nullptr);
  std::vector<unsigned long long> buffer(needed / sizeof(unsigned long long) + 1);
  resume = 0;
  if (!::EnumServicesStatusExW(manager.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL,
                               reinterpret_cast<BYTE*>(buffer.data()),
                               static_cast<DWORD>(buffer.size() * sizeof(unsigned long long)), &needed,
                               &count, &resume, nullptr)) {
    return names;
  }
  const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(buffer.data());
  const std::wstring prefix = kTestServicePrefix;
  for (DWORD i = 0; i < count; ++i) {
    const std::wstring name = entries[i].lpServiceName;
    if (name.compare(0, prefix.size(), prefix) == 0) names.push_back(name);
  }
  return names;
}

inline void RemoveLeftoverTestServices() {
  for (const std::wstring& name : LeftoverTestServices()) RemoveService(name);
}

class InstalledService {
 public:
  // `exe` is the full path of test_service.exe.
  InstalledService(std::wstring name, const std::wstring& exe, DWORD startType = SERVICE_DEMAND_START)
      : name_(std::move(name)) {
    RemoveService(name_);
    UniqueServiceHandle manager = OpenManager();
    const std::wstring command = L"\"" + exe + L"\" " + name_;
    UniqueServiceHandle service(::CreateServiceW(
        manager.get(), name_.c_str(), (L"Dravik test " + name_).c_str(), SERVICE_ALL_ACCESS,
        SERVICE_WIN32_OWN_PROCESS, startType, SERVICE_ERROR_NORMAL, command.c_str(), nullptr, nullptr,
        nullptr, nullptr, nullptr));
    error_ = service ? 0 : ::GetLastError();
    commandLine_ = command;
  }
  ~InstalledService() { RemoveService(name_); }
  InstalledService(const InstalledService&) = delete;
  InstalledService& operator=(const InstalledService&) = delete;

  const std::wstring& name() const { return name_; }
  const std::wstring& commandLine() const { return commandLine_; }
  DWORD createError() const { return error_; }

  // Starts the service and waits until it runs. Wine's start is occasionally
  // refused once (1359) on a fresh service, so a failure is tried again once.
  DWORD startAndWait() {
    DWORD error = startOnce();
    if (error != 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      error = startOnce();
    }
    if (error == 0 && !WaitForServiceState(name_, SERVICE_RUNNING)) error = WAIT_TIMEOUT;
    return error;
  }

  DWORD startType() const {
    UniqueServiceHandle manager = OpenManager();
    UniqueServiceHandle service(::OpenServiceW(manager.get(), name_.c_str(), SERVICE_QUERY_CONFIG));
    std::vector<unsigned long long> buffer(1024);
    DWORD needed = 0;
    if (!service || !::QueryServiceConfigW(service.get(), reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data()),
                                           static_cast<DWORD>(buffer.size() * 8), &needed)) {
      return 0xFFFFFFFF;
    }
    return reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data())->dwStartType;
  }

 private:
  DWORD startOnce() {
    UniqueServiceHandle manager = OpenManager();
    UniqueServiceHandle service(::OpenServiceW(manager.get(), name_.c_str(), SERVICE_START));
    if (!service) return ::GetLastError();
    return ::StartServiceW(service.get(), 0, nullptr) ? 0 : ::GetLastError();
  }

  std::wstring name_;
  std::wstring commandLine_;
  DWORD error_ = 0;
};

}  // namespace servicetests
