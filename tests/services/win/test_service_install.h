#pragma once
// Installs the test service (test_service.exe) under a name of its own and
// removes it again when the owner goes, also when a test fails. Names start
// with kTestServicePrefix so that a run that was killed can be cleaned up by
// the next one. Shared by the Wine tests and the listing benchmark.
#include <windows.h>
#include <winsvc.h>

#include <string>
#include <vector>

#include "platform/win32/handles.h"

namespace servicetests {

using platform::win32::UniqueServiceHandle;

inline constexpr const wchar_t* kTestServicePrefix = L"DravikTestSvc";

inline UniqueServiceHandle OpenManager() {
  return UniqueServiceHandle(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
}

// The current state, 0 when the service cannot be opened (it is gone).
inline DWORD ServiceState(const std::wstring& name) {
  UniqueServiceHandle manager = OpenManager();
  UniqueServiceHandle service(::OpenServiceW(manager.get(), name.c_str(), SERVICE_QUERY_STATUS));
  SERVICE_STATUS status{};
  return service && ::QueryServiceStatus(service.get(), &status) ? status.dwCurrentState : 0;
}

inline bool WaitForServiceState(const std::wstring& name, DWORD state) {
  for (int waited = 0; ServiceState(name) != state; waited += 20) {
    if (waited >= 10000) return false;
    ::Sleep(20);
  }
  return true;
}

// Stops and deletes a service and waits until the manager has forgotten it
// (Wine keeps a deleted service while it runs or has open handles).
inline void RemoveService(const std::wstring& name) {
  {
    UniqueServiceHandle manager = OpenManager();
    UniqueServiceHandle service(::OpenServiceW(manager.get(), name.c_str(), SERVICE_ALL_ACCESS));
    if (!service) return;
    SERVICE_STATUS status{};
    if (::ControlService(service.get(), SERVICE_CONTROL_STOP, &status)) WaitForServiceState(name, SERVICE_STOPPED);
    ::DeleteService(service.get());
  }
  WaitForServiceState(name, 0);
}

// The key names the manager lists for a type filter, asked directly.
inline std::vector<std::wstring> ListedServices(DWORD typeFilter) {
  UniqueServiceHandle manager = OpenManager();
  DWORD needed = 0, count = 0, resume = 0;
  ::EnumServicesStatusExW(manager.get(), SC_ENUM_PROCESS_INFO, typeFilter, SERVICE_STATE_ALL, nullptr, 0, &needed,
                          &count, &resume, nullptr);
  std::vector<unsigned long long> buffer(needed / 8 + 1);
  std::vector<std::wstring> names;
  resume = 0;
  if (::EnumServicesStatusExW(manager.get(), SC_ENUM_PROCESS_INFO, typeFilter, SERVICE_STATE_ALL,
                              reinterpret_cast<BYTE*>(buffer.data()), static_cast<DWORD>(buffer.size() * 8), &needed,
                              &count, &resume, nullptr)) {
    const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) names.push_back(entries[i].lpServiceName);
  }
  return names;
}

// Every test service a killed run may have left behind.
inline std::vector<std::wstring> LeftoverTestServices() {
  std::vector<std::wstring> names;
  for (const std::wstring& name : ListedServices(SERVICE_WIN32)) {
    if (name.rfind(kTestServicePrefix, 0) == 0) names.push_back(name);
  }
  return names;
}

inline void RemoveLeftoverTestServices() {
  for (const std::wstring& name : LeftoverTestServices()) RemoveService(name);
}

class InstalledService {
 public:
  // `exe` is the full path of test_service.exe.
  InstalledService(const std::wstring& suffix, const std::wstring& exe)
      : name_(kTestServicePrefix + suffix), commandLine_(L"\"" + exe + L"\" " + name_) {
    RemoveService(name_);
    UniqueServiceHandle manager = OpenManager();
    UniqueServiceHandle service(::CreateServiceW(manager.get(), name_.c_str(), (L"Dravik test " + name_).c_str(),
                                                 SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                                 SERVICE_ERROR_NORMAL, commandLine_.c_str(), nullptr, nullptr,
                                                 nullptr, nullptr, nullptr));
  }
  ~InstalledService() { RemoveService(name_); }
  InstalledService(const InstalledService&) = delete;
  InstalledService& operator=(const InstalledService&) = delete;

  const std::wstring& name() const { return name_; }
  const std::wstring& commandLine() const { return commandLine_; }

 private:
  std::wstring name_;
  std::wstring commandLine_;
};

}  // namespace servicetests
