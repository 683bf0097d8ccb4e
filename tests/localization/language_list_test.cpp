#include "localization/language_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "doubles/fake_profile_files.h"

namespace {

using dravik::LanguageNamesFromFiles;
using dravik::LanguageToSelect;
using Names = std::vector<std::wstring>;

TEST(LanguageList, NamesInFolderOrderWithoutTheExtension) {
  EXPECT_EQ(LanguageNamesFromFiles({L"Russian.lng", L"English.lng", L"German.lng", L"French.lng"}),
            (Names{L"English", L"French", L"German", L"Russian"}));
  // A listing ignores case: "dutch" sorts before "English".
  EXPECT_EQ(LanguageNamesFromFiles({L"English.lng", L"dutch.lng", L"Zulu.LNG"}),
            (Names{L"dutch", L"English", L"Zulu"}));
  // Exactly the last four characters go, whatever the rest holds.
  EXPECT_EQ(LanguageNamesFromFiles({L"Português (BR).lng", L"x.y.lng"}),
            (Names{L"Português (BR)", L"x.y"}));
}

TEST(LanguageList, OtherFilesAndEmptyFoldersGiveNoNames) {
  EXPECT_TRUE(LanguageNamesFromFiles({}).empty());
  EXPECT_EQ(LanguageNamesFromFiles({L".lng", L"readme.txt", L"English.lng.bak", L"German.lng"}),
            (Names{L"German"}));
}

TEST(LanguageList, SelectsTheStoredLanguageOrEnglish) {
  const Names names{L"English", L"French", L"German", L"Russian"};
  EXPECT_EQ(LanguageToSelect(names, L"Russian"), 3u);
  EXPECT_EQ(LanguageToSelect(names, L""), 0u);
  EXPECT_EQ(LanguageToSelect(Names{L"Dutch", L"English"}, L""), 1u);
  EXPECT_EQ(LanguageToSelect(names, L"german"), 2u);
}

TEST(LanguageList, AStoredLanguageWithoutFileFallsBackToTheFirstEntryOrNone) {
  EXPECT_EQ(LanguageToSelect(Names{L"French", L"German"}, L"Klingon"), 0u);
  EXPECT_EQ(LanguageToSelect(Names{L"French", L"German"}, L""), 0u);  // no English file
  EXPECT_FALSE(LanguageToSelect(Names{}, L"German"));
  EXPECT_FALSE(LanguageToSelect(Names{}, L""));
}

TEST(LanguageLinks, MailAndDriveRoot) {
  EXPECT_EQ(dravik::MailLinkTarget(L"anna@example.org"), L"mailto:anna@example.org");
  EXPECT_EQ(dravik::MailLinkTarget(L""), L"");
  EXPECT_EQ(dravik::DriveRootOf(L"C:\\Program Files\\Dravik"), L"C:\\");
  EXPECT_EQ(dravik::DriveRootOf(L"Z:"), L"Z:");
}

TEST(LanguageLinks, CharacterSetValuesForFonts) {
  EXPECT_EQ(dravik::FontCharacterSet(L"204"), 204);
  EXPECT_EQ(dravik::FontCharacterSet(L"0"), 0);
  EXPECT_EQ(dravik::FontCharacterSet(L""), 1);
  EXPECT_EQ(dravik::FontCharacterSet(L"Cyrillic"), 1);
  EXPECT_EQ(dravik::FontCharacterSet(L"999"), 1);
  EXPECT_EQ(dravik::FontCharacterSet(L"-1"), 1);
}

TEST(LanguageDialogTexts, ComeFromTheTrayAndLanguageSectionsOfTheFile) {
  const auto dir = std::filesystem::temp_directory_path() / "dravik-langdlg-test";
  std::filesystem::create_directories(dir);
  const auto path = dir / "Test.lng";
  std::ofstream(path, std::ios::binary)
      << "[Tray]\r\n3=Sprache\r\n4=Wahl:\r\n5=OK\r\n7=Neu starten\r\n8=Hinweis\r\n"
         "[LANGUAGE]\r\nCharacterSet=0\r\ntranslator=Anna\r\ne-mail=a@b.example\r\n";
  fakes::FakeProfileFiles profiles;
  const dravik::Language language(profiles, fakes::WidePath(path.string()));
  const auto texts = dravik::ReadLanguageDialogTexts(language);
  EXPECT_EQ(texts.caption, L"Sprache");
  EXPECT_EQ(texts.select, L"Wahl:");
  EXPECT_EQ(texts.apply, L"OK");
  EXPECT_EQ(texts.cancel, L"");  // missing key: blank, nothing else tried
  EXPECT_EQ(texts.translator, L"Anna");
  EXPECT_EQ(texts.email, L"a@b.example");
  EXPECT_EQ(texts.web, L"");
  EXPECT_EQ(texts.characterSet, L"0");
  const auto applied = dravik::ReadAppliedMessage(language);
  EXPECT_EQ(applied.text, L"Neu starten");
  EXPECT_EQ(applied.title, L"Hinweis");
  std::filesystem::remove_all(dir);
}

}  // namespace
