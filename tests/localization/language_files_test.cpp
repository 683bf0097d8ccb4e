// The language files shipped with the program: every file has exactly the keys
// of English.lng (which holds every key the program reads), decoded in the
// code page its character set names (a file saved as UTF-8 would not be).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "doubles/fake_profile_files.h"
#include "localization/read_ini.h"

namespace {

namespace fs = std::filesystem;
const fs::path kFolder = fs::path(DRAVIK_SOURCE_DIR) / "localization" / "languages";

// "Section/key" -> raw bytes; a key seen twice is reported.
std::map<std::string, std::string> Keys(const fs::path& path) {
  std::map<std::string, std::string> keys;
  std::ifstream in(path, std::ios::binary);
  std::string line, section;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 1 && line.front() == '[') section = line.substr(1, line.find(']') - 1);
    const auto equals = line.find('=');
    if (line.empty() || line[0] == ';' || line[0] == '[' || equals == std::string::npos) continue;
    const std::string name = section + "/" + line.substr(0, equals);
    EXPECT_EQ(keys.count(name), 0u) << path.filename() << " repeats " << name;
    keys[name] = line.substr(equals + 1);
  }
  return keys;
}

TEST(LanguageFiles, EveryFileHasExactlyTheKeysOfTheEnglishFileAndNoEmptyText) {
  const auto english = Keys(kFolder / "English.lng");
  ASSERT_GT(english.size(), 120u);
  for (const auto& entry : fs::directory_iterator(kFolder)) {
    if (entry.path().extension() != ".lng") continue;
    const auto keys = Keys(entry.path());
    for (const auto& [key, text] : english) EXPECT_EQ(keys.count(key), 1u) << entry.path() << " lacks " << key;
    for (const auto& [key, text] : keys) {
      EXPECT_EQ(english.count(key), 1u) << entry.path() << " has unknown " << key;
      // Only English may leave its translator's addresses blank.
      EXPECT_TRUE(!text.empty() || key == "LANGUAGE/e-mail" || key == "LANGUAGE/web") << key;
    }
  }
}

TEST(LanguageFiles, TranslationsDecodeInTheCodePageOfTheirCharacterSet) {
  struct Row {
    const char* file;
    const wchar_t* characterSet;
    const wchar_t* tray3;  // the language dialog's caption
    const wchar_t* main2;
  };
  const Row rows[] = {
      {"German.lng", L"0", L"Sprache w\u00e4hlen", L"Beenden"},
      {"French.lng", L"0", L"Choisir la langue", L"Quitter"},
      {"Russian.lng", L"204", L"\u0412\u044b\u0431\u043e\u0440 \u044f\u0437\u044b\u043a\u0430",
       L"\u0412\u044b\u0445\u043e\u0434"},
  };
  fakes::FakeProfileFiles profiles;
  for (const Row& row : rows) {
    const dravik::Language language(profiles, fakes::WidePath((kFolder / row.file).string()));
    EXPECT_EQ(language.characterSet(), row.characterSet) << row.file;
    EXPECT_EQ(language.text("Tray", "3"), row.tray3) << row.file;
    EXPECT_EQ(language.main("2"), row.main2) << row.file;
  }
}

}  // namespace
