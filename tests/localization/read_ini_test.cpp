#include "localization/read_ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "doubles/fake_profile_files.h"
#include "localization/profile_reader.h"
#include "localization/profile_vectors.h"

namespace {

class ReadIniTest : public ::testing::Test {
 protected:
  std::wstring write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return fakes::WidePath((dir_ / name).string());
  }
  std::wstring read(const char* key, const std::wstring& file, const char* section = "Main") {
    return dravik::ReadINI(profiles_, section, key, file);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  void SetUp() override { std::filesystem::create_directories(dir_); }
  std::filesystem::path dir_ = std::filesystem::temp_directory_path() / "dravik-readini-test";
  fakes::FakeProfileFiles profiles_;
};

TEST(ProfileReader, AnswersLikeTheSystemProfileApi) {
  for (const auto& c : vectors::ProfileCases()) {
    EXPECT_EQ(dravik::LookupProfileValue(vectors::kProfileFile, c.section, c.key, "", c.bufferSize),
              c.expected) << c.section << "/" << c.key;
  }
  // A missing key gives the fallback without trailing blanks and quotes.
  EXPECT_EQ(dravik::LookupProfileValue("", "Main", "1", "\"dflt\"  ", 355), "dflt");
}

TEST_F(ReadIniTest, DecodesWithTheFilesCharacterSetElseTheAnsiCodePage) {
  // "Файл" in code page 1251; "Ukončit" in code page 1250.
  EXPECT_EQ(read("1", write("Ru.lng", "[LANGUAGE]\r\nCharacterSet=204\r\n[Main]\r\n1=\xD4\xE0\xE9\xEB\r\n")),
            L"\u0424\u0430\u0439\u043B");
  EXPECT_EQ(read("2", write("Cz.lng", "[LANGUAGE]\r\nCharacterSet=238\r\n[Main]\r\n2=Ukon\xE8it\r\n")),
            L"Ukon\u010Dit");
  const auto plain = write("Plain.lng", "[Main]\r\n1=\xE8\r\n[LANGUAGE]\r\nCharacterSet=oops\r\n");
  profiles_.ansi = 1251;
  EXPECT_EQ(read("1", plain), L"\u0438");
  profiles_.ansi = 1252;
  EXPECT_EQ(read("1", plain), L"\u00E8");
  for (const wchar_t* odd : {L"", L"-1", L"204x", L"1", L"99999999"}) {
    EXPECT_EQ(dravik::CodePageForCharacterSet(odd, 437), 437u) << odd;
  }
}

TEST_F(ReadIniTest, MissingFileSectionOrKeyGivesEmptyTextAndTheByteLimitCutsBytes) {
  const auto file = write("English.lng", "[Main]\r\n1=File\r\n");
  EXPECT_EQ(read("1", file), L"File");
  EXPECT_EQ(read("2", file), L"");
  EXPECT_EQ(read("1", file, "Tray"), L"");
  EXPECT_EQ(read("1", file + L".missing"), L"");
  // 400 two-byte characters of code page 936: 354 bytes are 177 characters.
  std::string value;
  for (int i = 0; i < 200; ++i) value += "\xC4\xE3";
  EXPECT_EQ(read("1", write("Zh.lng", "[LANGUAGE]\r\nCharacterSet=134\r\n[Main]\r\n1=" + value)).size(), 177u);
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
