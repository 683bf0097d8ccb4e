// The process list over a double of the instrumentation query (field
// conversion, the priority bands, the working set and the rebuilt rows), and
// the process actions over doubles of the process calls, the shell and the
// message boxes (the properties sheet does not exist under Wine).
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
    "80=Idle0\r\n81=Low\r\n82=BelowNormal\r\n83=Normal\r\n8301=AboveNormal\r\n84=High\r\n"
    "85=RealTime\r\n";

// The list the rebuild writes into, kept as plain rows.
class RecordingList final : public dravik::ProcessListTarget {
 public:
  struct Row {
    std::array<std::wstring, dravik::kProcessFieldCount> cells;
    int image;
  };
  void beginRebuild() override { rows.clear(), images = 1, ++rebuilds, drawing = false; }
  int addFileIcon(const std::wstring&) override {
    return shellHasNoIcon ? dravik::kNoImage : ++images;
  }
  void addRow(const std::array<std::wstring, dravik::kProcessFieldCount>& cells, int image) override {
    rowsWhileDrawing += drawing;
    rows.push_back({cells, image});
  }
  void endRebuild() override { drawing = true; }
  std::size_t rowCount() const override { return rows.size(); }

  std::vector<Row> rows;
  int images = 0, rebuilds = 0, rowsWhileDrawing = 0;
  bool drawing = true, shellHasNoIcon = false;
};

Object Process(const std::wstring& name, std::int32_t pid, const std::wstring& path = L"") {
  Object object{{L"Caption", PropertyValue::Text(name)}, {L"ProcessID", PropertyValue::Signed(pid)}};
  if (!path.empty()) object[L"ExecutablePath"] = PropertyValue::Text(path);
  return object;
}

TEST(PriorityBand, ExactDecimalTextsPickTheirTextOnceReadPerRebuild) {
  fakes::TempLanguage file(kBandTexts);
  const dravik::PriorityBandTexts bands(file.language());
  const std::pair<const wchar_t*, const wchar_t*> texts[] = {
      {L"0", L"Idle0"},      {L"1", L"Low"},        {L"4", L"Low"},           {L"5", L"BelowNormal"},
      {L"6", L"BelowNormal"}, {L"7", L"Normal"},    {L"9", L"Normal"},        {L"10", L"AboveNormal"},
      {L"11", L"AboveNormal"}, {L"12", L"High"},    {L"23", L"High"},         {L"24", L"RealTime"},
      {L"", L"RealTime"},    {L"abc", L"RealTime"}, {L"08", L"RealTime"},     {L" 8", L"RealTime"},
      {L"-1", L"RealTime"},   {L"8", L"Normal"},    {L"13", L"High"},
  };
  const int reads = file.profiles.reads;
  for (const auto& [text, expected] : texts) EXPECT_EQ(bands.forBasePriority(text), expected) << text;
  EXPECT_EQ(file.profiles.reads, reads);
}

TEST(WorkingSet, KilobytesRoundedDownAndGroupedWithTheLocalesSeparator) {
  const std::pair<PropertyValue, const wchar_t*> table[] = {
      {PropertyValue::Text(L"1536000"), L"1,500 KB"},
      {PropertyValue::Text(L"1023"), L" KB"},
      {PropertyValue::Text(L"2047"), L"1 KB"},
      // 3 GB and 5 GB: past both 32-bit limits; past the pattern's seven digits.
      {PropertyValue::Text(L"3221225472"), L"3,145,728 KB"},
      {PropertyValue::Text(L"5368709120"), L"5,242,880 KB"},
      {PropertyValue::Text(L"18446744073709551615"), L"18,014,398,509,481,983 KB"},
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

TEST(QueryProcesses, AsksForTheFourteenFieldsInOrderAndLeavesMissingOnesEmpty) {
  fakes::FakeProcessQuery query;
  Object full;
  const auto& names = dravik::ProcessProperties();
  for (std::size_t i = 0; i < names.size(); ++i) full[names[i]] = PropertyValue::Unsigned(100 + i);
  full[L"WorkingSetSize"] = PropertyValue::Text(L"1536000");
  query.objects = {full, Process(L"bare.exe", 8)};  // then one as Wine reports it
  const auto processes = dravik::QueryProcesses(query, L",");
  EXPECT_EQ(query.lastQuery, L"SELECT * FROM Win32_Process");
  EXPECT_EQ(names, (std::vector<std::wstring>{
                       L"Caption", L"ProcessID", L"WorkingSetSize", L"ExecutablePath", L"Priority",
                       L"HandleCount", L"ThreadCount", L"PageFaults", L"PageFileUsage",
                       L"PeakPageFileUsage", L"QuotaNonPagedPoolUsage", L"QuotaPagedPoolUsage",
                       L"QuotaPeakNonPagedPoolUsage", L"QuotaPeakPagedPoolUsage"}));
  EXPECT_EQ(query.lastProperties, names);
  ASSERT_EQ(processes.size(), 2u);
  EXPECT_EQ(processes[0].fields[2], L"1,500 KB");
  for (std::size_t i : {0, 1, 3, 4, 13}) EXPECT_EQ(processes[0].fields[i], std::to_wstring(100 + i));
  EXPECT_EQ(processes[1].fields[0], L"bare.exe");
  EXPECT_EQ(processes[1].fields[1], L"8");
  // Nothing of the first process leaks into the second's missing fields.
  for (std::size_t i = 2; i < 14; ++i) EXPECT_EQ(processes[1].fields[i], L"") << i;
}

class RefreshProcessListTest : public ::testing::Test {
 protected:
  std::size_t refresh() { return dravik::RefreshProcessList(list_, query_, file_.language(), L","); }
  fakes::TempLanguage file_{kBandTexts};
  fakes::FakeProcessQuery query_;
  RecordingList list_;
};

TEST_F(RefreshProcessListTest, ListsEveryOneOfMoreThanTwoThousandProcessesWithItsData) {
  for (int pid = 1; pid <= 2100; ++pid) {
    Object process = Process(L"p" + std::to_wstring(pid), pid * 4,
                             pid == 2 ? L"" : L"C:\\p\\" + std::to_wstring(pid) + L".exe");
    process[L"PageFaults"] = PropertyValue::Unsigned(static_cast<std::uint64_t>(pid) * 10);
    process[L"Priority"] = PropertyValue::Signed(pid % 2 ? 8 : 13);
    query_.objects.push_back(process);
  }
  EXPECT_EQ(refresh(), 2100u);
  ASSERT_EQ(list_.rows.size(), 2100u);
  for (int pid = 1; pid <= 2100; ++pid) {
    const auto& row = list_.rows[static_cast<std::size_t>(pid - 1)];
    ASSERT_EQ(row.cells[0], L"p" + std::to_wstring(pid));
    ASSERT_EQ(row.cells[1], std::to_wstring(pid * 4));
    ASSERT_EQ(row.cells[3], pid == 2 ? L"" : L"C:\\p\\" + std::to_wstring(pid) + L".exe");
    ASSERT_EQ(row.cells[4], pid % 2 ? L"Normal" : L"High");
    ASSERT_EQ(row.cells[7], std::to_wstring(pid * 10));
    // One image per row after the placeholder; the pathless row asks too, and shows the placeholder.
    ASSERT_EQ(row.image, pid == 2 ? dravik::kPlaceholderImage : pid + 1);
  }
  EXPECT_EQ(list_.rowsWhileDrawing, 0);
}

TEST_F(RefreshProcessListTest, EachRefreshStartsOverAndAnUnreachableQueryEmptiesTheList) {
  query_.objects = {Process(L"a.exe", 1, L"C:\\a.exe"), Process(L"b.exe", 2)};
  list_.shellHasNoIcon = true;
  refresh();
  EXPECT_EQ(list_.rows.at(0).image, dravik::kNoImage);
  EXPECT_EQ(list_.rows.at(1).image, dravik::kNoImage);
  EXPECT_EQ(refresh(), 2u);
  EXPECT_EQ(list_.rows.size(), 2u);
  query_.reachable = false;
  EXPECT_EQ(refresh(), 0u);
  EXPECT_TRUE(list_.rows.empty());
  query_.reachable = true;  // and the next refresh asks again
  EXPECT_EQ(refresh(), 2u);
  EXPECT_EQ(query_.queries, 4);
  EXPECT_TRUE(list_.drawing);
}

using dravik::SelectedProcess;

class ProcessActionsTest : public ::testing::Test {
 protected:
  ProcessActionsTest() {
    context_.refreshList = [this] { ui_.events.push_back(L"refresh"); };
    processes_.running = {1234};
  }
  dravik::MessageTexts messages_;  // the English texts
  fakes::FakeUserInterface ui_;
  fakes::FakeProcessControl processes_;
  fakes::FakeShellFiles shell_;
  dravik::ProcessActionContext context_{messages_, ui_, processes_, shell_, {}};
  SelectedProcess notepad_{L"notepad.exe", L"1234", L"C:\\windows\\notepad.exe"};
};

TEST_F(ProcessActionsTest, TerminateAsksInTheCurrentLanguageAndOnlyYesEnds) {
  ui_.answers = {platform::mb::kAnswerNo, platform::mb::kAnswerYes};
  dravik::TerminateSelectedProcess(notepad_, context_);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, L"Are you sure you want to terminate this process?");
  EXPECT_EQ(ui_.boxes[0].title, L"Process: notepad.exe (PID: 1234)");
  EXPECT_EQ(ui_.boxes[0].flags, 52u);
  EXPECT_TRUE(processes_.kills.empty());
  messages_.set(dravik::MessageText::Process, L"Prozess");
  messages_.set(dravik::MessageText::PID, L"Kennung");
  dravik::TerminateSelectedProcess(notepad_, context_);
  EXPECT_EQ(ui_.boxes.at(1).title, L"Prozess: notepad.exe (Kennung: 1234)");
  EXPECT_EQ(processes_.kills, (std::vector<std::uint32_t>{1234}));
  EXPECT_EQ(ui_.events, (std::vector<std::wstring>{L"box", L"box", L"refresh", L"pump"}));
}

TEST_F(ProcessActionsTest, AFailedOrImpossibleTerminationIsSilentAndStillRefreshes) {
  ui_.answers = {platform::mb::kAnswerYes, platform::mb::kAnswerYes, platform::mb::kAnswerYes};
  dravik::TerminateSelectedProcess(SelectedProcess{L"System", L"4", L""}, context_);
  for (const wchar_t* id : {L"12ab", L"4294967300"}) {  // no pid, or one past 32 bits
    dravik::TerminateSelectedProcess(SelectedProcess{L"odd", id, L""}, context_);
  }
  EXPECT_EQ(processes_.kills, (std::vector<std::uint32_t>{4}));
  EXPECT_EQ(std::count(ui_.events.begin(), ui_.events.end(), L"refresh"), 3);
  EXPECT_FALSE(dravik::KillProcessByIdNT(processes_, 4));
  EXPECT_TRUE(dravik::KillProcessByIdNT(processes_, 1234));
}

TEST_F(ProcessActionsTest, FilePropertiesOpensTheSheetOrSaysThePathIsMissing) {
  dravik::TerminateSelectedProcess(std::nullopt, context_);
  dravik::ShowSelectedFileProperties(std::nullopt, context_);
  EXPECT_TRUE(ui_.events.empty() && shell_.propertiesShown.empty());
  dravik::ShowSelectedFileProperties(SelectedProcess{L"System", L"4", L""}, context_);
  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].text, L"Process path not found!");
  EXPECT_EQ(ui_.boxes[0].title, L"Process: System");
  EXPECT_EQ(ui_.boxes[0].flags, 16u);
  dravik::ShowSelectedFileProperties(notepad_, context_);
  EXPECT_EQ(shell_.propertiesShown, (std::vector<std::wstring>{L"C:\\windows\\notepad.exe"}));
  EXPECT_EQ(ui_.boxes.size(), 1u);
}

}  // namespace
