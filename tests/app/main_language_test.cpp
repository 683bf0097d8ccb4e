#include "app/main_language.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "app/list_columns.h"
#include "localization/message_texts.h"
#include "localization/profile_reader.h"

namespace {

using namespace dravik;

TEST(MainLanguage, LabelsInTheOrderMenusTipsTabsColumnsStatusWithTheirKeys) {
  std::map<ElementKind, std::vector<std::string>> keys;
  int lastKind = 0;
  for (const auto& e : MainLanguageElements()) {
    EXPECT_GE(static_cast<int>(e.kind), lastKind) << e.key;
    lastKind = static_cast<int>(e.kind);
    keys[e.kind].push_back(e.key);
    EXPECT_FALSE(e.kind == ElementKind::ColumnHeader && e.index == static_cast<int>(ListId::Apps) &&
                 e.column == kHiddenHandleColumn) << "the handle column keeps its own header";
  }
  // The second "13" and "14" are the Network popup's items.
  EXPECT_EQ(keys[ElementKind::MenuItem],
            (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "10", "11", "12", "13", "14", "15",
                                      "16", "17", "18", "19", "20", "21", "22", "23", "24", "25", "13", "14",
                                      "107", "109"}));
  EXPECT_EQ(MainLanguageElements()[24].index, static_cast<int>(MenuId::TerminateNetworkPrc));
  EXPECT_EQ(keys[ElementKind::ToolTip], (std::vector<std::string>{"26", "27", "28", "29", "30", "31", "32",
                                                                  "33", "34", "35", "36", "10"}));
  EXPECT_EQ(keys[ElementKind::TabCaption], (std::vector<std::string>{"74", "67", "99", "97"}));
  EXPECT_EQ(keys[ElementKind::StatusTip], (std::vector<std::string>{"69", "71", "73"}));
  EXPECT_EQ(keys[ElementKind::ColumnHeader].size(), 33u);  // 3 + 14 + 8 + 8
}

TEST(EnglishLanguageFile, HoldsEveryKeyTheProgramReadsWithItsOwnEnglishTexts) {
  std::ifstream in(std::string(DRAVIK_SOURCE_DIR) + "/localization/languages/English.lng", std::ios::binary);
  std::stringstream contents;
  contents << in.rdbuf();
  const std::string file = contents.str();
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
  for (int list = 0; list < kListCount; ++list) {
    for (const ListColumn& c : ListColumns(static_cast<ListId>(list))) {
      if (c.key) { EXPECT_EQ(text("Main", c.key), narrow(c.header)) << c.key; }
    }
  }
  for (const MessageTextKey& m : MessageTextKeys()) { EXPECT_EQ(text(m.section, m.key), narrow(m.english)) << m.key; }
}

}  // namespace
