#include "shell/win/about_box.h"

#include <string>

#include "ui/program_title.h"

namespace dravik {

namespace {

constexpr wchar_t kWindowClass[] = L"DravikAboutBox";
constexpr int kClientWidth = 362;
constexpr int kClientHeight = 200;
constexpr int kShowNormal = 1;
// The version number sits this far after the translated "Version:".
constexpr int kVersionGapTwips = 40;

// Design-time texts, kept where no language key labels the control.
constexpr DialogControl kControls[] = {
    {AboutBox::kPicture, L"STATIC", L"", SS_ICON, 14, 14, 32, 32},
    {AboutBox::kTitle, L"STATIC", kProgramTitle, SS_LEFT | SS_NOPREFIX, 60, 14, 290, 26},
    {AboutBox::kVersionLabel, L"STATIC", L"Version:", SS_LEFT, 60, 48, 60, 16},
    {AboutBox::kVersionNumber, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 124, 48, 60, 16},
    {AboutBox::kFreeware, L"STATIC", L"This product is freeware.", SS_LEFT, 60, 72, 290, 16},
    {AboutBox::kCopyright, L"STATIC", L"", SS_LEFT, 60, 96, 290, 32},
    {AboutBox::kLink, L"STATIC", L"", SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 60, 134, 290, 16},
    {AboutBox::kClose, L"BUTTON", L"Close", BS_DEFPUSHBUTTON | WS_TABSTOP, 264, 164, 86, 26},
};

bool IsLink(int id) { return id == AboutBox::kLink; }

std::wstring VersionText() {
  return std::to_wstring(kRunningVersion.major) + L"." + std::to_wstring(kRunningVersion.minor);
}

}  // namespace

AboutBox::AboutBox(HINSTANCE instance, const Language& language, platform::Shell& shell,
                   std::wstring programFolder, std::wstring webSite)
    : instance_(instance),
      language_(language),
      shell_(shell),
      programFolder_(std::move(programFolder)),
      webSite_(std::move(webSite)) {}

AboutBox::~AboutBox() { close(); }

void AboutBox::show() {
  if (!window_) {
    create();
    languageAbout();
  }
  if (!window_) return;
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::SetForegroundWindow(window_);
  ::SetFocus(control(kClose));
  prikaziIme();
}

void AboutBox::close() {
  if (window_) ::DestroyWindow(window_);
}

void AboutBox::create() {
  window_ = CreateDialogWindow(instance_, kWindowClass, WindowProc, nullptr, L"About",
                               {kClientWidth, kClientHeight}, this);
  if (!window_) return;
  CreateDialogControls(window_, instance_, kControls, fonts_.font(0));
  ::SetWindowTextW(control(kVersionNumber), VersionText().c_str());
  ::SetWindowTextW(control(kLink), webSite_.c_str());

  LOGFONTW title{};
  title.lfHeight = -19;
  title.lfWeight = FW_BOLD;
  title.lfCharSet = DEFAULT_CHARSET;
  ::lstrcpynW(title.lfFaceName, L"Arial", LF_FACESIZE);
  titleFont_.reset(::CreateFontIndirectW(&title));
  ::SendMessageW(control(kTitle), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);

  // A missing picture leaves the place blank.
  picture_.reset(static_cast<HICON>(::LoadImageW(instance_, L"AAA", IMAGE_ICON, 32, 32, 0)));
  if (picture_)
    ::SendMessageW(control(kPicture), STM_SETICON, reinterpret_cast<WPARAM>(picture_.get()), 0);
  placeVersionNumber();
}

void AboutBox::label(int id, const std::wstring& text, HFONT font) {
  const HWND target = id == 0 ? window_ : control(id);
  ::SetWindowTextW(target, text.c_str());
  ::SendMessageW(target, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void AboutBox::languageAbout() {
  if (!window_) create();
  if (!window_) return;
  // Each text, then its font in the file's character set, read anew.
  label(0, language_.text("About", "1"), fonts_.font(language_.characterSet()));
  label(kVersionLabel, language_.text("About", "2"), fonts_.font(language_.characterSet()));
  label(kCopyright, language_.text("About", "4"), fonts_.font(language_.characterSet()));
  label(kClose, language_.text("About", "6"), fonts_.font(language_.characterSet()));
  label(kFreeware, language_.text("About", "7"), fonts_.font(language_.characterSet()));
  placeVersionNumber();
}

void AboutBox::prikaziIme() {
  if (window_) ::SetWindowTextW(control(kFreeware), language_.text("About", "7").c_str());
}

// The translated "Version:" differs in length from language to language: the
// label takes the width of its text and the number follows it.
void AboutBox::placeVersionNumber() {
  const HWND versionLabel = control(kVersionLabel);
  wchar_t text[256] = {};
  ::GetWindowTextW(versionLabel, text, 256);
  const HFONT font = reinterpret_cast<HFONT>(::SendMessageW(versionLabel, WM_GETFONT, 0, 0));
  const SIZE extent = TextExtent(versionLabel, font, text);
  RECT labelRect{};
  ::GetWindowRect(versionLabel, &labelRect);
  ::MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&labelRect), 2);
  const int height = labelRect.bottom - labelRect.top;
  ::MoveWindow(versionLabel, labelRect.left, labelRect.top, extent.cx, height, TRUE);
  ::MoveWindow(control(kVersionNumber),
               labelRect.left + extent.cx + TwipsToPixelsX(kVersionGapTwips), labelRect.top, 60,
               height, TRUE);
}

bool AboutBox::translateKeyboard(MSG& message) {
  return window_ && ::IsDialogMessageW(window_, &message);
}

LRESULT AboutBox::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const auto answered = HandleLinkLook(message, wParam, lParam, IsLink)) return *answered;
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kClose) {
        close();
      } else if (LOWORD(wParam) == kLink && HIWORD(wParam) == STN_CLICKED) {
        shell_.execute(L"Open", webSite_, L"", programFolder_, kShowNormal);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        close();
        return 0;
      }
      break;
    case WM_CLOSE:
      close();
      return 0;
    case WM_DESTROY:
      window_ = nullptr;
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK AboutBox::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<AboutBox*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<AboutBox*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || self->window_ != window) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->handle(message, wParam, lParam);
}

}  // namespace dravik
