// The language dialog under Wine: real windows and the real Language folder
// of the built program. The shell is a double (a link would start a mail or
// web program), and so are the message boxes and the stored setting.
#include "shell/win/language_dialog.h"

#include <gtest/gtest.h>

#include "doubles/fake_system.h"
#include "platform/win32/win32_file_listing.h"
#include "platform/win32/win32_profile_files.h"
#include "support/win/ui_test_support.h"

namespace {

using dravik::LanguageDialog;
using testsupport::WindowText;
using Names = std::vector<std::wstring>;

class LanguageDialogTest : public ::testing::Test {
 protected:
  LanguageDialog::Services services() {
    return {profiles_, files_, shell_, ui_, [this] { return stored_; },
            [this](const std::wstring& name) { stored_ = name; }};
  }
  HWND item(int id) const { return ::GetDlgItem(dialog_.window(), id); }
  // A pick in the list, reported as the list reports a user's pick.
  void pick(const wchar_t* name) {
    ::SendMessageW(item(LanguageDialog::kLanguageList), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(name));
    ::SendMessageW(dialog_.window(), WM_COMMAND, MAKEWPARAM(LanguageDialog::kLanguageList, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(item(LanguageDialog::kLanguageList)));
  }

  platform::win32::Win32ProfileFiles profiles_;
  platform::win32::Win32FileListing files_;
  fakes::FakeUserInterface ui_;
  fakes::FakeShell shell_;
  std::wstring stored_ = L"French";
  std::wstring folder_ = testsupport::ProgramDir();
  dravik::Language current_{profiles_, dravik::LanguageFilePath(folder_, L"German")};
  LanguageDialog dialog_{::GetModuleHandleW(nullptr), services(), folder_, current_};
};

TEST_F(LanguageDialogTest, ListsPreviewsInCyrillicOpensLinksCancelsWithoutStoringAndAppliesRussian) {
  dialog_.languageSysTrayAndLanguage();  // at start: listed and previewed, then labelled in the running German
  ASSERT_TRUE(dialog_.window() && !::IsWindowVisible(dialog_.window()));
  EXPECT_EQ(dialog_.selectedName(), L"French");
  EXPECT_EQ(WindowText(item(LanguageDialog::kCancel)), L"Abbrechen");
  dialog_.open();
  ASSERT_TRUE(::IsWindowVisible(dialog_.window()));
  EXPECT_EQ(dialog_.names(), (Names{L"English", L"French", L"German", L"Russian"}));

  pick(L"Russian");
  EXPECT_EQ(WindowText(dialog_.window()), L"Выбор языка");
  const struct { int id; const wchar_t* text; int charset; } russian[] = {
      {LanguageDialog::kSelectLabel, L"Язык:", 204}, {LanguageDialog::kApply, L"Применить", 204},
      {LanguageDialog::kTranslatorName, L"Алексей Смирнов", 204},
      {LanguageDialog::kTranslatorEmail, L"aleksey.smirnov@draviktm.example", 0},  // links keep theirs
  };
  for (const auto& row : russian) {
    EXPECT_EQ(WindowText(item(row.id)), row.text) << row.id;
    EXPECT_EQ(testsupport::FontCharset(item(row.id)), row.charset) << row.id;
  }
  for (int id : {LanguageDialog::kTranslatorEmail, LanguageDialog::kTranslatorWeb}) {
    ::SendMessageW(dialog_.window(), WM_COMMAND, MAKEWPARAM(id, STN_CLICKED), reinterpret_cast<LPARAM>(item(id)));
  }
  ASSERT_EQ(shell_.calls.size(), 2u);
  EXPECT_EQ(shell_.calls[0].file, L"mailto:aleksey.smirnov@draviktm.example");
  EXPECT_EQ(shell_.calls[0].folder.substr(1), L":\\");  // the root of the current drive
  EXPECT_EQ(shell_.calls[1].file, L"http://www.draviktm.example/ru");
  ::SendMessageW(item(LanguageDialog::kCancel), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog_.window(), nullptr);
  EXPECT_EQ(stored_, L"French");

  dialog_.open();  // lists anew: the stored language again
  EXPECT_EQ(dialog_.selectedName(), L"French");
  pick(L"Russian");
  ::SendMessageW(item(LanguageDialog::kApply), BM_CLICK, 0, 0);
  ASSERT_EQ(ui_.boxes.size(), 1u);  // the picked file's message
  EXPECT_EQ(ui_.boxes[0].title, L"Язык");
  EXPECT_EQ(ui_.boxes[0].text, L"Новый язык будет использоваться при следующем запуске Dravik Task Manager.");
  EXPECT_EQ(ui_.boxes[0].flags, platform::mb::kExclamationOk);
  EXPECT_EQ(stored_, L"Russian");
  EXPECT_EQ(dialog_.window(), nullptr);
}

// The DPI run starts this at 96, 120, 144 and 192 DPI; other runs at the
// prefix's own resolution. Every running language, labelled at start, then
// every language picked in the list.
TEST_F(LanguageDialogTest, EveryTextFitsItsControlInEveryLanguage) {
  testsupport::ExpectTheRunsDpi();
  stored_ = L"English";
  const Names languages{L"English", L"French", L"German", L"Russian"};
  for (const std::wstring& running : languages) {
    const dravik::Language current(profiles_, dravik::LanguageFilePath(folder_, running));
    LanguageDialog dialog(::GetModuleHandleW(nullptr), services(), folder_, current);
    dialog.languageSysTrayAndLanguage();
    dialog.open();
    ASSERT_TRUE(dialog.window());
    for (std::size_t picked = 0; picked <= languages.size(); ++picked) {  // as labelled at start, then each picked
      ASSERT_TRUE(picked == 0 || dialog.select(languages[picked - 1]));
      testsupport::ExpectTextsFit(dialog.window(), 4, running + L" running, " + dialog.selectedName() + L" shown");
    }
  }
}

}  // namespace
