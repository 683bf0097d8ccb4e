#include "localization/language_list.h"

#include <gtest/gtest.h>

namespace {

using dravik::LanguageToSelect;
using Names = std::vector<std::wstring>;

// The Wine test of the language dialog lists the real folder and selects the
// stored language; here the odd names and fallbacks it cannot stage.
TEST(LanguageList, NamesSortedWithoutRegardToCaseAndCutByTheLastFourCharacters) {
  EXPECT_EQ(dravik::LanguageNamesFromFiles({L"English.lng", L"dutch.lng", L"Zulu.LNG", L".lng", L"x.lng.bak"}),
            (Names{L"dutch", L"English", L"Zulu"}));
}

TEST(LanguageList, SelectsTheStoredLanguageElseEnglishElseTheFirstEntryElseNone) {
  EXPECT_EQ(LanguageToSelect(Names{L"English", L"German"}, L"german"), 1u);
  EXPECT_EQ(LanguageToSelect(Names{L"Dutch", L"English"}, L""), 1u);
  EXPECT_EQ(LanguageToSelect(Names{L"French", L"German"}, L"Klingon"), 0u);
  EXPECT_FALSE(LanguageToSelect(Names{}, L"German"));
  for (const wchar_t* odd : {L"", L"Cyrillic", L"-1"}) {
    EXPECT_EQ(dravik::FontCharacterSet(odd), 1) << odd;  // a broken file's character set: the default one
  }
}

}  // namespace
