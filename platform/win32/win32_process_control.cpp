#include "platform/win32/win32_process_control.h"

#include <windows.h>
#include <psapi.h>

#include <type_traits>

#include "platform/win32/handles.h"
#include "platform/win32/system_library.h"

namespace platform::win32 {

// Looked up by the names psapi.dll has exported since XP; on Windows 7 and
// later they lead to the same calls in kernel32.
struct Win32ProcessControl::ProcessStatus {
  SystemLibrary library{L"psapi.dll"};
  decltype(::GetProcessImageFileNameW)* imageFileName =
      library.find<decltype(::GetProcessImageFileNameW)>("GetProcessImageFileNameW");
  decltype(::EnumProcessModules)* enumModules =
      library.find<decltype(::EnumProcessModules)>("EnumProcessModules");
  decltype(::GetModuleBaseNameW)* moduleBaseName =
      library.find<decltype(::GetModuleBaseNameW)>("GetModuleBaseNameW");
};

Win32ProcessControl::Win32ProcessControl() = default;
Win32ProcessControl::~Win32ProcessControl() = default;

const Win32ProcessControl::ProcessStatus& Win32ProcessControl::processStatus() {
  if (!processStatus_) processStatus_ = std::make_unique<ProcessStatus>();
  return *processStatus_;
}

namespace {

BOOL WINAPI CollectWowMachine(DWORD processId, DWORD, LPARAM data) {
  reinterpret_cast<std::vector<std::uint32_t>*>(data)->push_back(processId);
  return FALSE;  // go on to the next machine
}

}  // namespace

ProcessControl::WaitResult Win32ProcessControl::waitForEnd(std::uint32_t processId,
                                                           unsigned timeoutMs) {
  UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
  if (!process) return WaitResult::NotOpened;
  return ::WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0
             ? WaitResult::Ended
             : WaitResult::StillRunning;
}

std::optional<bool> Win32ProcessControl::terminate(std::uint32_t processId) {
  UniqueKernelHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
  if (!process) return std::nullopt;
  return ::TerminateProcess(process.get(), 0) != 0;
}

std::optional<std::wstring> Win32ProcessControl::imageFileName(std::uint32_t processId) {
  const auto imageFileName = processStatus().imageFileName;
  if (!imageFileName) return std::nullopt;
  UniqueKernelHandle process(
      ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) return std::nullopt;
  std::wstring buffer(MAX_PATH, L'\0');
  if (imageFileName(process.get(), buffer.data(), MAX_PATH) == 0) return std::nullopt;
  return buffer;
}

std::wstring Win32ProcessControl::logicalDriveStrings() {
  const DWORD needed = ::GetLogicalDriveStringsW(0, nullptr);
  if (needed == 0) return std::wstring();
  std::wstring buffer(needed + 1, L'\0');
  const DWORD written = ::GetLogicalDriveStringsW(needed + 1, buffer.data());
  // A drive attached between the two calls makes the second one too small.
  if (written == 0 || written > needed) return std::wstring();
  buffer.resize(written);
  return buffer;
}

ProcessControl::DosDeviceResult Win32ProcessControl::queryDosDevice(const std::wstring& drive) {
  DosDeviceResult result;
  result.buffer.assign(MAX_PATH, L'\0');
  result.count = ::QueryDosDeviceW(drive.c_str(), result.buffer.data(), MAX_PATH);
  return result;
}

std::vector<std::uint32_t> Win32ProcessControl::wowMachines() {
  std::vector<std::uint32_t> machines;
  // Only systems with a 16-bit subsystem carry the library; elsewhere there
  // is simply no machine to find.
  const SystemLibrary library(L"vdmdbg.dll");
  using Visit = BOOL(WINAPI*)(DWORD, DWORD, LPARAM);
  using EnumWow = std::remove_pointer_t<INT(WINAPI*)(Visit, LPARAM)>;
  if (const auto enumWow = library.find<EnumWow>("VDMEnumProcessWOW")) {
    enumWow(CollectWowMachine, reinterpret_cast<LPARAM>(&machines));
  }
  return machines;
}

std::wstring Win32ProcessControl::firstModuleName(std::uint32_t processId) {
  const ProcessStatus& status = processStatus();
  if (!status.enumModules || !status.moduleBaseName) return std::wstring();
  UniqueKernelHandle process(
      ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) return std::wstring();
  HMODULE modules[256];
  DWORD needed = 0;
  if (!status.enumModules(process.get(), modules, sizeof(modules), &needed) ||
      needed < sizeof(HMODULE)) {
    return std::wstring();
  }
  wchar_t name[MAX_PATH];
  const DWORD length = status.moduleBaseName(process.get(), modules[0], name, MAX_PATH);
  return std::wstring(name, length);
}

std::uint32_t Win32ProcessControl::windowProcessId(std::uintptr_t window) {
  DWORD processId = 0;
  if (!::GetWindowThreadProcessId(reinterpret_cast<HWND>(window), &processId)) return 0;
  return processId;
}

std::uint32_t Win32ProcessControl::setPriorityClass(std::uint32_t processId,
                                                    std::uint32_t priorityClass) {
  UniqueKernelHandle process(
      ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_SET_INFORMATION, FALSE, processId));
  if (process) {
    ::SetPriorityClass(process.get(), priorityClass);
  } else {
    // Without the right to change it, the caller still learns the class it has.
    process.reset(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (!process) return 0;
  }
  return ::GetPriorityClass(process.get());
}

}  // namespace platform::win32
