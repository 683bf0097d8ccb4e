// The About box under Wine, labelled from the built program's language files.
// The shell is a double: the link would start a browser.
#include "shell/win/about_box.h"

#include <gtest/gtest.h>

#include "doubles/fake_system.h"
#include "localization/win/dialog_support.h"
#include "platform/win32/win32_profile_files.h"
#include "support/win/test_support.h"
#include "support/win/ui_test_support.h"

namespace {

using dravik::AboutBox;
using testsupport::WindowText;

int FontCharset(HWND control) {
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
  LOGFONTW face{};
  if (!font || !::GetObjectW(font, sizeof(face), &face)) return -1;
  return face.lfCharSet;
}

RECT ClientRectOf(HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

class AboutBoxTest : public ::testing::Test {
 protected:
  dravik::Language language(const wchar_t* name) {
    return dravik::Language(profiles_, dravik::LanguageFilePath(testsupport::ProgramDir(), name));
  }
  HWND item(const AboutBox& box, int id) { return ::GetDlgItem(box.window(), id); }

  platform::win32::Win32ProfileFiles profiles_;
  fakes::FakeShell shell_;
  std::wstring folder_ = testsupport::ProgramDir();
};

TEST_F(AboutBoxTest, LabellingAtStartCreatesTheBoxHiddenWithTheLanguagesTexts) {
  const auto german = language(L"German");
  AboutBox box(::GetModuleHandleW(nullptr), german, shell_, folder_, L"http://127.0.0.1:9");
  box.languageAbout();
  ASSERT_TRUE(box.window());
  EXPECT_FALSE(::IsWindowVisible(box.window()));
  EXPECT_EQ(WindowText(box.window()), L"Info");
  EXPECT_EQ(WindowText(item(box, AboutBox::kVersionLabel)), L"Version:");
  EXPECT_EQ(WindowText(item(box, AboutBox::kCopyright)), german.text("About", "4"));
  EXPECT_EQ(WindowText(item(box, AboutBox::kClose)), L"Schlie\u00dfen");
  EXPECT_EQ(WindowText(item(box, AboutBox::kFreeware)), L"Dieses Programm ist Freeware.");
  // Not labelled by a language: the product name, the version and the address.
  EXPECT_EQ(WindowText(item(box, AboutBox::kTitle)), L"Dravik Task Manager");
  EXPECT_EQ(WindowText(item(box, AboutBox::kVersionNumber)), L"2.1");
  EXPECT_EQ(WindowText(item(box, AboutBox::kLink)), L"http://127.0.0.1:9");
}

TEST_F(AboutBoxTest, TheVersionNumberFollowsTheTranslatedLabel) {
  const auto russian = language(L"Russian");
  AboutBox box(::GetModuleHandleW(nullptr), russian, shell_, folder_);
  box.show();
  ASSERT_TRUE(box.window());
  const HWND label = item(box, AboutBox::kVersionLabel);
  const std::wstring text = WindowText(label);
  EXPECT_EQ(text, russian.text("About", "2"));
  EXPECT_EQ(FontCharset(label), 204);
  EXPECT_EQ(FontCharset(item(box, AboutBox::kClose)), 204);
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0));
  const SIZE extent = dravik::TextExtent(label, font, text);
  const RECT labelRect = ClientRectOf(label);
  const RECT numberRect = ClientRectOf(item(box, AboutBox::kVersionNumber));
  EXPECT_EQ(labelRect.right - labelRect.left, extent.cx);
  EXPECT_EQ(numberRect.left, labelRect.left + extent.cx + dravik::TwipsToPixelsX(40));
  EXPECT_NE(testsupport::SaveScreenshot(box.window(), L"about_box_russian.bmp"), L"");
}

TEST_F(AboutBoxTest, OpeningSetsTheFreewareLineAndCloseOrEscapeEndTheBox) {
  const auto french = language(L"French");
  AboutBox box(::GetModuleHandleW(nullptr), french, shell_, folder_);
  box.show();
  ASSERT_TRUE(box.window());
  EXPECT_TRUE(::IsWindowVisible(box.window()));
  EXPECT_EQ(WindowText(item(box, AboutBox::kFreeware)), L"Ce produit est un logiciel gratuit.");
  ::SendMessageW(item(box, AboutBox::kClose), BM_CLICK, 0, 0);
  EXPECT_EQ(box.window(), nullptr);

  box.show();  // a new box, labelled again
  ASSERT_TRUE(box.window());
  EXPECT_EQ(WindowText(box.window()), L"\u00c0 propos");
  ::PostMessageW(item(box, AboutBox::kClose), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(
      testsupport::PumpUntil([&] { return box.window() == nullptr; }, std::chrono::seconds(3)));
}

TEST_F(AboutBoxTest, TheLinkOpensTheWebSiteInTheProgramFolder) {
  const auto german = language(L"German");
  AboutBox box(::GetModuleHandleW(nullptr), german, shell_, folder_, L"http://127.0.0.1:9");
  box.show();
  ::SendMessageW(box.window(), WM_COMMAND, MAKEWPARAM(AboutBox::kLink, STN_CLICKED),
                 reinterpret_cast<LPARAM>(item(box, AboutBox::kLink)));
  ASSERT_EQ(shell_.calls.size(), 1u);
  EXPECT_EQ(shell_.calls[0].verb, L"Open");
  EXPECT_EQ(shell_.calls[0].file, L"http://127.0.0.1:9");
  EXPECT_EQ(shell_.calls[0].folder, folder_);
  EXPECT_EQ(shell_.calls[0].show, 1);
}

}  // namespace
