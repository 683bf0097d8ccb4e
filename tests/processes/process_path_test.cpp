// From device paths to drive letters, over a double of the process calls.
#include "processes/process_path.h"

#include <gtest/gtest.h>

#include "doubles/fake_tasks.h"

namespace {

using namespace std::string_literals;

TEST(NoNulls, CutsAtTheFirstNul) {
  EXPECT_EQ(dravik::NoNulls(L"abc\0def"s), L"abc");
  EXPECT_EQ(dravik::NoNulls(L"\0abc"s), L"");
  EXPECT_EQ(dravik::NoNulls(L""), L"");
  EXPECT_EQ(dravik::NoNulls(L"whole"), L"whole");
}

TEST(ProcessPlaceholderName, SystemProcessesAndOthers) {
  EXPECT_EQ(dravik::ProcessPlaceholderName(0), L"(System Idle Process)");
  EXPECT_EQ(dravik::ProcessPlaceholderName(4), L"(System)");
  EXPECT_EQ(dravik::ProcessPlaceholderName(8), L"(8)");
  EXPECT_EQ(dravik::ProcessPlaceholderName(4294967295u), L"(4294967295)");
}

class ProcessPathTest : public ::testing::Test {
 protected:
  ProcessPathTest() {
    processes.drives = L"C:\\\0E:\\\0Z:\\\0\0"s;
    processes.dosDevices[L"C:"] = L"\\Device\\HarddiskVolume1";
    processes.dosDevices[L"E:"] = L"\\Device\\HarddiskVolume10";
  }
  fakes::FakeProcessControl processes;
};

TEST_F(ProcessPathTest, DriveListAndDeviceNames) {
  EXPECT_EQ(dravik::GetLogicalDriveList(processes),
            (std::vector<std::wstring>{L"C:\\", L"E:\\", L"Z:\\"}));
  EXPECT_EQ(dravik::GetDosDeviceName(processes, L"C:\\"), L"\\Device\\HarddiskVolume1");
  EXPECT_EQ(dravik::GetDosDeviceName(processes, L"C:"), L"\\Device\\HarddiskVolume1");
  EXPECT_EQ(dravik::GetDosDeviceName(processes, L"Z:\\"), L"");
  processes.drives.clear();
  EXPECT_TRUE(dravik::GetLogicalDriveList(processes).empty());
}

TEST_F(ProcessPathTest, VolumeTenIsNotMistakenForVolumeOne) {
  dravik::ProcessPaths paths(processes);
  paths.LoadDeviceMap();
  ASSERT_EQ(paths.devices().size(), 3u);
  EXPECT_EQ(paths.devices()[1].letter, L'E');
  processes.images[10] = L"\\Device\\HarddiskVolume10\\Games\\game.exe";
  processes.images[11] = L"\\Device\\HarddiskVolume1\\Windows\\explorer.exe";
  processes.images[12] = L"\\Device\\Mup\\server\\share\\tool.exe";
  processes.images[13] = L"\\Device\\HarddiskVolume1";
  EXPECT_EQ(paths.GetProcessPath(10), L"E:\\Games\\game.exe");
  EXPECT_EQ(paths.GetProcessPath(11), L"C:\\Windows\\explorer.exe");
  // Devices the map lacks stay in device form.
  EXPECT_EQ(paths.GetProcessPath(12), L"\\Device\\Mup\\server\\share\\tool.exe");
  EXPECT_EQ(paths.GetProcessPath(13), L"\\Device\\HarddiskVolume1");
}

TEST_F(ProcessPathTest, UnreadableProcessesGiveNothing) {
  dravik::ProcessPaths paths(processes);
  paths.LoadDeviceMap();
  processes.images[20] = L"\\Device\\HarddiskVolume1\\x.exe";
  processes.unopenable.insert(20);
  EXPECT_EQ(paths.GetProcessPath(20), L"");
  EXPECT_EQ(paths.GetProcessPath(0), L"");
  EXPECT_EQ(paths.GetProcessPath(999), L"");
}

TEST_F(ProcessPathTest, ADriveWithoutDeviceNameClaimsNoPath) {
  // Z: has no device name in this double; it must not match every path.
  const dravik::DeviceMap map = dravik::LoadDeviceMap(processes);
  processes.images[30] = L"\\Device\\Unmapped\\y.exe";
  EXPECT_EQ(dravik::GetProcessPath(processes, map, 30), L"\\Device\\Unmapped\\y.exe");
}

}  // namespace
