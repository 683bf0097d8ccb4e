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
#include "support/win/test_support.h"

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
  return testsupport::WaitFor([&] { return ServiceState(name) == state; });
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

// The key names the manager lists for a type filter, asked directly (in
// one call: the buffer is far larger than any list a test makes).
inline std::vector<std::wstring> ListedServices(DWORD typeFilter) {
  std::vector<unsigned long long> buffer(64 * 1024);
  DWORD needed = 0, count = 0, resume = 0;
  const bool listed = ::EnumServicesStatusExW(OpenManager().get(), SC_ENUM_PROCESS_INFO, typeFilter, SERVICE_STATE_ALL,
                                              reinterpret_cast<BYTE*>(buffer.data()), static_cast<DWORD>(buffer.size() * 8),
                                              &needed, &count, &resume, nullptr);
  const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(buffer.data());
  std::vector<std::wstring> names;
  for (DWORD i = 0; listed && i < count; ++i) names.push_back(entries[i].lpServiceName);
  return names;
}

// Every test service a killed run may have left behind.
inline std::vector<std::wstring> LeftoverTestServices() {
  std::vector<std::wstring> names = ListedServices(SERVICE_WIN32);
  std::erase_if(names, [](const std::wstring& name) { return name.rfind(kTestServicePrefix, 0) != 0; });
  return names;
}

inline void RemoveLeftoverTestServices() {
  for (const std::wstring& name : LeftoverTestServices()) RemoveService(name);
}

struct InstalledService {
  // `exe` is the full path of test_service.exe.
  InstalledService(const std::wstring& suffix, const std::wstring& exe)
      : name(kTestServicePrefix + suffix), commandLine(L"\"" + exe + L"\" " + name) {
    RemoveService(name);
    UniqueServiceHandle service(::CreateServiceW(OpenManager().get(), name.c_str(), (L"Dravik test " + name).c_str(),
                                                 SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START,
                                                 SERVICE_ERROR_NORMAL, commandLine.c_str(), nullptr, nullptr, nullptr,
                                                 nullptr, nullptr));
  }
  ~InstalledService() { RemoveService(name); }
  InstalledService(const InstalledService&) = delete;
  InstalledService& operator=(const InstalledService&) = delete;

  const std::wstring name, commandLine;
};

}  // namespace servicetests
