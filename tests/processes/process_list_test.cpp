#include "processes/process_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <cwchar>
#include <fstream>

#include "doubles/fake_processes.h"
#include "doubles/fake_profile_files.h"

namespace {

using platform::PropertyValue;

// A language file on disk with the texts the process list reads.
class LanguageFile {
 public:
  explicit LanguageFile(const std::string& mainSection) {
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "Test.lng", std::ios::binary)
        << "[LANGUAGE]\r\nCharacterSet=0\r\n[Main]\r\n" << mainSection;
    language_.emplace(profiles_, fakes::WidePath((dir_ / "Test.lng").string()));
  }
  ~LanguageFile() { std::filesystem::remove_all(dir_); }
  const dravik::Language& language() const { return *language_; }
  fakes::FakeProfileFiles& profiles() { return profiles_; }

 private:
  std::filesystem::path dir_ =
      std::filesystem::temp_directory_path() /
      ("dravik-processes-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
       "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
  fakes::FakeProfileFiles profiles_;
  std::optional<dravik::Language> language_;
};

const char* const kBandTexts =
    "80=Idle0\r\n81=Low\r\n82=BelowNormal\r\n83=Normal\r\n8301=AboveNormal\r\n84=High\r\n"
    "85=RealTime\r\n67=Processes\r\n";

// The list the rebuild writes into, kept as plain rows.
class RecordingList final : public dravik::ProcessListTarget {
 public:
  struct Row {
    std::array<std::wstring, dravik::kProcessFieldCount> cells;
    int image;
  };
  void beginRebuild() override {
    rows.clear();
    images = 1;  // the placeholder
    ++rebuilds;
    drawing = false;
  }
  int addFileIcon(const std::wstring& path) override {
    iconPaths.push_back(path);
    if (shellHasNoIcon) return dravik::kNoImage;
    return ++images;
  }
  void addRow(const std::array<std::wstring, dravik::kProcessFieldCount>& cells,
              int image) override {
    if (drawing) ++rowsWhileDrawing;
    rows.push_back({cells, image});
  }
  void endRebuild() override { drawing = true; }
  std::size_t rowCount() const override { return rows.size(); }

  std::vector<Row> rows;
  std::vector<std::wstring> iconPaths;
  int images = 0;
  int rebuilds = 0;
  bool drawing = true;
  int rowsWhileDrawing = 0;
  bool shellHasNoIcon = false;
};

std::map<std::wstring, PropertyValue> Process(const std::wstring& name, std::int32_t pid,
                                              const std::wstring& path = L"") {
  std::map<std::wstring, PropertyValue> object;
  object[L"Caption"] = PropertyValue::Text(name);
  object[L"ProcessID"] = PropertyValue::Signed(pid);
  if (!path.empty()) object[L"ExecutablePath"] = PropertyValue::Text(path);
  return object;
}

TEST(PriorityBand, ExactDecimalTextsPickTheirKey) {
  const std::pair<const wchar_t*, const char*> table[] = {
      {L"0", "80"},   {L"1", "81"},    {L"4", "81"},   {L"5", "82"},  {L"6", "82"},
      {L"7", "83"},   {L"8", "83"},    {L"9", "83"},   {L"10", "8301"}, {L"11", "8301"},
      {L"12", "84"},  {L"13", "84"},   {L"23", "84"},  {L"24", "85"}, {L"31", "85"},
      {L"", "85"},    {L"abc", "85"},  {L"08", "85"},  {L" 8", "85"}, {L"8 ", "85"},
      {L"-1", "85"},  {L"100", "85"},  {L"00", "85"},  {L"1a", "85"},
  };
  for (const auto& [text, key] : table) {
    EXPECT_STREQ(dravik::PriorityBandKey(text), key) << "base priority text of length " << std::wcslen(text);
  }
}

TEST(PriorityBand, TextsComeFromTheLanguageFileOncePerRebuild) {
  LanguageFile file(kBandTexts);
  const dravik::PriorityBandTexts bands(file.language());
  EXPECT_EQ(bands.forBasePriority(L"8"), L"Normal");
  EXPECT_EQ(bands.forBasePriority(L"10"), L"AboveNormal");
  EXPECT_EQ(bands.forBasePriority(L"13"), L"High");
  EXPECT_EQ(bands.forBasePriority(L"24"), L"RealTime");
  EXPECT_EQ(bands.forBasePriority(L""), L"RealTime");
  EXPECT_EQ(bands.forBasePriority(L"abc"), L"RealTime");
  EXPECT_EQ(bands.forBasePriority(L"0"), L"Idle0");
  const int reads = file.profiles().reads;
  for (int i = 0; i < 100; ++i) bands.forBasePriority(L"4");
  EXPECT_EQ(file.profiles().reads, reads);
}

TEST(WorkingSet, KilobytesRoundedDownAndGrouped) {
  const std::pair<PropertyValue, const wchar_t*> table[] = {
      {PropertyValue::Text(L"1536000"), L"1,500 KB"},
      {PropertyValue::Text(L"1023"), L" KB"},
      {PropertyValue::Text(L"0"), L" KB"},
      {PropertyValue::Text(L"1024"), L"1 KB"},
      {PropertyValue::Text(L"2047"), L"1 KB"},
      {PropertyValue::Text(L"1048575999"), L"1,023,999 KB"},
      // 3 GB and 5 GB: past both 32-bit limits.
      {PropertyValue::Text(L"3221225472"), L"3,145,728 KB"},
      {PropertyValue::Text(L"5368709120"), L"5,242,880 KB"},
      // Larger than the pattern's seven digits: the groups go on.
      {PropertyValue::Text(L"18446744073709551615"), L"18,014,398,509,481,983 KB"},
      {PropertyValue::Unsigned(4294967296ull), L"4,194,304 KB"},
      {PropertyValue::Signed(2048000), L"2,000 KB"},
      // Nothing readable: an empty cell rather than a made-up figure.
      {PropertyValue::Text(L""), L""},
      {PropertyValue::Text(L"12x"), L""},
      {PropertyValue::Text(L"18446744073709551616"), L""},
      {PropertyValue::Signed(-5), L""},
      {PropertyValue::Null(), L""},
      {PropertyValue{}, L""},
  };
  for (const auto& [value, expected] : table) {
    EXPECT_EQ(dravik::WorkingSetText(value, L","), expected) << dravik::PropertyText(value).size();
  }
  // The locale's separator, whatever it is.
  EXPECT_EQ(dravik::WorkingSetText(PropertyValue::Text(L"1536000"), L"."), L"1.500 KB");
  EXPECT_EQ(dravik::WorkingSetText(PropertyValue::Text(L"3221225472"), L"\u00a0"),
            L"3\u00a0145\u00a0728 KB");
  EXPECT_EQ(dravik::GroupDigits(1234567, L"'"), L"1'234'567");
  EXPECT_EQ(dravik::GroupDigits(999, L","), L"999");
  EXPECT_EQ(dravik::GroupDigits(1000, L""), L"1000");
  EXPECT_EQ(dravik::GroupDigits(0, L","), L"");
}

TEST(PropertyText, EachValueKindTheInstrumentationUses) {
  // BSTR, I4/UI4 numbers, 64-bit figures as text, and no value at all.
  EXPECT_EQ(dravik::PropertyText(PropertyValue::Text(L"services.exe")), L"services.exe");
  EXPECT_EQ(dravik::PropertyText(PropertyValue::Signed(1234)), L"1234");
  EXPECT_EQ(dravik::PropertyText(PropertyValue::Signed(-2)), L"-2");
  EXPECT_EQ(dravik::PropertyText(PropertyValue::Unsigned(4294967295u)), L"4294967295");
  EXPECT_EQ(dravik::PropertyText(PropertyValue::Text(L"18446744073709551615")),
            L"18446744073709551615");
  EXPECT_EQ(dravik::PropertyText(PropertyValue::Unsigned(18446744073709551615ull)),
            L"18446744073709551615");
  EXPECT_EQ(dravik::PropertyText(PropertyValue::Null()), L"");
  EXPECT_EQ(dravik::PropertyText(PropertyValue{}), L"");
  PropertyValue flag;
  flag.kind = PropertyValue::Kind::Boolean;
  flag.boolean = true;
  EXPECT_EQ(dravik::PropertyText(flag), L"True");
}

TEST(QueryProcesses, AsksForTheFourteenPropertiesInFieldOrder) {
  fakes::FakeProcessQuery query;
  dravik::QueryProcesses(query, L",");
  EXPECT_EQ(query.lastQuery, L"SELECT * FROM Win32_Process");
  const std::vector<std::wstring> expected = {
      L"Caption",         L"ProcessID",         L"WorkingSetSize",
      L"ExecutablePath",  L"Priority",          L"HandleCount",
      L"ThreadCount",     L"PageFaults",        L"PageFileUsage",
      L"PeakPageFileUsage", L"QuotaNonPagedPoolUsage", L"QuotaPagedPoolUsage",
      L"QuotaPeakNonPagedPoolUsage", L"QuotaPeakPagedPoolUsage"};
  EXPECT_EQ(query.lastProperties, expected);
}

TEST(QueryProcesses, FillsEveryFieldAndLeavesMissingOnesEmpty) {
  fakes::FakeProcessQuery query;
  std::map<std::wstring, PropertyValue> full;
  const auto& names = dravik::ProcessProperties();
  for (std::size_t i = 0; i < names.size(); ++i) {
    full[names[i]] = PropertyValue::Unsigned(100 + i);
  }
  full[L"Caption"] = PropertyValue::Text(L"full.exe");
  full[L"WorkingSetSize"] = PropertyValue::Text(L"1536000");
  full[L"ExecutablePath"] = PropertyValue::Text(L"C:\\full.exe");
  query.objects = {full, Process(L"bare.exe", 8)};  // then one as Wine reports it
  query.objects[1][L"WorkingSetSize"] = PropertyValue::Null();

  const auto processes = dravik::QueryProcesses(query, L",");
  ASSERT_EQ(processes.size(), 2u);
  EXPECT_EQ(processes[0].fields[0], L"full.exe");
  EXPECT_EQ(processes[0].fields[1], L"101");
  EXPECT_EQ(processes[0].fields[2], L"1,500 KB");
  EXPECT_EQ(processes[0].fields[3], L"C:\\full.exe");
  for (std::size_t i = 4; i < 14; ++i) EXPECT_EQ(processes[0].fields[i], std::to_wstring(100 + i));
  EXPECT_EQ(processes[1].fields[0], L"bare.exe");
  EXPECT_EQ(processes[1].fields[1], L"8");
  // Nothing of the first process leaks into the second's missing fields.
  for (std::size_t i = 2; i < 14; ++i) EXPECT_EQ(processes[1].fields[i], L"") << i;
}

TEST(QueryProcesses, UnreachableInstrumentationGivesNoProcessesAndIsAskedAgain) {
  fakes::FakeProcessQuery query;
  query.reachable = false;
  query.objects = {Process(L"a.exe", 1)};
  EXPECT_TRUE(dravik::QueryProcesses(query, L",").empty());
  query.reachable = true;
  EXPECT_EQ(dravik::QueryProcesses(query, L",").size(), 1u);
  EXPECT_EQ(query.queries, 2);
}

TEST(RowImage, PlaceholderForAPathlessRowThatTheShellStillIconed) {
  EXPECT_EQ(dravik::RowImage(L"", 7), dravik::kPlaceholderImage);
  EXPECT_EQ(dravik::RowImage(L"", dravik::kNoImage), dravik::kNoImage);
  EXPECT_EQ(dravik::RowImage(L"C:\\a.exe", 7), 7);
  EXPECT_EQ(dravik::RowImage(L"C:\\a.exe", dravik::kNoImage), dravik::kNoImage);
}

class RefreshProcessListTest : public ::testing::Test {
 protected:
  LanguageFile file_{kBandTexts};
  fakes::FakeProcessQuery query_;
  RecordingList list_;
};

TEST_F(RefreshProcessListTest, RowsCarryTheFieldsWithTheBandTextAndTheirIcon) {
  auto editor = Process(L"editor.exe", 1234, L"C:\\Tools\\editor.exe");
  editor[L"Priority"] = PropertyValue::Signed(8);
  editor[L"WorkingSetSize"] = PropertyValue::Text(L"1536000");
  editor[L"ThreadCount"] = PropertyValue::Signed(3);
  editor[L"QuotaPeakPagedPoolUsage"] = PropertyValue::Unsigned(77);
  auto system = Process(L"System", 4);
  system[L"Priority"] = PropertyValue::Signed(13);
  query_.objects = {editor, system};

  EXPECT_EQ(dravik::RefreshProcessList(list_, query_, file_.language(), L","), 2u);
  ASSERT_EQ(list_.rows.size(), 2u);
  const auto& first = list_.rows[0].cells;
  EXPECT_EQ(first[0], L"editor.exe");
  EXPECT_EQ(first[1], L"1234");
  EXPECT_EQ(first[2], L"1,500 KB");
  EXPECT_EQ(first[3], L"C:\\Tools\\editor.exe");
  EXPECT_EQ(first[4], L"Normal");
  EXPECT_EQ(first[6], L"3");
  EXPECT_EQ(first[13], L"77");
  EXPECT_EQ(list_.rows[1].cells[4], L"High");
  // Every row asks the shell, the pathless one too; it shows the placeholder.
  EXPECT_EQ(list_.iconPaths, (std::vector<std::wstring>{L"C:\\Tools\\editor.exe", L""}));
  EXPECT_EQ(list_.rows[0].image, 2);
  EXPECT_EQ(list_.rows[1].image, dravik::kPlaceholderImage);
  EXPECT_EQ(list_.rowsWhileDrawing, 0);
}

TEST_F(RefreshProcessListTest, NoShellIconMeansNoImage) {
  list_.shellHasNoIcon = true;
  query_.objects = {Process(L"a.exe", 1, L"C:\\a.exe"), Process(L"b", 2)};
  dravik::RefreshProcessList(list_, query_, file_.language(), L",");
  EXPECT_EQ(list_.rows[0].image, dravik::kNoImage);
  EXPECT_EQ(list_.rows[1].image, dravik::kNoImage);
}

TEST_F(RefreshProcessListTest, ListsEveryOneOfMoreThanTwoThousandProcesses) {
  for (int pid = 1; pid <= 2100; ++pid) {
    auto process = Process(L"p" + std::to_wstring(pid) + L".exe", pid * 4,
                           L"C:\\p\\" + std::to_wstring(pid) + L".exe");
    process[L"PageFaults"] = PropertyValue::Unsigned(static_cast<std::uint64_t>(pid) * 10);
    process[L"Priority"] = PropertyValue::Signed(pid % 2 ? 8 : 13);
    query_.objects.push_back(process);
  }
  EXPECT_EQ(dravik::RefreshProcessList(list_, query_, file_.language(), L","), 2100u);
  ASSERT_EQ(list_.rows.size(), 2100u);
  for (int pid = 1; pid <= 2100; ++pid) {
    const auto& row = list_.rows[static_cast<std::size_t>(pid - 1)];
    ASSERT_EQ(row.cells[0], L"p" + std::to_wstring(pid) + L".exe");
    ASSERT_EQ(row.cells[1], std::to_wstring(pid * 4));
    ASSERT_EQ(row.cells[3], L"C:\\p\\" + std::to_wstring(pid) + L".exe");
    ASSERT_EQ(row.cells[4], pid % 2 ? L"Normal" : L"High");
    ASSERT_EQ(row.cells[7], std::to_wstring(pid * 10));
    ASSERT_EQ(row.image, pid + 1);  // one image per row after the placeholder
  }
}

TEST_F(RefreshProcessListTest, EachRefreshStartsFromAnEmptyListAndAUnreachableQueryEmptiesIt) {
  query_.objects = {Process(L"a.exe", 1), Process(L"b.exe", 2)};
  dravik::RefreshProcessList(list_, query_, file_.language(), L",");
  dravik::RefreshProcessList(list_, query_, file_.language(), L",");
  EXPECT_EQ(list_.rows.size(), 2u);
  query_.reachable = false;
  EXPECT_EQ(dravik::RefreshProcessList(list_, query_, file_.language(), L","), 0u);
  EXPECT_TRUE(list_.rows.empty());
  EXPECT_EQ(list_.rebuilds, 3);
  EXPECT_TRUE(list_.drawing);
}

TEST(ParseProcessId, DecimalThirtyTwoBitOnly) {
  EXPECT_EQ(dravik::ParseProcessId(L"1234"), 1234u);
  EXPECT_EQ(dravik::ParseProcessId(L"4294967295"), 4294967295u);
  EXPECT_EQ(dravik::ParseProcessId(L"4294967296"), std::nullopt);
  EXPECT_EQ(dravik::ParseProcessId(L""), std::nullopt);
  EXPECT_EQ(dravik::ParseProcessId(L"12a"), std::nullopt);
  EXPECT_EQ(dravik::ParseProcessId(L"-1"), std::nullopt);
}

}  // namespace
