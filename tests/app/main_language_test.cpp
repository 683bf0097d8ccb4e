#include "app/main_language.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "app/tab_descriptions.h"
#include "localization/message_texts.h"
#include "localization/profile_reader.h"

namespace {

using namespace dravik;

std::string Read(const std::string& pathInTree) {
  std::ifstream in(std::string(DRAVIK_SOURCE_DIR) + pathInTree, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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
  const std::string file = Read("/localization/languages/English.lng");
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

// The help pages quote the screen's words as English.lng has them: the
// service states by state code 1 to 7 and the priority bands from base
// priority 0 up as lists, the task statuses in bold, the status bar's panels
// as "(figure) label" and their tips in italics.
TEST(HelpPages, QuoteTheStatesPrioritiesAndPanelsOfTheEnglishLanguageFile) {
  const std::string english = Read("/localization/languages/English.lng");
  const struct { const char* page; std::vector<const char*> keys; const char* before; const char* after; } quotes[] = {
      {"services", {"101", "102", "103", "77", "104", "105", "106"}, "", ""},
      {"processes", {"80", "81", "82", "83", "8301", "84", "85"}, "", ""},
      {"tasks", {"77"}, "<b>", "</b>"}, {"tasks", {"78"}, "<b>", "</b>"},
      {"statusbar", {"74"}, ") ", "<"}, {"statusbar", {"68"}, ") ", "<"}, {"statusbar", {"70"}, ") ", "<"},
      {"statusbar", {"72"}, ") ", "<"}, {"statusbar", {"69"}, "<i>", "</i>"}, {"statusbar", {"71"}, "<i>", "</i>"},
      {"statusbar", {"73"}, "<i>", "</i>"}};
  for (const auto& q : quotes) {
    std::string quoted;
    for (const char* key : q.keys) quoted += (quoted.empty() ? "" : ", ") + LookupProfileValue(english, "Main", key, "", 1024);
    const std::string page = Read("/shell/help/" + std::string(q.page) + ".html");
    EXPECT_NE(page.find(q.before + quoted + q.after), std::string::npos) << q.page << " does not quote " << quoted;
  }
}

}  // namespace
