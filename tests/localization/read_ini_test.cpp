#include "localization/read_ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "doubles/fake_profile_files.h"

namespace {

class ReadIniTest : public ::testing::Test {
 protected:
  std::wstring write(const std::string& name, const std::string& text) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return fakes::WidePath(path.string());
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path dir_ = [] {
    auto d = std::filesystem::temp_directory_path() /
             ("dravik-readini-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(d);
    return d;
  }();
  fakes::FakeProfileFiles profiles_;
};

TEST(LanguageFilePath, IsBuiltByPlainConcatenation) {
  EXPECT_EQ(dravik::LanguageFilePath(L"C:\\Tools\\Dravik", L"English"),
            L"C:\\Tools\\Dravik\\Language\\English.lng");
}

TEST(CodePageForCharacterSet, KnownSetsAndFallbacks) {
  const std::pair<const wchar_t*, unsigned> table[] = {
      {L"0", 1252},   {L"161", 1253}, {L"162", 1254}, {L"177", 1255}, {L"178", 1256},
      {L"186", 1257}, {L"204", 1251}, {L"222", 874},  {L"238", 1250}, {L"128", 932},
      {L"129", 949},  {L"134", 936},  {L"136", 950},
  };
  for (const auto& [set, page] : table) {
    EXPECT_EQ(dravik::CodePageForCharacterSet(set, 437), page) << set;
  }
  for (const wchar_t* odd : {L"", L"abc", L"-1", L"204x", L"1", L"99999999"}) {
    EXPECT_EQ(dravik::CodePageForCharacterSet(odd, 437), 437u) << odd;
  }
}

TEST_F(ReadIniTest, DecodesWithTheFilesCharacterSet) {
  // "Файл" in code page 1251.
  const auto russian = write("Russian.lng",
                             "[LANGUAGE]\r\nCharacterSet=204\r\n[Main]\r\n1=\xD4\xE0\xE9\xEB\r\n");
  EXPECT_EQ(dravik::ReadINI(profiles_, "Main", "1", russian), L"\u0424\u0430\u0439\u043B");
  // "Soubor" with a Czech letter: "Ukončit" in code page 1250.
  const auto czech = write("Czech.lng",
                           "[LANGUAGE]\r\nCharacterSet=238\r\n[Main]\r\n2=Ukon\xE8it\r\n");
  EXPECT_EQ(dravik::ReadINI(profiles_, "Main", "2", czech), L"Ukon\u010Dit");
}

TEST_F(ReadIniTest, WithoutACharacterSetTheAnsiCodePageIsUsed) {
  const auto file = write("Plain.lng", "[Main]\r\n1=\xE8\r\n[LANGUAGE]\r\nCharacterSet=oops\r\n");
  profiles_.ansi = 1251;
  EXPECT_EQ(dravik::ReadINI(profiles_, "Main", "1", file), L"\u0438");
  profiles_.ansi = 1252;
  EXPECT_EQ(dravik::ReadINI(profiles_, "Main", "1", file), L"\u00E8");
}

TEST_F(ReadIniTest, MissingFileSectionOrKeyGivesEmptyText) {
  const auto file = write("English.lng", "[Main]\r\n1=File\r\n");
  EXPECT_EQ(dravik::ReadINI(profiles_, "Main", "1", file), L"File");
  EXPECT_EQ(dravik::ReadINI(profiles_, "Main", "2", file), L"");
  EXPECT_EQ(dravik::ReadINI(profiles_, "Tray", "1", file), L"");
  EXPECT_EQ(dravik::ReadINI(profiles_, "Main", "1", file + L".missing"), L"");
}

TEST_F(ReadIniTest, ByteLimitAppliesToTheEightBitText) {
  // 400 two-byte characters of code page 936: the cut falls on bytes, not characters.
  std::string value;
  for (int i = 0; i < 200; ++i) value += "\xC4\xE3";
  const auto file = write("Chinese.lng", "[LANGUAGE]\r\nCharacterSet=134\r\n[Main]\r\n1=" + value + "\r\n");
  EXPECT_EQ(dravik::ReadINI(profiles_, "Main", "1", file).size(), 177u);  // 354 bytes
}

TEST_F(ReadIniTest, LanguageObjectLooksUpAtEveryCall) {
  const auto file = write("English.lng", "[Main]\r\n74=Tasks\r\n[LANGUAGE]\r\nCharacterSet=0\r\n");
  dravik::Language language(profiles_, file);
  EXPECT_EQ(language.main("74"), L"Tasks");
  EXPECT_EQ(language.characterSet(), L"0");
  write("English.lng", "[Main]\r\n74=Aufgaben\r\n");
  EXPECT_EQ(language.main("74"), L"Aufgaben");
}

}  // namespace
