#include "shell/win/about_box.h"

#include <algorithm>
#include <string>

#include "ui/program_title.h"

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
  const platform::win32::WindowDc screen;
  return screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
}

bool IsLink(int id) { return id == AboutBox::kLink; }

std::wstring VersionText() {
  return std::to_wstring(kRunningVersion.major) + L"." + std::to_wstring(kRunningVersion.minor);
}

}  // namespace

AboutBox::AboutBox(HINSTANCE instance, const Language& language, platform::Shell& shell,
                   std::wstring programFolder, std::wstring webSite)
    : ModelessDialog(instance, kWindowClass, L"AboutBox", IsLink),
      language_(language),
      shell_(shell),
      programFolder_(std::move(programFolder)),
      webSite_(std::move(webSite)) {}

void AboutBox::show() {
  if (!window()) {
    create();
    languageAbout();
  }
  if (!window()) return;
  showInFront(kClose);
  prikaziIme();
}

void AboutBox::create() {
  if (!createWindow(nullptr, L"About", kControls, fonts().font(0))) return;
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
  picture_.reset(static_cast<HICON>(::LoadImageW(instance(), L"AAA", IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXICON),
                                                 ::GetSystemMetrics(SM_CYICON), 0)));
  if (picture_)
    ::SendMessageW(control(kPicture), STM_SETICON, reinterpret_cast<WPARAM>(picture_.get()), 0);
  layOut();
}

// Each text, then its font in the file's character set, read anew.
void AboutBox::label(int id, const std::wstring& text) {
  setText(id, text);
  setCharset(id, language_.characterSet());
}

void AboutBox::languageAbout() {
  if (!window()) create();
  if (!window()) return;
  label(0, language_.text(text_key::kAboutCaption));
  label(kVersionLabel, language_.text(text_key::kAboutVersion));
  label(kCopyright, language_.text(text_key::kAboutRights));
  label(kClose, language_.text(text_key::kAboutClose));
  label(kFreeware, language_.text(text_key::kAboutFreeware));
  layOut();
}

void AboutBox::prikaziIme() {
  if (!window()) return;
  ::SetWindowTextW(control(kFreeware), language_.text(text_key::kAboutFreeware).c_str());
  layOut();
}

// Every text takes the room it needs in its own font, in a column beside the
// picture that is at least the box's least width, wider when a text that
// cannot wrap (the version line, the web address) needs it. Texts that wrap
// grow downwards; the button goes below the lowest of them.
void AboutBox::layOut() {
  const DialogUnits du = unitsOf(kFreeware);
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
  SetClientSize(window(), {width, y + close.cy + du.y(kMargin)});
}

void AboutBox::command(int id, int code, LPARAM) {
  if (id == kClose) {
    close();
  } else if (id == kLink && code == STN_CLICKED) {
    shell_.execute(L"Open", webSite_, L"", programFolder_, kShowNormal);
  }
}

}  // namespace dravik
