// The process list over a double of the instrumentation query (Wine reports
// no priority, path or working set, and cannot be made to fail), byte counts
// as the status bar shows them, and process paths from device paths to drive
// letters over a double of the process calls (Wine maps no drive to a second
// hard-disk volume).
#include <gtest/gtest.h>

#include "doubles/fake_processes.h"
#include "doubles/fake_tasks.h"
#include "processes/memory_status.h"
#include "processes/number_text.h"
#include "processes/process_list.h"
#include "processes/process_path.h"

namespace {

using namespace std::string_literals;
using platform::PropertyValue;
using Object = std::map<std::wstring, PropertyValue>;
constexpr std::uint64_t KiB = 1024, MiB = KiB * KiB, GiB = MiB * KiB, TiB = GiB * KiB;

TEST(PriorityBand, OnlyTheExactDecimalTextsPickTheirBand) {
  fakes::TempLanguage file("80=Idle0\r\n81=Low\r\n82=BelowNormal\r\n83=Normal\r\n"
                           "8301=AboveNormal\r\n84=High\r\n85=RealTime\r\n");
  const dravik::PriorityBandTexts bands(file.language());
  const std::pair<const wchar_t*, const wchar_t*> texts[] = {
      {L"0", L"Idle0"},        {L"1", L"Low"},   {L"4", L"Low"},      {L"5", L"BelowNormal"},
      {L"7", L"Normal"},       {L"10", L"AboveNormal"}, {L"12", L"High"}, {L"23", L"High"},
      {L"24", L"RealTime"},    {L"08", L"RealTime"},    {L"", L"RealTime"},
  };
  for (const auto& [text, expected] : texts) EXPECT_EQ(bands.forBasePriority(text), expected) << text;
}

// The listing below shows the grouping; here past 32 bits, the other separator and text that is no figure.
TEST(WorkingSet, KilobytesRoundedDownAndNothingMadeUp) {
  EXPECT_EQ(dravik::WorkingSetText(PropertyValue::Text(L"5368709120"), L","), L"5,242,880 KB");
  EXPECT_EQ(dravik::WorkingSetText(PropertyValue::Text(L"1536000"), L"."), L"1.500 KB");
  EXPECT_EQ(dravik::WorkingSetText(PropertyValue::Text(L"12x"), L","), L"");
}

TEST(ProcessListing, TheFourteenFieldsInOrderNoneWhenUnreachableAndThePlaceholderImage) {
  const std::vector<std::wstring> names{
      L"Caption", L"ProcessID", L"WorkingSetSize", L"ExecutablePath", L"Priority", L"HandleCount",
      L"ThreadCount", L"PageFaults", L"PageFileUsage", L"PeakPageFileUsage", L"QuotaNonPagedPoolUsage",
      L"QuotaPagedPoolUsage", L"QuotaPeakNonPagedPoolUsage", L"QuotaPeakPagedPoolUsage"};
  fakes::FakeProcessQuery query;
  Object full;
  for (std::size_t i = 0; i < names.size(); ++i) full[names[i]] = PropertyValue::Unsigned(100 + i);
  full[L"WorkingSetSize"] = PropertyValue::Text(L"1536000");
  query.objects = {full, {{L"Caption", PropertyValue::Text(L"other")}}};
  const auto processes = dravik::QueryProcesses(query, L",");
  EXPECT_EQ(query.lastQuery, L"SELECT * FROM Win32_Process");
  EXPECT_EQ(query.lastProperties, names);
  ASSERT_EQ(processes.size(), 2u);
  EXPECT_EQ(processes[0].fields[2], L"1,500 KB");
  for (std::size_t i : {0, 1, 3, 5, 13}) EXPECT_EQ(processes[0].fields[i], std::to_wstring(100 + i));
  // Nothing of the first process leaks into the other's missing fields.
  for (std::size_t i : {1, 2, 3, 13}) EXPECT_EQ(processes[1].fields[i], L"") << i;
  query.reachable = false;
  EXPECT_TRUE(dravik::QueryProcesses(query, L",").empty());
  // A row with a path shows its file's icon, one without shows the placeholder, and none shows none.
  EXPECT_EQ((std::vector{dravik::RowImage(L"C:\\a.exe", 3), dravik::RowImage(L"", 3), dravik::RowImage(L"", 0)}),
            (std::vector{3, 1, 0}));
}

TEST(FormatBytes, TheEdgesOfEachUnitAndTheLocalesSeparators) {
  const std::pair<std::uint64_t, const wchar_t*> table[] = {
      {1, L"1 byte"},    {1023, L"1,023 bytes"}, {1024, L"1.00 KB"}, {10 * KiB - 1, L"10.0 KB"}, {150 * KiB, L"150 KB"},
      {MiB - 1, L"1024 KB"}, {MiB, L"1.00 MB"},    {2 * GiB, L"2.00 GB"}, {TiB, L"1.00 TB"},
  };
  const platform::NumberFormat f;
  for (const auto& [bytes, expected] : table) EXPECT_EQ(dravik::FormatBytes(bytes, f), expected) << bytes;
  EXPECT_EQ(dravik::FormatBytes(std::int32_t{-1}, f), L"4.00 GB");
  const platform::NumberFormat german{L",", L"."};
  EXPECT_EQ(dravik::FormatBytes(1023, german), L"1.023 bytes");
  EXPECT_EQ(dravik::FormatBytes(50 * MiB, german), L"50,0 MB");
}

TEST(ProcessPath, VolumeTenIsNotMistakenForVolumeOneAndAnUnreadablePathIsEmpty) {
  fakes::FakeProcessControl processes;
  processes.drives = L"C:\\\0E:\\\0Z:\\\0\0"s;
  processes.dosDevices = {{L"C:", L"\\Device\\HarddiskVolume1"}, {L"E:", L"\\Device\\HarddiskVolume10"}};
  dravik::ProcessPaths paths(processes);
  paths.LoadDeviceMap();
  processes.images = {{10, L"\\Device\\HarddiskVolume10\\Games\\game.exe"},
                      {11, L"\\Device\\HarddiskVolume1\\Windows\\explorer.exe"},
                      {12, L"\\Device\\Unmapped\\tool.exe"},  // Z: has no device name: no match
                      {20, L"\\Device\\HarddiskVolume1\\x.exe"}};
  processes.unopenable = {20};
  const std::pair<std::uint32_t, const wchar_t*> table[] = {
      {10, L"E:\\Games\\game.exe"}, {11, L"C:\\Windows\\explorer.exe"}, {12, L"\\Device\\Unmapped\\tool.exe"},
      {20, L""}, {999, L""}};
  for (const auto& [pid, expected] : table) EXPECT_EQ(paths.GetProcessPath(pid), expected) << pid;
}

}  // namespace
