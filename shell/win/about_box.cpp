#include "shell/win/about_box.h"

#include <algorithm>
#include <string>

#include "ui/program_title.h"
#include "ui/win/window_object.h"

namespace dravik {

namespace {

constexpr wchar_t kWindowClass[] = L"DravikAboutBox";
constexpr int kShowNormal = 1;
// The version number sits this far after the translated "Version:".
constexpr int kVersionGapTwips = 40;
// The title's size in points; it grows with the screen's resolution.
constexpr int kTitlePoints = 14;

// The layout, in dialog units of the box's font: the margin around the box,
// the gap between the picture and the texts, between two texts and above the
// button, and the narrowest the box is.
constexpr int kMargin = 7;
constexpr int kPictureGap = 10;
constexpr int kLineGap = 4;
constexpr int kButtonGap = 7;
constexpr int kLeastWidth = 240;

// Design-time texts, kept where no language key labels the control. The
// layout places and sizes every control once its text is known.
constexpr DialogControl kControls[] = {
    {AboutBox::kPicture, L"STATIC", L"", SS_ICON, 0, 0, 0, 0},
    {AboutBox::kTitle, L"STATIC", kProgramTitle, SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0},
    {AboutBox::kVersionLabel, L"STATIC", L"Version:", SS_LEFT, 0, 0, 0, 0},
    {AboutBox::kVersionNumber, L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0},
    {AboutBox::kFreeware, L"STATIC", L"This product is freeware.", SS_LEFT, 0, 0, 0, 0},
    {AboutBox::kCopyright, L"STATIC", L"", SS_LEFT, 0, 0, 0, 0},
    {AboutBox::kLink, L"STATIC", L"", SS_LEFT | SS_NOTIFY | SS_NOPREFIX, 0, 0, 0, 0},
    {AboutBox::kClose, L"BUTTON", L"Close", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0, 0, 0},
};

int ScreenDpiY() {
  int dpi = 96;
  if (HDC screen = ::GetDC(nullptr)) {
    dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
  }
  return dpi;
}

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
                               {0, 0}, this);
  if (!window_) return;
  CreateDialogControls(window_, instance_, kControls, fonts_.font(0));
  ::SetWindowTextW(control(kVersionNumber), VersionText().c_str());
  ::SetWindowTextW(control(kLink), webSite_.c_str());

  LOGFONTW title{};
  title.lfHeight = -::MulDiv(kTitlePoints, ScreenDpiY(), 72);
  title.lfWeight = FW_BOLD;
  title.lfCharSet = DEFAULT_CHARSET;
  ::lstrcpynW(title.lfFaceName, L"Arial", LF_FACESIZE);
  titleFont_.reset(::CreateFontIndirectW(&title));
  ::SendMessageW(control(kTitle), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);

  // The picture in the system's large-icon size; a missing one leaves the place blank.
  picture_.reset(static_cast<HICON>(::LoadImageW(instance_, L"AAA", IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXICON),
                                                 ::GetSystemMetrics(SM_CYICON), 0)));
  if (picture_)
    ::SendMessageW(control(kPicture), STM_SETICON, reinterpret_cast<WPARAM>(picture_.get()), 0);
  layOut();
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
  label(0, language_.text(text_key::kAboutCaption), fonts_.font(language_.characterSet()));
  label(kVersionLabel, language_.text(text_key::kAboutVersion), fonts_.font(language_.characterSet()));
  label(kCopyright, language_.text(text_key::kAboutRights), fonts_.font(language_.characterSet()));
  label(kClose, language_.text(text_key::kAboutClose), fonts_.font(language_.characterSet()));
  label(kFreeware, language_.text(text_key::kAboutFreeware), fonts_.font(language_.characterSet()));
  layOut();
}

void AboutBox::prikaziIme() {
  if (!window_) return;
  ::SetWindowTextW(control(kFreeware), language_.text(text_key::kAboutFreeware).c_str());
  layOut();
}

// Every text takes the room it needs in its own font, in a column beside the
// picture that is at least the box's least width, wider when a text that
// cannot wrap (the version line, the web address) needs it. Texts that wrap
// grow downwards; the button goes below the lowest of them.
void AboutBox::layOut() {
  const DialogUnits du(window_, reinterpret_cast<HFONT>(
                                    ::SendMessageW(control(kFreeware), WM_GETFONT, 0, 0)));
  const auto place = [this](int id, int x, int y, SIZE size) {
    ::MoveWindow(control(id), x, y, size.cx, size.cy, TRUE);
  };
  const int margin = du.x(kMargin);
  const SIZE icon{::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)};
  const int left = margin + icon.cx + du.x(kPictureGap);

  // The translated "Version:" differs in length from language to language:
  // the label takes the width of its text and the number follows it.
  const SIZE versionLabel = TextBlock(control(kVersionLabel));
  const SIZE versionNumber = TextBlock(control(kVersionNumber));
  const int versionGap = TwipsToPixelsX(kVersionGapTwips);
  const SIZE link = TextBlock(control(kLink));
  const SIZE close = ButtonSize(control(kClose), du);
  const int column = std::max<LONG>({du.x(kLeastWidth) - left - margin,
                                     versionLabel.cx + versionGap + versionNumber.cx, link.cx,
                                     TextBlock(control(kTitle)).cx, close.cx});

  place(kPicture, margin, du.y(kMargin), icon);
  int y = du.y(kMargin);
  const auto wrapped = [&](int id) {
    const SIZE text = TextBlock(control(id), column);
    place(id, left, y, {column, text.cy});
    y += text.cy + du.y(kLineGap);
  };
  wrapped(kTitle);
  place(kVersionLabel, left, y, versionLabel);
  place(kVersionNumber, left + versionLabel.cx + versionGap, y, versionNumber);
  y += std::max<LONG>(versionLabel.cy, versionNumber.cy) + du.y(kLineGap);
  wrapped(kFreeware);
  wrapped(kCopyright);
  place(kLink, left, y, link);  // only the address itself is the link
  y += link.cy;

  const int width = left + column + margin;
  y = std::max<LONG>(y, du.y(kMargin) + icon.cy) + du.y(kButtonGap);
  place(kClose, width - margin - close.cx, y, close);
  SetClientSize(window_, {width, y + close.cy + du.y(kMargin)});
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
  return DispatchToObject(window, message, wParam, lParam, &AboutBox::window_, L"AboutBox",
                          [&](AboutBox& self) { return self.handle(message, wParam, lParam); });
}

}  // namespace dravik
