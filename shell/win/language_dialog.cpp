#include "shell/win/language_dialog.h"

#include <algorithm>

namespace dravik {

namespace {

constexpr wchar_t kWindowClass[] = L"DravikLanguageDialog";
constexpr int kShowNormal = 1;

// The layout, in dialog units of the dialog's font: the margin around the
// dialog, the gap between a label and its list and between two buttons, the
// space above the translator's lines and above the buttons, where the list
// starts at the least, its least width, the height of its drop-down part and
// the narrowest the dialog is.
constexpr int kMargin = 7;
constexpr int kGap = 4;
constexpr int kSectionGap = 10;
constexpr int kListLeft = 64;
constexpr int kListLeastWidth = 100;
constexpr int kDropDownHeight = 100;
constexpr int kLeastWidth = 205;

// Design-time texts: what the dialog shows before a language labels it. The
// layout places and sizes every control once its text is known.
constexpr DialogControl kControls[] = {
    {LanguageDialog::kSelectLabel, L"STATIC", L"Select:", SS_LEFT, 0, 0, 0, 0},
    {LanguageDialog::kLanguageList, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
     0, 0, 0, 0},
    {LanguageDialog::kTranslatorName, L"STATIC", L"[name]", SS_LEFT, 0, 0, 0, 0},
    {LanguageDialog::kTranslatorEmail, L"STATIC", L"[e-mail]", SS_LEFT | SS_NOTIFY, 0, 0, 0, 0},
    {LanguageDialog::kTranslatorWeb, L"STATIC", L"[Web]", SS_LEFT | SS_NOTIFY, 0, 0, 0, 0},
    {LanguageDialog::kApply, L"BUTTON", L"Apply", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0, 0, 0},
    {LanguageDialog::kCancel, L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 0, 0},
};

bool IsLink(int id) {
  return id == LanguageDialog::kTranslatorEmail || id == LanguageDialog::kTranslatorWeb;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring CurrentFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, buffer);
  return (length > 0 && length < MAX_PATH) ? std::wstring(buffer, length) : std::wstring();
}

}  // namespace

LanguageDialog::LanguageDialog(HINSTANCE instance, Services services, std::wstring programFolder,
                               const Language& current)
    : ModelessDialog(instance, kWindowClass, L"LanguageDialog", IsLink),
      services_(services),
      programFolder_(std::move(programFolder)),
      current_(current) {}

void LanguageDialog::open() {
  if (!window()) create();
  if (!window()) return;
  showInFront(kLanguageList);
}

void LanguageDialog::create() {
  if (!createWindow(L"AAA", L"Select Language", kControls, fonts().font(current_.characterSet())))
    return;
  fillLanguageList();
  layOut();
}

void LanguageDialog::fillLanguageList() {
  const HWND list = control(kLanguageList);
  ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
  names_ = LanguageNamesFromFiles(
      services_.files.files(programFolder_ + L"\\Language\\", kLanguageFilePattern));
  for (const std::wstring& name : names_) {
    ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  const auto index = LanguageToSelect(names_, services_.storedLanguage());
  if (!index) return;  // an empty folder: nothing to preview
  ::SendMessageW(list, CB_SETCURSEL, *index, 0);
  preview();  // a program's selection raises no change notification
}

std::wstring LanguageDialog::selectedName() const {
  if (!window()) return {};
  const LRESULT index = ::SendMessageW(control(kLanguageList), CB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<std::size_t>(index) >= names_.size()) return {};
  return names_[static_cast<std::size_t>(index)];
}

bool LanguageDialog::select(const std::wstring& name) {
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == name) {
      ::SendMessageW(control(kLanguageList), CB_SETCURSEL, i, 0);
      preview();
      layOut();
      return true;
    }
  }
  return false;
}

void LanguageDialog::preview() {
  const std::wstring name = selectedName();
  if (name.empty()) return;
  previewFile_ = LanguageFilePath(programFolder_, name);
  const Language picked(services_.profiles, previewFile_);
  // Each text first, then its font takes the file's character set, read anew.
  setText(0, picked.text(text_key::kLanguageCaption));
  setCharset(0, picked.characterSet());
  setText(kSelectLabel, picked.text(text_key::kLanguageSelect));
  setCharset(kSelectLabel, picked.characterSet());
  setText(kApply, picked.text(text_key::kLanguageApply));
  setCharset(kApply, picked.characterSet());
  setText(kCancel, picked.text(text_key::kLanguageCancel));
  setCharset(kCancel, picked.characterSet());
  setText(kTranslatorName, picked.text(text_key::kTranslator));
  setCharset(kTranslatorName, picked.characterSet());
  setText(kTranslatorEmail, picked.text(text_key::kTranslatorEmail));
  setText(kTranslatorWeb, picked.text(text_key::kTranslatorWeb));
}

void LanguageDialog::languageSysTrayAndLanguage() {
  if (!window()) create();
  if (!window()) return;
  const LanguageDialogTexts texts = ReadLanguageDialogTexts(current_);
  setText(0, texts.caption);
  setText(kSelectLabel, texts.select);
  setText(kApply, texts.apply);
  setText(kCancel, texts.cancel);
  setText(kTranslatorName, texts.translator);
  setText(kTranslatorEmail, texts.email);
  setText(kTranslatorWeb, texts.web);
  layOut();
}

// The texts change with the language browsed, and so do their sizes: each
// takes the room it needs in its own font. The list follows its label; the
// translator's lines and the buttons follow the list; the dialog widens when
// a text that cannot wrap (an address, a long label) needs it.
void LanguageDialog::layOut() {
  const DialogUnits du = unitsOf(kSelectLabel);
  const int margin = du.x(kMargin);
  const SIZE select = TextBlock(control(kSelectLabel));
  const SIZE email = TextBlock(control(kTranslatorEmail));
  const SIZE web = TextBlock(control(kTranslatorWeb));
  const SIZE apply = ButtonSize(control(kApply), du);
  const SIZE cancel = ButtonSize(control(kCancel), du);
  const SIZE button{std::max<LONG>(apply.cx, cancel.cx), std::max<LONG>(apply.cy, cancel.cy)};
  const int listLeft = std::max<LONG>(du.x(kListLeft), margin + select.cx + du.x(kGap));
  const int width = std::max<LONG>({du.x(kLeastWidth), listLeft + du.x(kListLeastWidth) + margin,
                                    margin + email.cx + margin, margin + web.cx + margin,
                                    margin + 2 * button.cx + du.x(kGap) + margin});
  const int column = width - 2 * margin;

  // The closed list is as high as its font makes it; its label is centred on it.
  const HWND list = control(kLanguageList);
  ::MoveWindow(list, listLeft, du.y(kMargin), width - margin - listLeft, du.y(kDropDownHeight), TRUE);
  RECT closed{};
  ::GetWindowRect(list, &closed);
  const int listHeight = closed.bottom - closed.top;
  place(kSelectLabel, margin, du.y(kMargin) + (listHeight - select.cy) / 2, select);

  int y = du.y(kMargin) + std::max<LONG>(listHeight, select.cy) + du.y(kSectionGap);
  const SIZE name = TextBlock(control(kTranslatorName), column);
  place(kTranslatorName, margin, y, {column, name.cy});
  y += name.cy + du.y(kGap);
  place(kTranslatorEmail, margin, y, email);  // only the address itself is the link
  y += email.cy + du.y(kGap);
  place(kTranslatorWeb, margin, y, web);
  y += web.cy + du.y(kSectionGap);

  place(kCancel, width - margin - button.cx, y, button);
  place(kApply, width - margin - 2 * button.cx - du.x(kGap), y, button);
  SetClientSize(window(), {width, y + button.cy + du.y(kMargin)});
}

void LanguageDialog::apply() {
  const std::wstring name = selectedName();
  // With an empty Language folder there is nothing to choose: the stored
  // language stays as it is rather than being blanked.
  if (name.empty()) {
    close();
    return;
  }
  const AppliedMessage message = ReadAppliedMessage(Language(services_.profiles, previewFile_));
  services_.ui.messageBox(message.text, message.title, platform::mb::kExclamationOk);
  services_.storeLanguage(name);
  close();
}

void LanguageDialog::openLink(int id, bool mail) {
  const std::wstring text = WindowText(control(id));
  if (text.empty()) return;
  services_.shell.execute(L"", mail ? MailLinkTarget(text) : text, L"",
                          DriveRootOf(CurrentFolder()), kShowNormal);
}

void LanguageDialog::command(int id, int code, LPARAM lParam) {
  if (id == kApply && code == BN_CLICKED) {
    apply();
  } else if (id == kCancel && (code == BN_CLICKED || lParam == 0)) {
    close();
  } else if (id == kLanguageList && code == CBN_SELCHANGE) {
    preview();
    layOut();
  } else if (IsLink(id) && code == STN_CLICKED) {
    openLink(id, id == kTranslatorEmail);
  }
}

void LanguageDialog::destroyed() {
  previewFile_.clear();
  names_.clear();
}

}  // namespace dravik
