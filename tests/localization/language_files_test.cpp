// The language files shipped with the program: every file has exactly the keys
// of English.lng (which holds every key the program reads). Their decoding is
// seen under Wine, in the language dialog's test and the started program's.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace {

namespace fs = std::filesystem;
const fs::path kFolder = fs::path(DRAVIK_SOURCE_DIR) / "localization" / "languages";

// "Section/key" -> how many times it is there, and whether a text is always given.
std::map<std::string, std::pair<int, bool>> Keys(const fs::path& path) {
  std::map<std::string, std::pair<int, bool>> keys;
  std::ifstream in(path, std::ios::binary);
  for (std::string line, section; std::getline(in, line);) {
    if (line[0] == '[') section = line.substr(1, line.find(']') - 1);
    const auto equals = line.find('=');
    if (line[0] == ';' || line[0] == '[' || equals == std::string::npos) continue;
    auto& key = keys[section + "/" + line.substr(0, equals)];
    key = {key.first + 1, line.find_first_not_of("\r", equals + 1) != std::string::npos};
  }
  return keys;
}

TEST(LanguageFiles, EveryFileHasExactlyTheKeysOfTheEnglishFileOnceAndTranslationsFillThem) {
  const auto english = Keys(kFolder / "English.lng");
  ASSERT_GT(english.size(), 120u);
  for (const auto& entry : fs::directory_iterator(kFolder)) {
    if (entry.path().extension() != ".lng") continue;
    const auto keys = Keys(entry.path());
    for (const auto& [key, seen] : english) EXPECT_EQ(keys.count(key), 1u) << entry.path() << " lacks " << key;
    for (const auto& [key, seen] : keys) {
      EXPECT_EQ(english.count(key), 1u) << entry.path() << " has unknown " << key;
      EXPECT_EQ(seen.first, 1) << entry.path() << " repeats " << key;
      EXPECT_TRUE(seen.second || entry.path().stem() == "English") << entry.path() << " leaves " << key;
    }
  }
}

}  // namespace
