#include "app/main_language.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/tab_descriptions.h"
#include "localization/message_texts.h"
#include "localization/profile_reader.h"

namespace {

using namespace dravik;

TEST(MainLanguage, TipsTabsAndStatusTipsTakeTheirKeysInOrder) {
  // Menus and columns are tied to their keys by their English texts below.
  std::vector<std::string> tips, tabs, status;
  for (const auto& e : MainLanguageElements()) {
    auto* list = e.kind == ElementKind::ToolTip ? &tips : e.kind == ElementKind::TabCaption ? &tabs
               : e.kind == ElementKind::StatusTip ? &status : nullptr;
    if (list) list->push_back(e.key);
  }
  EXPECT_EQ(tips, (std::vector<std::string>{"26", "27", "28", "29", "30", "31", "32", "33", "34", "35", "36", "10"}));
  EXPECT_EQ(tabs, (std::vector<std::string>{"74", "67", "99", "97"}));
  EXPECT_EQ(status, (std::vector<std::string>{"69", "71", "73"}));
}

TEST(EnglishLanguageFile, HoldsEveryKeyTheProgramReadsWithItsOwnEnglishTexts) {
  std::ifstream in(std::string(DRAVIK_SOURCE_DIR) + "/localization/languages/English.lng", std::ios::binary);
  const std::string file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(file.empty()) << "English.lng not found";
  const auto text = [&](const std::string& section, const std::string& key) {
    return LookupProfileValue(file, section, key, "\x01missing", 1000);
  };
  // "Main" 1 to 113 without 9, 88 and 100, plus 8301; About 5; Tray 8; Splash 1; LANGUAGE 4.
  EXPECT_EQ(AllLanguageKeys().size(), 110u + 1 + 5 + 8 + 1 + 4);
  for (const LanguageKey& k : AllLanguageKeys()) {
    // Only the translator's addresses may be left blank in English.
    const bool mayBeEmpty = k.section == "LANGUAGE" && (k.key == "e-mail" || k.key == "web");
    const std::string value = text(k.section, k.key);
    EXPECT_NE(value, "\x01missing") << "[" << k.section << "] " << k.key << " is missing";
    EXPECT_TRUE(mayBeEmpty || !value.empty()) << "[" << k.section << "] " << k.key;
  }
  // What the elements show before a language is applied stays when English is.
  const auto narrow = [](const std::wstring& w) { return std::string(w.begin(), w.end()); };
  for (const MenuItemDef& item : MenuItems()) {
    if (item.key) { EXPECT_EQ(text("Main", item.key), narrow(item.text)) << item.key; }
  }
  for (dravik::Tab tab : dravik::kTabs) {
    for (const ListColumn& c : ListColumns(tab)) {
      if (c.key) { EXPECT_EQ(text("Main", c.key), narrow(c.header)) << c.key; }
    }
  }
  for (const MessageTextKey& m : MessageTextKeys()) { EXPECT_EQ(text(m.section, m.key), narrow(m.english)) << m.key; }
}

}  // namespace
