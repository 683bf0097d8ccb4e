#pragma once
// From a process id to the path of its executable with a drive letter, and
// the names a process is shown by before its path is known.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/processes.h"

namespace dravik {

// One logical drive: its NT device name (\Device\HarddiskVolume1) and letter.
struct DeviceMapEntry {
  std::wstring device;
  wchar_t letter = 0;
};
using DeviceMap = std::vector<DeviceMapEntry>;

// The text up to its first NUL; all of it when it has none.
std::wstring NoNulls(const std::wstring& text);
// The roots of the logical drives ("C:\"), in the order the system lists them.
std::vector<std::wstring> GetLogicalDriveList(platform::ProcessControl& processes);
// The NT device name of a drive root, "" when the system has none for it.
std::wstring GetDosDeviceName(platform::ProcessControl& processes, const std::wstring& driveRoot);
// One entry per logical drive. Drives attached later are not in it.
DeviceMap LoadDeviceMap(platform::ProcessControl& processes);
// The executable of a process with a drive letter; a path on a device the
// map lacks (network, drives attached later) stays in device form; "" when
// the process cannot be opened or read.
std::wstring GetProcessPath(platform::ProcessControl& processes, const DeviceMap& devices,
                            std::uint32_t processId);
// "(System Idle Process)" for 0, "(System)" for 4, otherwise "(<id>)".
std::wstring ProcessPlaceholderName(std::uint32_t processId);

// The device map loaded once at start with the lookups that use it: what the
// other tabs hold on to.
class ProcessPaths {
 public:
  explicit ProcessPaths(platform::ProcessControl& processes) : processes_(processes) {}
  void LoadDeviceMap() { devices_ = dravik::LoadDeviceMap(processes_); }
  std::wstring GetProcessPath(std::uint32_t processId) const {
    return dravik::GetProcessPath(processes_, devices_, processId);
  }
  const DeviceMap& devices() const { return devices_; }

 private:
  platform::ProcessControl& processes_;
  DeviceMap devices_;
};

}  // namespace dravik
