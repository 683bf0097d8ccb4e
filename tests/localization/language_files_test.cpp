// The language files shipped with the program: every file carries every key
// the program reads, in the code page its character set names.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "doubles/fake_profile_files.h"
#include "localization/read_ini.h"

namespace {

namespace fs = std::filesystem;
using KeySet = std::set<std::string>;  // "Section/key", section as written

const fs::path kLanguageFolder = fs::path(DRAVIK_SOURCE_DIR) / "localization" / "languages";

// Every key the program reads from a language file.
KeySet ProgramKeys() {
  KeySet keys;
  for (int key = 1; key <= 113; ++key) {
    if (key != 9 && key != 88 && key != 100) keys.insert("Main/" + std::to_string(key));
  }
  keys.insert("Main/8301");
  for (const char* key : {"1", "2", "4", "6", "7"}) keys.insert(std::string("About/") + key);
  for (int key = 1; key <= 8; ++key) keys.insert("Tray/" + std::to_string(key));
  keys.insert("Splash/5");
  for (const char* key : {"CharacterSet", "translator", "e-mail", "web"}) {
    keys.insert(std::string("LANGUAGE/") + key);
  }
  return keys;
}

struct LanguageFileContents {
  KeySet keys;
  std::map<std::string, std::string> values;  // "Section/key" -> bytes
  std::vector<std::string> duplicates;
};

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

LanguageFileContents Parse(const fs::path& path) {
  LanguageFileContents contents;
  std::ifstream in(path, std::ios::binary);
  std::string line, section;
  while (std::getline(in, line)) {
    line = Trimmed(line);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      section = line.substr(1, line.size() - 2);
      continue;
    }
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string name = section + "/" + Trimmed(line.substr(0, equals));
    if (!contents.keys.insert(name).second) contents.duplicates.push_back(name);
    contents.values[name] = Trimmed(line.substr(equals + 1));
  }
  return contents;
}

std::vector<fs::path> LanguageFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(kLanguageFolder)) {
    if (entry.path().extension() == ".lng") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<std::string> Missing(const KeySet& wanted, const KeySet& present) {
  std::vector<std::string> missing;
  std::set_difference(wanted.begin(), wanted.end(), present.begin(), present.end(),
                      std::back_inserter(missing));
  return missing;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (const auto& name : names) text += name + " ";
  return text;
}

TEST(LanguageFiles, TheFolderHoldsTheFourLanguages) {
  std::set<std::string> names;
  for (const auto& file : LanguageFiles()) names.insert(file.stem().string());
  for (const char* name : {"English", "French", "German", "Russian"}) {
    EXPECT_EQ(names.count(name), 1u) << name;
  }
}

TEST(LanguageFiles, EveryFileHasEveryKeyOfTheEnglishFile) {
  const auto english = Parse(kLanguageFolder / "English.lng");
  ASSERT_FALSE(english.keys.empty());
  for (const auto& file : LanguageFiles()) {
    const auto contents = Parse(file);
    EXPECT_EQ(Joined(Missing(english.keys, contents.keys)), "") << file.filename();
    EXPECT_EQ(Joined(contents.duplicates), "") << file.filename();
  }
}

TEST(LanguageFiles, TranslationsHaveExactlyTheKeysTheProgramReadsAndNoEmptyText) {
  const KeySet wanted = ProgramKeys();
  for (const char* name : {"German.lng", "French.lng", "Russian.lng"}) {
    const auto contents = Parse(kLanguageFolder / name);
    EXPECT_EQ(Joined(Missing(wanted, contents.keys)), "") << name << " lacks";
    EXPECT_EQ(Joined(Missing(contents.keys, wanted)), "") << name << " has unknown";
    for (const auto& [key, value] : contents.values) {
      EXPECT_FALSE(value.empty()) << name << " " << key;
    }
  }
}

// Windows-1252 leaves these five bytes undefined.
bool ValidIn1252(const std::string& bytes) {
  return std::none_of(bytes.begin(), bytes.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
  });
}

TEST(LanguageFiles, WesternTranslationsAreWindows1252WithCharacterSetZero) {
  fakes::FakeProfileFiles profiles;
  for (const char* name : {"German.lng", "French.lng"}) {
    const auto contents = Parse(kLanguageFolder / name);
    EXPECT_EQ(contents.values.at("LANGUAGE/CharacterSet"), "0") << name;
    for (const auto& [key, value] : contents.values) {
      EXPECT_TRUE(ValidIn1252(value)) << name << " " << key;
      // UTF-8 lead bytes followed by continuation bytes give away a file saved as UTF-8.
      EXPECT_EQ(value.find("\xC3\xA4"), std::string::npos) << name << " " << key;
      EXPECT_EQ(value.find("\xC3\xA9"), std::string::npos) << name << " " << key;
    }
  }
  const dravik::Language german(profiles,
                                fakes::WidePath((kLanguageFolder / "German.lng").string()));
  EXPECT_EQ(german.text("Tray", "3"), L"Sprache wählen");
  const dravik::Language french(profiles,
                                fakes::WidePath((kLanguageFolder / "French.lng").string()));
  EXPECT_EQ(french.text("Tray", "3"), L"Choisir la langue");
}

TEST(LanguageFiles, RussianIsWindows1251WithTheCyrillicCharacterSet) {
  const auto contents = Parse(kLanguageFolder / "Russian.lng");
  EXPECT_EQ(contents.values.at("LANGUAGE/CharacterSet"), "204");
  fakes::FakeProfileFiles profiles;
  const dravik::Language russian(profiles,
                                 fakes::WidePath((kLanguageFolder / "Russian.lng").string()));
  EXPECT_EQ(russian.text("Tray", "3"), L"Выбор языка");
  EXPECT_EQ(russian.text("Tray", "6"), L"Отмена");
  // Every text that holds letters is Cyrillic, not 8-bit text read as Western.
  for (const auto& [key, value] : contents.values) {
    EXPECT_EQ(value.find("\xD0\x9F"), std::string::npos) << "UTF-8 in " << key;
  }
}

}  // namespace
