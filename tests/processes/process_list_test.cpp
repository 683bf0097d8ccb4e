// The process list over a double of the instrumentation query (Wine reports
// no priority, path or working set, and cannot be made to fail), and the
// process actions over doubles of the process calls, the shell and the
// message boxes (the boxes' icons, a translated title, the properties sheet).
// The list, its pictures and the real boxes are proved in win/.
#include "processes/process_list.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "doubles/fake_processes.h"
#include "doubles/fake_system.h"
#include "doubles/fake_tasks.h"
#include "processes/process_actions.h"

namespace {

using platform::PropertyValue;
using Object = std::map<std::wstring, PropertyValue>;

const char* const kBandTexts =
    "80=Idle0\r\n81=Low\r\n82=BelowNormal\r\n83=Normal\r\n8301=AboveNormal\r\n84=High\r\n85=RealTime\r\n";

class RecordingList final : public dravik::ProcessListTarget {
 public:
  void beginRebuild() override { rows.clear(); }
  int addFileIcon(const platform::SystemIcon&) override { return dravik::kNoImage; }
  void addRow(const std::array<std::wstring, dravik::kProcessFieldCount>& cells, int) override { rows.push_back(cells); }
  void endRebuild() override {}
  std::size_t rowCount() const override { return rows.size(); }
  std::vector<std::array<std::wstring, dravik::kProcessFieldCount>> rows;
};

Object Process(const std::wstring& name, std::int32_t pid) {
  return {{L"Caption", PropertyValue::Text(name)}, {L"ProcessID", PropertyValue::Signed(pid)}};
}

TEST(PriorityBand, OnlyTheExactDecimalTextsPickTheirBand) {
  fakes::TempLanguage file(kBandTexts);
  const dravik::PriorityBandTexts bands(file.language());
  const std::pair<const wchar_t*, const wchar_t*> texts[] = {
      {L"0", L"Idle0"},       {L"1", L"Low"},          {L"4", L"Low"},    {L"5", L"BelowNormal"},
      {L"6", L"BelowNormal"}, {L"7", L"Normal"},       {L"9", L"Normal"}, {L"10", L"AboveNormal"},
      {L"11", L"AboveNormal"}, {L"12", L"High"},       {L"23", L"High"},  {L"24", L"RealTime"},
      {L"", L"RealTime"},     {L"08", L"RealTime"},    {L" 8", L"RealTime"}, {L"-1", L"RealTime"},
  };
  for (const auto& [text, expected] : texts) EXPECT_EQ(bands.forBasePriority(text), expected) << text;
}

TEST(WorkingSet, KilobytesRoundedDownAndGroupedWithTheLocalesSeparator) {
  const std::pair<PropertyValue, const wchar_t*> table[] = {
      {PropertyValue::Text(L"1536000"), L"1,500 KB"},
      {PropertyValue::Text(L"1023"), L" KB"},
      {PropertyValue::Text(L"2047"), L"1 KB"},
      {PropertyValue::Text(L"5368709120"), L"5,242,880 KB"},  // past 32 bits
      {PropertyValue::Unsigned(4294967296ull), L"4,194,304 KB"},
      // Nothing readable: an empty cell rather than a made-up figure.
      {PropertyValue::Text(L"12x"), L""},
      {PropertyValue::Text(L"18446744073709551616"), L""},
      {PropertyValue::Signed(-5), L""},
      {PropertyValue::Null(), L""},
  };
  for (const auto& [value, expected] : table) {
    EXPECT_EQ(dravik::WorkingSetText(value, L","), expected) << dravik::PropertyText(value);
  }
  EXPECT_EQ(dravik::WorkingSetText(PropertyValue::Text(L"1536000"), L"."), L"1.500 KB");
}

TEST(ProcessListing, TheFourteenFieldsInOrderForMoreThanTwoThousandAndNoneWhenUnreachable) {
  const std::vector<std::wstring> names{
      L"Caption", L"ProcessID", L"WorkingSetSize", L"ExecutablePath", L"Priority", L"HandleCount",
      L"ThreadCount", L"PageFaults", L"PageFileUsage", L"PeakPageFileUsage", L"QuotaNonPagedPoolUsage",
      L"QuotaPagedPoolUsage", L"QuotaPeakNonPagedPoolUsage", L"QuotaPeakPagedPoolUsage"};
  fakes::TempLanguage file(kBandTexts);
  fakes::FakeProcessQuery query;
  Object full;
  for (std::size_t i = 0; i < names.size(); ++i) full[names[i]] = PropertyValue::Unsigned(100 + i);
  full[L"WorkingSetSize"] = PropertyValue::Text(L"1536000");
  full[L"Priority"] = PropertyValue::Signed(13);
  query.objects = {full};
  for (int pid = 1; pid < 2100; ++pid) query.objects.push_back(Process(L"p" + std::to_wstring(pid), pid));
  RecordingList list;
  fakes::FakeShellFiles shell;
  const auto refresh = [&] { return dravik::ShowProcessList(list, dravik::ReadProcessListing(query, shell, L","), file.language()); };
  refresh();
  EXPECT_EQ(refresh(), 2100u);
  ASSERT_EQ(list.rows.size(), 2100u);  // each refresh starts over
  EXPECT_EQ(query.lastQuery, L"SELECT * FROM Win32_Process");
  EXPECT_EQ(query.lastProperties, names);
  const auto& cells = list.rows[0];
  EXPECT_EQ(cells[2] + L"|" + cells[4], L"1,500 KB|High");
  for (std::size_t i : {0, 1, 3, 5, 13}) EXPECT_EQ(cells[i], std::to_wstring(100 + i));
  // Nothing of the first process leaks into the others' missing fields.
  EXPECT_EQ(list.rows[2099][0] + list.rows[2099][1], L"p20992099");
  for (std::size_t i : {2, 3, 5, 13}) EXPECT_EQ(list.rows[2099][i], L"") << i;
  query.reachable = false;
  EXPECT_EQ(refresh(), 0u);
  EXPECT_TRUE(list.rows.empty());
  query.reachable = true;  // and the next refresh asks again
  EXPECT_EQ(refresh(), 2100u);
}

using dravik::SelectedProcess;

class ProcessActionsTest : public ::testing::Test {
 protected:
  ProcessActionsTest() {
    context_.refreshList = [this] { ui_.events.push_back(L"refresh"); };
    processes_.running = {4, 1234};
  }
  dravik::MessageTexts messages_;  // the English texts
  fakes::FakeUserInterface ui_;
  fakes::FakeProcessControl processes_;
  fakes::FakeShellFiles shell_;
  dravik::ProcessActionContext context_{messages_, ui_, processes_, shell_, {}};
  SelectedProcess notepad_{L"notepad.exe", L"1234", L"C:\\windows\\notepad.exe"};
};

TEST_F(ProcessActionsTest, TerminateAsksInTheCurrentLanguageAndBadIdsEndNothing) {
  messages_.set(dravik::MessageText::Process, L"Prozess");
  messages_.set(dravik::MessageText::PID, L"Kennung");
  ui_.answers = {platform::mb::kAnswerYes};
  dravik::TerminateSelectedProcess(notepad_, context_);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].title, L"Prozess: notepad.exe (Kennung: 1234)");
  EXPECT_EQ(ui_.boxes[0].flags, 52u);
  EXPECT_EQ(processes_.kills, (std::vector<std::uint32_t>{1234}));
  EXPECT_EQ(ui_.events, (std::vector<std::wstring>{L"box", L"refresh", L"pump"}));
  ui_.answers = {platform::mb::kAnswerYes, platform::mb::kAnswerYes};
  for (const wchar_t* id : {L"12ab", L"4294967300"}) {  // no pid, or one past 32 bits
    dravik::TerminateSelectedProcess(SelectedProcess{L"odd", id, L""}, context_);
  }
  EXPECT_EQ(processes_.kills, (std::vector<std::uint32_t>{1234}));
  EXPECT_EQ(std::count(ui_.events.begin(), ui_.events.end(), L"refresh"), 3);
}

TEST_F(ProcessActionsTest, FilePropertiesOpensTheSheetOrSaysThePathIsMissing) {
  dravik::TerminateSelectedProcess(std::nullopt, context_);
  dravik::ShowSelectedFileProperties(std::nullopt, context_);
  EXPECT_TRUE(ui_.events.empty() && shell_.propertiesShown.empty());
  dravik::ShowSelectedFileProperties(SelectedProcess{L"System", L"4", L""}, context_);
  EXPECT_EQ(ui_.boxes.at(0).flags, 16u);
  dravik::ShowSelectedFileProperties(notepad_, context_);
  EXPECT_EQ(shell_.propertiesShown, (std::vector<std::wstring>{L"C:\\windows\\notepad.exe"}));
  EXPECT_EQ(ui_.boxes.size(), 1u);
}

}  // namespace
