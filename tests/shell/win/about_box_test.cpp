// The About box under Wine, labelled from the built program's language files.
// The shell is a double: the link would start a browser.
#include "shell/win/about_box.h"

#include <gtest/gtest.h>

#include "doubles/fake_system.h"
#include "platform/win32/win32_profile_files.h"
#include "support/win/ui_test_support.h"

namespace {

using dravik::AboutBox;
using testsupport::WindowText;

class AboutBoxTest : public ::testing::Test {
 protected:
  HWND item(const AboutBox& box, int id) { return ::GetDlgItem(box.window(), id); }

  platform::win32::Win32ProfileFiles profiles_;
  fakes::FakeShell shell_;
  std::wstring folder_ = testsupport::ProgramDir();
};

TEST_F(AboutBoxTest, IsLabelledHiddenAtStartShowsTheVersionAfterItsLabelAndTheLinkOpensTheWebSite) {
  const dravik::Language russian(profiles_, dravik::LanguageFilePath(folder_, L"Russian"));
  AboutBox box(::GetModuleHandleW(nullptr), russian, shell_, folder_, L"http://127.0.0.1:9");
  box.languageAbout();
  ASSERT_TRUE(box.window() && !::IsWindowVisible(box.window()));
  const HWND label = item(box, AboutBox::kVersionLabel);
  EXPECT_EQ(testsupport::FontCharset(label), 204);
  EXPECT_EQ(WindowText(box.window()), L"О программе");
  // Russian.lng's texts; the product name, the version and the address in every language.
  const std::pair<int, const wchar_t*> texts[] = {
      {AboutBox::kVersionLabel, L"Версия:"}, {AboutBox::kClose, L"Закрыть"},
      {AboutBox::kCopyright, L"© 2026 Dravik Software. Все права защищены."},
      {AboutBox::kFreeware, L"Эта программа распространяется бесплатно."}, {AboutBox::kTitle, L"Dravik Task Manager"},
      {AboutBox::kVersionNumber, L"2.1"}, {AboutBox::kLink, L"http://127.0.0.1:9"}};
  for (const auto& [id, text] : texts) EXPECT_EQ(WindowText(item(box, id)), text) << id;

  box.show();
  ASSERT_TRUE(::IsWindowVisible(box.window()));
  EXPECT_EQ(testsupport::RectInParent(item(box, AboutBox::kVersionNumber)).left,
            testsupport::RectInParent(label).right + ::MulDiv(40, testsupport::ScreenDpi(), 1440));  // 40 twips
  ::SendMessageW(box.window(), WM_COMMAND, MAKEWPARAM(AboutBox::kLink, STN_CLICKED),
                 reinterpret_cast<LPARAM>(item(box, AboutBox::kLink)));
  ASSERT_EQ(shell_.calls.size(), 1u);
  const auto& call = shell_.calls[0];
  EXPECT_TRUE(call.verb == L"Open" && call.file == L"http://127.0.0.1:9" && call.folder == folder_ && call.show == 1);
  ::SendMessageW(item(box, AboutBox::kClose), BM_CLICK, 0, 0);
  EXPECT_EQ(box.window(), nullptr);
  box.show();  // a new box
  ::PostMessageW(item(box, AboutBox::kClose), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return !box.window(); }, std::chrono::seconds(3)));
}

// The DPI run starts this at 96, 120, 144 and 192 DPI; other runs at the
// prefix's own resolution.
TEST_F(AboutBoxTest, EveryTextFitsItsControlInEveryLanguage) {
  testsupport::ExpectTheRunsDpi();
  for (const std::wstring name : {L"English", L"French", L"German", L"Russian"}) {
    const dravik::Language language(profiles_, dravik::LanguageFilePath(folder_, name));
    AboutBox box(::GetModuleHandleW(nullptr), language, shell_, folder_);
    box.show();
    ASSERT_TRUE(box.window());
    testsupport::ExpectTextsFit(box.window(), 7, name);
  }
}

}  // namespace
