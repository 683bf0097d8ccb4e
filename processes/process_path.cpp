#include "processes/process_path.h"

namespace dravik {

std::wstring NoNulls(const std::wstring& text) { return text.substr(0, text.find(L'\0')); }

std::vector<std::wstring> GetLogicalDriveList(platform::ProcessControl& processes) {
  const std::wstring all = processes.logicalDriveStrings();
  std::vector<std::wstring> roots;
  std::size_t start = 0;
  while (start < all.size()) {
    std::size_t end = all.find(L'\0', start);
    if (end == std::wstring::npos) end = all.size();
    if (end > start) roots.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  return roots;
}

std::wstring GetDosDeviceName(platform::ProcessControl& processes, const std::wstring& driveRoot) {
  std::wstring drive = driveRoot;
  if (!drive.empty() && drive.back() == L'\\') drive.pop_back();
  const platform::ProcessControl::DosDeviceResult result = processes.queryDosDevice(drive);
  // The count includes the two NULs that end the list of names.
  if (result.count <= 2) return std::wstring();
  return NoNulls(result.buffer.substr(0, result.count - 2));
}

DeviceMap LoadDeviceMap(platform::ProcessControl& processes) {
  DeviceMap devices;
  for (const std::wstring& root : GetLogicalDriveList(processes)) {
    devices.push_back({GetDosDeviceName(processes, root), root.front()});
  }
  return devices;
}

std::wstring GetProcessPath(platform::ProcessControl& processes, const DeviceMap& devices,
                            std::uint32_t processId) {
  const std::optional<std::wstring> image = processes.imageFileName(processId);
  if (!image) return std::wstring();
  std::wstring path = NoNulls(*image);
  for (const DeviceMapEntry& entry : devices) {
    // A drive without a device name would otherwise claim every path.
    if (entry.device.empty() || path.size() <= entry.device.size()) continue;
    if (path.compare(0, entry.device.size(), entry.device) == 0 &&
        path[entry.device.size()] == L'\\') {
      return std::wstring(1, entry.letter) + L":" + path.substr(entry.device.size());
    }
  }
  return path;
}

std::wstring ProcessPlaceholderName(std::uint32_t processId) {
  if (processId == 0) return L"(System Idle Process)";
  if (processId == 4) return L"(System)";
  return L"(" + std::to_wstring(processId) + L")";
}

}  // namespace dravik
