#include "localization/win/language_dialog.h"

namespace dravik {

namespace {

constexpr wchar_t kWindowClass[] = L"DravikLanguageDialog";
constexpr int kClientWidth = 308;
constexpr int kClientHeight = 156;
constexpr int kShowNormal = 1;

// Design-time texts: what the dialog shows before a language labels it.
constexpr DialogControl kControls[] = {
    {LanguageDialog::kSelectLabel, L"STATIC", L"Select:", SS_LEFT, 12, 14, 80, 16},
    {LanguageDialog::kLanguageList, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
     96, 10, 200, 200},
    {LanguageDialog::kTranslatorName, L"STATIC", L"[name]", SS_LEFT, 12, 46, 284, 16},
    {LanguageDialog::kTranslatorEmail, L"STATIC", L"[e-mail]", SS_LEFT | SS_NOTIFY, 12, 66, 284,
     16},
    {LanguageDialog::kTranslatorWeb, L"STATIC", L"[Web]", SS_LEFT | SS_NOTIFY, 12, 86, 284, 16},
    {LanguageDialog::kApply, L"BUTTON", L"Apply", BS_DEFPUSHBUTTON | WS_TABSTOP, 116, 118, 88, 26},
    {LanguageDialog::kCancel, L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 208, 118, 88, 26},
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
    : instance_(instance),
      services_(services),
      programFolder_(std::move(programFolder)),
      current_(current) {}

LanguageDialog::~LanguageDialog() { close(); }

void LanguageDialog::open() {
  if (!window_) create();
  if (!window_) return;
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::SetForegroundWindow(window_);
  ::SetFocus(control(kLanguageList));
}

void LanguageDialog::close() {
  if (window_) ::DestroyWindow(window_);
}

void LanguageDialog::create() {
  window_ = CreateDialogWindow(instance_, kWindowClass, WindowProc, L"AAA", L"Select Language",
                               {kClientWidth, kClientHeight}, this);
  if (!window_) return;
  CreateDialogControls(window_, instance_, kControls, fonts_.font(current_.characterSet()));
  fillLanguageList();
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
  if (!window_) return {};
  const LRESULT index = ::SendMessageW(control(kLanguageList), CB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<std::size_t>(index) >= names_.size()) return {};
  return names_[static_cast<std::size_t>(index)];
}

bool LanguageDialog::select(const std::wstring& name) {
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == name) {
      ::SendMessageW(control(kLanguageList), CB_SETCURSEL, i, 0);
      preview();
      return true;
    }
  }
  return false;
}

void LanguageDialog::setText(int id, const std::wstring& text) {
  if (id == 0) {
    ::SetWindowTextW(window_, text.c_str());
  } else {
    ::SetWindowTextW(control(id), text.c_str());
  }
}

void LanguageDialog::setCharset(int id, const std::wstring& characterSet) {
  const HWND target = id == 0 ? window_ : control(id);
  ::SendMessageW(target, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.font(characterSet)), TRUE);
}

void LanguageDialog::preview() {
  const std::wstring name = selectedName();
  if (name.empty()) return;
  previewFile_ = LanguageFilePath(programFolder_, name);
  const Language picked(services_.profiles, previewFile_);
  // Each text first, then its font takes the file's character set, read anew.
  setText(0, picked.text("Tray", "3"));
  setCharset(0, picked.characterSet());
  setText(kSelectLabel, picked.text("Tray", "4"));
  setCharset(kSelectLabel, picked.characterSet());
  setText(kApply, picked.text("Tray", "5"));
  setCharset(kApply, picked.characterSet());
  setText(kCancel, picked.text("Tray", "6"));
  setCharset(kCancel, picked.characterSet());
  setText(kTranslatorName, picked.text("LANGUAGE", "translator"));
  setCharset(kTranslatorName, picked.characterSet());
  setText(kTranslatorEmail, picked.text("LANGUAGE", "e-mail"));
  setText(kTranslatorWeb, picked.text("LANGUAGE", "web"));
}

void LanguageDialog::languageSysTrayAndLanguage() {
  if (!window_) create();
  if (!window_) return;
  const LanguageDialogTexts texts = ReadLanguageDialogTexts(current_);
  setText(0, texts.caption);
  setText(kSelectLabel, texts.select);
  setText(kApply, texts.apply);
  setText(kCancel, texts.cancel);
  setText(kTranslatorName, texts.translator);
  setText(kTranslatorEmail, texts.email);
  setText(kTranslatorWeb, texts.web);
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

bool LanguageDialog::translateKeyboard(MSG& message) {
  return window_ && ::IsDialogMessageW(window_, &message);
}

LRESULT LanguageDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const auto answered = HandleLinkLook(message, wParam, lParam, IsLink)) return *answered;
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (id == kApply && code == BN_CLICKED) {
        apply();
      } else if (id == kCancel && (code == BN_CLICKED || lParam == 0)) {
        close();
      } else if (id == kLanguageList && code == CBN_SELCHANGE) {
        preview();
      } else if (IsLink(id) && code == STN_CLICKED) {
        openLink(id, id == kTranslatorEmail);
      }
      return 0;
    }
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
      previewFile_.clear();
      names_.clear();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK LanguageDialog::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<LanguageDialog*>(create->lpCreateParams);
    self->window_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<LanguageDialog*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || self->window_ != window) return ::DefWindowProcW(window, message, wParam, lParam);
  return self->handle(message, wParam, lParam);
}

}  // namespace dravik
