#include "localization/read_ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "doubles/fake_profile_files.h"
#include "localization/held_profile_files.h"
#include "localization/profile_reader.h"
#include "localization/profile_vectors.h"

namespace {

TEST(ProfileReader, AnswersLikeTheSystemProfileApi) {
  for (const auto& c : vectors::kProfileCases) {
    EXPECT_EQ(dravik::LookupProfileValue(vectors::kProfileFile, c.section, c.key, "", c.bufferSize),
              c.expected) << c.section << "/" << c.key;
  }
  // A missing key gives the fallback without trailing blanks and quotes.
  EXPECT_EQ(dravik::LookupProfileValue("", "Main", "1", "\"dflt\"  ", 355), "dflt");
}

TEST(ReadIni, DecodesWithTheFilesCharacterSetElseTheAnsiCodePageAndGivesEmptyTextForMissingKeys) {
  const auto path = std::filesystem::temp_directory_path() / "dravik-readini.lng";
  const auto file = fakes::WidePath(path.string());
  fakes::FakeProfileFiles profiles;
  const auto read = [&](const std::string& text, const char* key = "1") {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    return dravik::ReadINI(profiles, "Main", key, file);
  };
  // "Файл" in code page 1251, "Ukončit" in 1250, 400 two-byte characters of 936 cut at 354 bytes.
  EXPECT_EQ(read("[LANGUAGE]\r\nCharacterSet=204\r\n[Main]\r\n1=\xD4\xE0\xE9\xEB\r\n"), L"Файл");
  EXPECT_EQ(read("[LANGUAGE]\r\nCharacterSet=238\r\n[Main]\r\n1=Ukon\xE8it\r\n"), L"Ukončit");
  std::string chinese = "[LANGUAGE]\r\nCharacterSet=134\r\n[Main]\r\n1=";
  for (int i = 0; i < 200; ++i) chinese += "\xC4\xE3";
  EXPECT_EQ(read(chinese).size(), 177u);
  profiles.ansi = 1251;
  EXPECT_EQ(read("[Main]\r\n1=\xE8\r\n[LANGUAGE]\r\nCharacterSet=oops\r\n"), L"и");
  profiles.ansi = 1252;
  EXPECT_EQ(read("[Main]\r\n1=\xE8\r\n[LANGUAGE]\r\nCharacterSet=204x\r\n"), L"è");
  // An editor's UTF-8 mark: the first section is found and its texts are UTF-8, whatever the character set says.
  EXPECT_EQ(read("\xEF\xBB\xBF[Main]\r\n1=T\xC3\xA2\x63he\r\n[LANGUAGE]\r\nCharacterSet=204\r\n"), L"T\u00E2che");
  EXPECT_EQ(read("[Main]\r\n1=File\r\n", "2"), L"");
  dravik::Language language(profiles, file);  // looks up at every call
  EXPECT_EQ(language.main("1"), L"File");
  read("[Main]\r\n1=Datei\r\n");
  EXPECT_EQ(language.main("1"), L"Datei");
  std::filesystem::remove(path);
  EXPECT_EQ(language.main("1"), L"");
}

TEST(HeldProfileFiles, GiveEachFileAsItsFirstReadGaveItUntilTheNextStart) {
  const auto dir = std::filesystem::temp_directory_path();
  const auto write = [](const std::filesystem::path& path, const char* text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  };
  write(dir / "dravik-held-1.lng", "[LANGUAGE]\r\nCharacterSet=204\r\n[Main]\r\n1=\xD4\xE0\xE9\xEB\r\n2=x\r\n");
  write(dir / "dravik-held-2.lng", "[Main]\r\n1=Datei\r\n");
  const auto first = fakes::WidePath((dir / "dravik-held-1.lng").string());
  const auto second = fakes::WidePath((dir / "dravik-held-2.lng").string());
  fakes::FakeProfileFiles files;
  dravik::HeldProfileFiles held(files);
  const dravik::Language language(held, first);
  EXPECT_EQ(language.main("1"), L"Файл");
  write(dir / "dravik-held-1.lng", "[Main]\r\n1=File\r\n");
  EXPECT_EQ(language.main("1"), L"Файл");
  EXPECT_EQ(language.main("2"), L"x");
  EXPECT_EQ(dravik::Language(held, second).main("1"), L"Datei");
  EXPECT_EQ(dravik::Language(held, first + L"-missing").main("1"), L"");
  dravik::HeldProfileFiles nextStart(files);
  EXPECT_EQ(dravik::Language(nextStart, first).main("1"), L"File");
  std::filesystem::remove(dir / "dravik-held-1.lng");
  std::filesystem::remove(dir / "dravik-held-2.lng");
}

}  // namespace
