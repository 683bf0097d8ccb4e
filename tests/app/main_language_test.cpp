#include "app/main_language.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "app/list_columns.h"
#include "localization/profile_reader.h"
#include "localization/message_texts.h"

namespace {

using namespace dravik;

std::vector<std::string> KeysOf(ElementKind kind) {
  std::vector<std::string> keys;
  for (const auto& e : MainLanguageElements()) {
    if (e.kind == kind) keys.push_back(e.key);
  }
  return keys;
}

TEST(MainLanguage, LabelsInTheOrderMenusTipsTabsColumnsStatus) {
  const auto elements = MainLanguageElements();
  ASSERT_FALSE(elements.empty());
  int lastKind = 0;
  for (const auto& e : elements) {
    EXPECT_GE(static_cast<int>(e.kind), lastKind);
    lastKind = static_cast<int>(e.kind);
  }
  EXPECT_EQ(KeysOf(ElementKind::MenuItem),
            (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "10", "11", "12",
                                      "13", "14", "15", "16", "17", "18", "19", "20", "21", "22",
                                      "23", "24", "25", "13", "14", "107", "109"}));
  // The second "13" and "14" are the Network popup's items.
  EXPECT_EQ(elements[24].index, static_cast<int>(MenuId::TerminateNetworkPrc));
  EXPECT_EQ(elements[25].index, static_cast<int>(MenuId::FileNetworkProperties));
  EXPECT_EQ(KeysOf(ElementKind::ToolTip),
            (std::vector<std::string>{"26", "27", "28", "29", "30", "31", "32", "33", "34", "35",
                                      "36", "10"}));
  EXPECT_EQ(KeysOf(ElementKind::TabCaption), (std::vector<std::string>{"74", "67", "99", "97"}));
  EXPECT_EQ(KeysOf(ElementKind::StatusTip), (std::vector<std::string>{"69", "71", "73"}));
  // 3 + 14 + 8 + 8 headers: the handle column keeps its own.
  EXPECT_EQ(KeysOf(ElementKind::ColumnHeader).size(), 33u);
  for (const auto& e : elements) {
    if (e.kind == ElementKind::ColumnHeader && e.index == static_cast<int>(ListId::Apps)) {
      EXPECT_NE(e.column, kHiddenHandleColumn);
    }
  }
}

TEST(MainLanguage, SharedKeysLabelEveryElementTheyName) {
  std::map<std::string, int> uses;
  for (const auto& e : MainLanguageElements()) ++uses[e.key];
  EXPECT_EQ(uses["13"], 2);  // both Terminate Process items
  EXPECT_EQ(uses["14"], 2);
  EXPECT_EQ(uses["10"], 2);  // About item and About button tip
  EXPECT_EQ(uses["39"], 2);  // PID of the Tasks and Processes lists
  EXPECT_EQ(uses["40"], 2);
  EXPECT_EQ(uses["42"], 2);
  EXPECT_EQ(uses["57"], 1);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(EnglishLanguageFile, HoldsATextForEveryKeyTheProgramReads) {
  const std::string file = ReadFile(std::string(DRAVIK_SOURCE_DIR) + "/localization/languages/English.lng");
  ASSERT_FALSE(file.empty()) << "English.lng not found";
  const auto keys = AllLanguageKeys();
  // "Main" 1 to 113 without 9, 88 and 100, plus 8301; About 5; Tray 8;
  // Splash 1; LANGUAGE 4.
  EXPECT_EQ(keys.size(), 110u + 1 + 5 + 8 + 1 + 4);
  for (const LanguageKey& k : keys) {
    const std::string text = LookupProfileValue(file, k.section, k.key, "\x01missing", 1000);
    EXPECT_NE(text, "\x01missing") << "[" << k.section << "] " << k.key << " is missing";
    // Only the translator's addresses may be left blank in English.
    const bool mayBeEmpty = k.section == "LANGUAGE" && (k.key == "e-mail" || k.key == "web");
    if (!mayBeEmpty) {
      EXPECT_FALSE(text.empty()) << "[" << k.section << "] " << k.key;
    }
  }
}

TEST(EnglishLanguageFile, GivesTheProgramsOwnEnglishTexts) {
  const std::string file = ReadFile(std::string(DRAVIK_SOURCE_DIR) + "/localization/languages/English.lng");
  // The texts the elements show before a language is applied must not change
  // when English is applied.
  for (const MenuItemDef& item : MenuItems()) {
    if (!item.key) continue;
    std::wstring text = item.text;
    EXPECT_EQ(LookupProfileValue(file, "Main", item.key, "", 1000), std::string(text.begin(), text.end()))
        << item.key;
  }
  for (int list = 0; list < kListCount; ++list) {
    for (const ListColumn& c : ListColumns(static_cast<ListId>(list))) {
      if (!c.key) continue;
      std::wstring text = c.header;
      EXPECT_EQ(LookupProfileValue(file, "Main", c.key, "", 1000), std::string(text.begin(), text.end()));
    }
  }
  for (const MessageTextKey& m : MessageTextKeys()) {
    std::wstring text = m.english;
    EXPECT_EQ(LookupProfileValue(file, m.section, m.key, "", 1000), std::string(text.begin(), text.end()))
        << m.key;
  }
}

}  // namespace
