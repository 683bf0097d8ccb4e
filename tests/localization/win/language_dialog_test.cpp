// The language dialog under Wine: real windows, the real Language folder of
// the built program, the real registry and real message boxes. Only the shell
// is a double: opening a mail or web link would start programs the test has
// no business starting.
#include "localization/win/language_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "doubles/fake_system.h"
#include "platform/win32/win32_file_listing.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_window_manager.h"
#include "support/win/test_support.h"
#include "support/win/ui_test_support.h"

namespace {

using dravik::LanguageDialog;
using testsupport::WindowText;

// The Russian texts as the translation has them, written here in UTF-16.
constexpr wchar_t kRussianCaption[] =
    L"\u0412\u044b\u0431\u043e\u0440 \u044f\u0437\u044b\u043a\u0430";
constexpr wchar_t kRussianSelect[] = L"\u042f\u0437\u044b\u043a:";
constexpr wchar_t kRussianApply[] = L"\u041f\u0440\u0438\u043c\u0435\u043d\u0438\u0442\u044c";
constexpr wchar_t kRussianCancel[] = L"\u041e\u0442\u043c\u0435\u043d\u0430";
constexpr wchar_t kRussianTranslator[] =
    L"\u0410\u043b\u0435\u043a\u0441\u0435\u0439 \u0421\u043c\u0438\u0440\u043d\u043e\u0432";

int FontCharset(HWND control) {
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW face{};
  if (!font || !::GetObjectW(font, sizeof(face), &face)) return -1;
  return face.lfCharSet;
}

class LanguageDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { storedBefore_ = settings_.read(dravik::kSettingLanguage); }
  void TearDown() override {
    dialog_.close();
    // The machine's own choice comes back, whatever the test stored.
    settings_.write(dravik::kSettingLanguage, storedBefore_);
  }

  HWND item(int id) const { return ::GetDlgItem(dialog_.window(), id); }
  // A pick in the list, sent as the list reports a user's pick.
  void pick(const std::wstring& name) {
    const HWND list = item(LanguageDialog::kLanguageList);
    const LRESULT index = ::SendMessageW(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(name.c_str()));
    ASSERT_GE(index, 0) << "no entry for this language";
    ::SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageW(dialog_.window(), WM_COMMAND,
                   MAKEWPARAM(LanguageDialog::kLanguageList, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(list));
  }
  std::vector<std::wstring> listEntries() const {
    std::vector<std::wstring> entries;
    const HWND list = item(LanguageDialog::kLanguageList);
    const LRESULT count = ::SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      wchar_t text[256] = {};
      ::SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      entries.emplace_back(text);
    }
    return entries;
  }

  platform::win32::Win32ProfileFiles profiles_;
  platform::win32::Win32FileListing files_;
  platform::win32::Win32Registry registry_;
  platform::win32::Win32UserInterface ui_;
  fakes::FakeShell shell_;
  dravik::Settings settings_{registry_};
  std::wstring storedBefore_;
  std::wstring programFolder_ = testsupport::ProgramDir();
  dravik::Language current_{profiles_, dravik::LanguageFilePath(programFolder_, L"German")};
  LanguageDialog dialog_{::GetModuleHandleW(nullptr),
                         {profiles_, files_, shell_, ui_, settings_},
                         programFolder_,
                         current_};
};

TEST_F(LanguageDialogTest, ListsTheInstalledLanguagesAlphabeticallyAndPreselectsTheStoredOne) {
  settings_.write(dravik::kSettingLanguage, L"German");
  dialog_.open();
  ASSERT_TRUE(dialog_.window());
  EXPECT_TRUE(::IsWindowVisible(dialog_.window()));
  const std::vector<std::wstring> expected{L"English", L"French", L"German", L"Russian"};
  EXPECT_EQ(listEntries(), expected);
  EXPECT_EQ(dialog_.selectedName(), L"German");
  // The preview ran for the preselected entry: the dialog speaks German.
  EXPECT_EQ(WindowText(dialog_.window()), L"Sprache w\u00e4hlen");
  EXPECT_EQ(WindowText(item(LanguageDialog::kApply)), L"\u00dcbernehmen");
  EXPECT_EQ(dialog_.previewFile(), dravik::LanguageFilePath(programFolder_, L"German"));
}

TEST_F(LanguageDialogTest, PickingRussianShowsItsCyrillicTextsBeforeAnythingIsStored) {
  settings_.write(dravik::kSettingLanguage, L"French");
  dialog_.open();
  pick(L"Russian");
  EXPECT_EQ(WindowText(dialog_.window()), kRussianCaption);
  EXPECT_EQ(WindowText(item(LanguageDialog::kSelectLabel)), kRussianSelect);
  EXPECT_EQ(WindowText(item(LanguageDialog::kApply)), kRussianApply);
  EXPECT_EQ(WindowText(item(LanguageDialog::kCancel)), kRussianCancel);
  EXPECT_EQ(WindowText(item(LanguageDialog::kTranslatorName)), kRussianTranslator);
  EXPECT_EQ(WindowText(item(LanguageDialog::kTranslatorEmail)),
            L"aleksey.smirnov@draviktm.example");
  EXPECT_EQ(WindowText(item(LanguageDialog::kTranslatorWeb)), L"http://www.draviktm.example/ru");
  // The translated controls draw with the Cyrillic character set; the links keep theirs.
  EXPECT_EQ(FontCharset(item(LanguageDialog::kSelectLabel)), 204);
  EXPECT_EQ(FontCharset(item(LanguageDialog::kCancel)), 204);
  EXPECT_EQ(FontCharset(item(LanguageDialog::kTranslatorName)), 204);
  EXPECT_EQ(FontCharset(item(LanguageDialog::kTranslatorEmail)), 0);
  EXPECT_EQ(settings_.read(dravik::kSettingLanguage), L"French");
  EXPECT_NE(testsupport::SaveScreenshot(dialog_.window(), L"language_dialog_russian.bmp"), L"");
}

TEST_F(LanguageDialogTest, CancelAndEscapeCloseWithoutStoring) {
  settings_.write(dravik::kSettingLanguage, L"German");
  dialog_.open();
  pick(L"Russian");
  ::SendMessageW(item(LanguageDialog::kCancel), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog_.window(), nullptr);
  EXPECT_EQ(settings_.read(dravik::kSettingLanguage), L"German");

  // Escape pressed in the list, where the focus is.
  dialog_.open();
  pick(L"French");
  ::PostMessageW(item(LanguageDialog::kLanguageList), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(
      testsupport::PumpUntil([&] { return dialog_.window() == nullptr; }, std::chrono::seconds(3)));
  EXPECT_EQ(settings_.read(dravik::kSettingLanguage), L"German");

  // The next opening shows the stored language again.
  dialog_.open();
  EXPECT_EQ(dialog_.selectedName(), L"German");
}

TEST_F(LanguageDialogTest, ApplyShowsTheMessageOfThePickedLanguageThenStoresItAndCloses) {
  settings_.write(dravik::kSettingLanguage, L"English");
  dialog_.open();
  pick(L"Russian");
  const dravik::Language russian(profiles_, dravik::LanguageFilePath(programFolder_, L"Russian"));
  // The message comes first: while it is shown nothing is stored yet.
  std::wstring storedWhileShown;
  testsupport::MessageBoxAnswerer answerer(IDOK, [&] {
    platform::win32::Win32Registry registry;
    storedWhileShown = dravik::Settings(registry).read(dravik::kSettingLanguage);
  });
  ::SendMessageW(item(LanguageDialog::kApply), BM_CLICK, 0, 0);  // returns once the box is answered
  ASSERT_TRUE(answerer.finish());
  EXPECT_EQ(answerer.title(), russian.text("Tray", "8"));
  EXPECT_EQ(answerer.text(), russian.text("Tray", "7"));
  EXPECT_FALSE(answerer.text().empty());
  EXPECT_EQ(storedWhileShown, L"English");
  EXPECT_EQ(settings_.read(dravik::kSettingLanguage), L"Russian");
  EXPECT_EQ(dialog_.window(), nullptr);
}

TEST_F(LanguageDialogTest, LabellingFromTheRunningLanguageCreatesTheDialogHidden) {
  settings_.write(dravik::kSettingLanguage, L"Russian");
  dialog_.languageSysTrayAndLanguage();
  ASSERT_TRUE(dialog_.window());
  EXPECT_FALSE(::IsWindowVisible(dialog_.window()));
  // The list was filled and previewed, then the running language (German) labelled it.
  EXPECT_EQ(dialog_.selectedName(), L"Russian");
  EXPECT_EQ(WindowText(dialog_.window()), L"Sprache w\u00e4hlen");
  EXPECT_EQ(WindowText(item(LanguageDialog::kCancel)), L"Abbrechen");
  EXPECT_EQ(WindowText(item(LanguageDialog::kTranslatorName)), L"Jonas Weber");
}

TEST_F(LanguageDialogTest, LinksOpenThroughTheShellAndAnEmptyOneDoesNothing) {
  settings_.write(dravik::kSettingLanguage, L"French");
  dialog_.open();
  const auto click = [&](int id) {
    ::SendMessageW(dialog_.window(), WM_COMMAND, MAKEWPARAM(id, STN_CLICKED),
                   reinterpret_cast<LPARAM>(item(id)));
  };
  click(LanguageDialog::kTranslatorEmail);
  click(LanguageDialog::kTranslatorWeb);
  ASSERT_EQ(shell_.calls.size(), 2u);
  EXPECT_EQ(shell_.calls[0].verb, L"");
  EXPECT_EQ(shell_.calls[0].file, L"mailto:camille.lefevre@draviktm.example");
  EXPECT_EQ(shell_.calls[0].show, 1);
  EXPECT_EQ(shell_.calls[0].folder.size(), 3u);  // the root of the current drive
  EXPECT_EQ(shell_.calls[0].folder.substr(1), L":\\");
  EXPECT_EQ(shell_.calls[1].file, L"http://www.draviktm.example/fr");

  ::SetWindowTextW(item(LanguageDialog::kTranslatorEmail), L"");
  click(LanguageDialog::kTranslatorEmail);
  EXPECT_EQ(shell_.calls.size(), 2u);
}

// A program folder of the test's own, with whatever Language folder a case needs.
class BadLanguageFolderTest : public LanguageDialogTest {
 protected:
  void SetUp() override {
    LanguageDialogTest::SetUp();
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::filesystem::path(temp) / L"dravik-language-test";
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_ / L"Language");
  }
  void TearDown() override {
    LanguageDialogTest::TearDown();
    std::filesystem::remove_all(folder_);
  }
  std::filesystem::path folder_;
};

TEST_F(BadLanguageFolderTest, AnEmptyFolderListsNothingAndApplyKeepsTheSetting) {
  settings_.write(dravik::kSettingLanguage, L"German");
  LanguageDialog dialog(::GetModuleHandleW(nullptr), {profiles_, files_, shell_, ui_, settings_},
                        folder_.wstring(), current_);
  dialog.open();
  ASSERT_TRUE(dialog.window());
  EXPECT_TRUE(dialog.names().empty());
  EXPECT_EQ(dialog.selectedName(), L"");
  EXPECT_EQ(dialog.previewFile(), L"");
  ::SendMessageW(::GetDlgItem(dialog.window(), LanguageDialog::kApply), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog.window(), nullptr);
  EXPECT_EQ(testsupport::FindMessageBox(::GetCurrentProcessId()).window, nullptr);
  EXPECT_EQ(settings_.read(dravik::kSettingLanguage), L"German");
}

TEST_F(BadLanguageFolderTest, ABrokenFileAndAStoredNameWithoutFileNeitherFailNorAsk) {
  settings_.write(dravik::kSettingLanguage, L"Klingon");
  std::ofstream(folder_ / L"Language" / L"Broken.lng", std::ios::binary)
      << std::string("\0\xff\xfe[Tray\n3=\n=\n[[", 15);
  std::ofstream(folder_ / L"Language" / L"Zulu.lng", std::ios::binary)
      << "[Tray]\r\n3=Khetha ulimi\r\n";
  std::ofstream(folder_ / L"Language" / L"notes.txt", std::ios::binary) << "not a language";
  LanguageDialog dialog(::GetModuleHandleW(nullptr), {profiles_, files_, shell_, ui_, settings_},
                        folder_.wstring(), current_);
  dialog.open();
  ASSERT_TRUE(dialog.window());
  EXPECT_EQ(dialog.names(), (std::vector<std::wstring>{L"Broken", L"Zulu"}));
  EXPECT_EQ(dialog.selectedName(), L"Broken");  // the stored one has no file: the first entry
  EXPECT_EQ(WindowText(dialog.window()), L"");
  EXPECT_TRUE(dialog.select(L"Zulu"));
  EXPECT_EQ(WindowText(dialog.window()), L"Khetha ulimi");
  EXPECT_EQ(WindowText(::GetDlgItem(dialog.window(), LanguageDialog::kApply)), L"");
  EXPECT_EQ(testsupport::FindMessageBox(::GetCurrentProcessId()).window, nullptr);
  EXPECT_EQ(settings_.read(dravik::kSettingLanguage), L"Klingon");
  dialog.close();
}

}  // namespace
