// From device paths to drive letters, over a double of the process calls
// (Wine maps no drive to a second hard-disk volume).
#include "processes/process_path.h"

#include <gtest/gtest.h>

#include "doubles/fake_processes.h"

namespace {

using namespace std::string_literals;

TEST(NoNullsAndPlaceholderNames, CutAtTheFirstNulAndNameTheSystemProcesses) {
  EXPECT_EQ(dravik::NoNulls(L"abc\0def"s), L"abc");
  EXPECT_EQ(dravik::NoNulls(L"\0abc"s), L"");
  EXPECT_EQ(dravik::ProcessPlaceholderName(0), L"(System Idle Process)");
  EXPECT_EQ(dravik::ProcessPlaceholderName(4), L"(System)");
  EXPECT_EQ(dravik::ProcessPlaceholderName(4294967295u), L"(4294967295)");
}

TEST(ProcessPath, VolumeTenIsNotMistakenForVolumeOne) {
  fakes::FakeProcessControl processes;
  processes.drives = L"C:\\\0E:\\\0Z:\\\0\0"s;
  processes.dosDevices = {{L"C:", L"\\Device\\HarddiskVolume1"}, {L"E:", L"\\Device\\HarddiskVolume10"}};
  EXPECT_EQ(dravik::GetLogicalDriveList(processes), (std::vector<std::wstring>{L"C:\\", L"E:\\", L"Z:\\"}));
  EXPECT_EQ(dravik::GetDosDeviceName(processes, L"C:\\"), L"\\Device\\HarddiskVolume1");
  dravik::ProcessPaths paths(processes);
  paths.LoadDeviceMap();
  processes.images = {{10, L"\\Device\\HarddiskVolume10\\Games\\game.exe"},
                      {11, L"\\Device\\HarddiskVolume1\\Windows\\explorer.exe"},
                      {12, L"\\Device\\Unmapped\\tool.exe"},  // Z: has no device name: no match
                      {13, L"\\Device\\HarddiskVolume1"},
                      {20, L"\\Device\\HarddiskVolume1\\x.exe"}};
  processes.unopenable = {20};
  const std::pair<std::uint32_t, const wchar_t*> table[] = {
      {10, L"E:\\Games\\game.exe"}, {11, L"C:\\Windows\\explorer.exe"},
      {12, L"\\Device\\Unmapped\\tool.exe"}, {13, L"\\Device\\HarddiskVolume1"},
      {20, L""}, {0, L""}, {999, L""}};
  for (const auto& [pid, expected] : table) EXPECT_EQ(paths.GetProcessPath(pid), expected) << pid;
  processes.drives.clear();
  EXPECT_TRUE(dravik::GetLogicalDriveList(processes).empty());
}

}  // namespace
