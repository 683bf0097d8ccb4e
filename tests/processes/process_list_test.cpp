// The process list over a double of the instrumentation query: Wine reports
// no priority, path or working set, and cannot be made to fail.
#include "processes/process_list.h"

#include <gtest/gtest.h>

#include "doubles/fake_processes.h"
#include "doubles/fake_tasks.h"

namespace {

using platform::PropertyValue;
using Object = std::map<std::wstring, PropertyValue>;

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

TEST(WorkingSet, KilobytesRoundedDownAndGroupedWithTheLocalesSeparator) {
  const std::pair<PropertyValue, const wchar_t*> table[] = {
      {PropertyValue::Text(L"1536000"), L"1,500 KB"},
      {PropertyValue::Text(L"5368709120"), L"5,242,880 KB"},  // past 32 bits
      // Nothing readable: an empty cell rather than a made-up figure.
      {PropertyValue::Text(L"12x"), L""},
      {PropertyValue::Null(), L""},
  };
  for (const auto& [value, expected] : table) {
    EXPECT_EQ(dravik::WorkingSetText(value, L","), expected) << dravik::PropertyText(value);
  }
  EXPECT_EQ(dravik::WorkingSetText(PropertyValue::Text(L"1536000"), L"."), L"1.500 KB");
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

}  // namespace
