// Byte counts as the status bar shows them, and process paths from device
// paths to drive letters over a double of the process calls (Wine maps no
// drive to a second hard-disk volume).
#include <gtest/gtest.h>

#include <cmath>

#include "doubles/fake_processes.h"
#include "processes/memory_status.h"
#include "processes/number_text.h"
#include "processes/process_path.h"

namespace {

using namespace std::string_literals;
constexpr std::uint64_t KiB = 1024, MiB = KiB * KiB, GiB = MiB * KiB, TiB = GiB * KiB;

TEST(FormatBytes, TheEdgesOfEachUnitAndTheLocalesSeparators) {
  const std::pair<std::uint64_t, const wchar_t*> table[] = {
      {0, L"0 bytes"},       {1, L"1 byte"},            {1023, L"1,023 bytes"}, {1024, L"1.00 KB"},
      {10 * KiB - 1, L"10.0 KB"}, {150 * KiB, L"150 KB"}, {MiB - 1, L"1024 KB"},  {MiB, L"1.00 MB"},
      {2 * GiB, L"2.00 GB"}, {TiB, L"1.00 TB"},
  };
  const platform::NumberFormat f;
  for (const auto& [bytes, expected] : table) EXPECT_EQ(dravik::FormatBytes(bytes, f), expected) << bytes;
  EXPECT_EQ(dravik::FormatBytes(std::int32_t{-1}, f), L"4.00 GB");
  const platform::NumberFormat german{L",", L"."};
  EXPECT_EQ(dravik::FormatBytes(1023, german), L"1.023 bytes");
  EXPECT_EQ(dravik::FormatBytes(50 * MiB, german), L"50,0 MB");
  EXPECT_EQ(dravik::TwoDecimals(std::nan(""), f), L"0.00");
}

TEST(ProcessPath, VolumeTenIsNotMistakenForVolumeOneAndSystemProcessesGetPlaceholders) {
  fakes::FakeProcessControl processes;
  processes.drives = L"C:\\\0E:\\\0Z:\\\0\0"s;
  processes.dosDevices = {{L"C:", L"\\Device\\HarddiskVolume1"}, {L"E:", L"\\Device\\HarddiskVolume10"}};
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
  EXPECT_EQ(dravik::ProcessPlaceholderName(0), L"(System Idle Process)");
  EXPECT_EQ(dravik::ProcessPlaceholderName(4), L"(System)");
  EXPECT_EQ(dravik::ProcessPlaceholderName(4294967295u), L"(4294967295)");
}

}  // namespace
