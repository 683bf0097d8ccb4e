#include "localization/language_list.h"

#include <gtest/gtest.h>

namespace {

using dravik::LanguageNamesFromFiles;
using dravik::LanguageToSelect;
using Names = std::vector<std::wstring>;

TEST(LanguageList, NamesSortedWithoutRegardToCaseAndCutByTheLastFourCharacters) {
  EXPECT_EQ(LanguageNamesFromFiles({L"Russian.lng", L"English.lng", L"German.lng", L"French.lng"}),
            (Names{L"English", L"French", L"German", L"Russian"}));
  EXPECT_EQ(LanguageNamesFromFiles({L"English.lng", L"dutch.lng", L"Zulu.LNG", L"x.y.lng"}),
            (Names{L"dutch", L"English", L"x.y", L"Zulu"}));
  EXPECT_EQ(LanguageNamesFromFiles({L".lng", L"readme.txt", L"English.lng.bak", L"German.lng"}),
            (Names{L"German"}));
  EXPECT_TRUE(LanguageNamesFromFiles({}).empty());
}

TEST(LanguageList, SelectsTheStoredLanguageElseEnglishElseTheFirstEntryElseNone) {
  const Names names{L"English", L"French", L"German", L"Russian"};
  EXPECT_EQ(LanguageToSelect(names, L"Russian"), 3u);
  EXPECT_EQ(LanguageToSelect(names, L"german"), 2u);
  EXPECT_EQ(LanguageToSelect(Names{L"Dutch", L"English"}, L""), 1u);
  EXPECT_EQ(LanguageToSelect(Names{L"French", L"German"}, L"Klingon"), 0u);
  EXPECT_EQ(LanguageToSelect(Names{L"French", L"German"}, L""), 0u);
  EXPECT_FALSE(LanguageToSelect(Names{}, L"German"));
  for (const wchar_t* odd : {L"", L"Cyrillic", L"999", L"-1"}) {
    EXPECT_EQ(dravik::FontCharacterSet(odd), 1) << odd;  // a broken file's character set: the default one
  }
}

}  // namespace
