#include "localization/read_ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "doubles/fake_profile_files.h"
#include "localization/profile_reader.h"

namespace {

namespace fs = std::filesystem;

// What GetPrivateProfileStringA answered under Wine for this file, which the
// program's own reader is held to.
TEST(ProfileReader, AnswersLikeTheSystemProfileApi) {
  const std::string file = "; a comment line\r\n[Main]\r\n  2  =   Exit   \r\n3=\"  quoted  \"\r\n5=\"unbalanced\r\n"
                           "6=a ; not a comment\r\n10=ten\r\n11=first\r\n11=second\r\n12=" + std::string(400, 'x') +
                           "\r\n14=unix\n[main]\r\n99=only in the repeat\r\n";
  const struct { const char* section; const char* key; std::string expected; } rows[] = {
      {"Main", "2", "Exit"}, {"Main", "3", "  quoted  "}, {"Main", "5", "\"unbalanced"},
      {"Main", "6", "a ; not a comment"}, {"MAIN", "10", "ten"}, {"Main", "11", "first"},
      {"Main", "12", std::string(354, 'x')}, {"Main", "14", "unix"}, {"Main", "99", ""}, {"About", "2", ""},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(dravik::LookupProfileValue(file, row.section, row.key, "", 355), row.expected) << row.key;
  }
  // A missing key gives the fallback without trailing blanks and quotes.
  EXPECT_EQ(dravik::LookupProfileValue("", "Main", "1", "\"dflt\"  ", 355), "dflt");
}

TEST(ReadIni, DecodesWithTheFilesCharacterSetElseTheAnsiCodePageAndGivesEmptyTextForMissingKeys) {
  const auto path = fs::temp_directory_path() / "dravik-readini.lng";
  fakes::FakeProfileFiles profiles;
  const auto read = [&](const std::string& text, const char* key = "1") {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    return dravik::ReadINI(profiles, "Main", key, fakes::WidePath(path.string()));
  };
  // "Файл" in code page 1251; 400 two-byte characters of 936 cut at 354 bytes.
  EXPECT_EQ(read("[LANGUAGE]\r\nCharacterSet=204\r\n[Main]\r\n1=\xD4\xE0\xE9\xEB\r\n"), L"Файл");
  std::string chinese = "[LANGUAGE]\r\nCharacterSet=134\r\n[Main]\r\n1=";
  for (int i = 0; i < 200; ++i) chinese += "\xC4\xE3";
  EXPECT_EQ(read(chinese).size(), 177u);
  profiles.ansi = 1250;  // "204x" is no character set: 1250's "č", not 1251's "и" nor 1252's "è"
  EXPECT_EQ(read("[Main]\r\n1=\xE8\r\n[LANGUAGE]\r\nCharacterSet=204x\r\n"), L"č");
  // An editor's UTF-8 mark: the first section is found and its texts are UTF-8, whatever the character set says.
  EXPECT_EQ(read("\xEF\xBB\xBF[Main]\r\n1=T\xC3\xA2\x63he\r\n[LANGUAGE]\r\nCharacterSet=204\r\n"), L"T\u00E2che");
  EXPECT_EQ(read("[Main]\r\n1=File\r\n", "2"), L"");
  fs::remove(path);
}

}  // namespace
