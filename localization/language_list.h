#pragma once
// What the language dialog offers: the language files found beside the
// program, as names, and which of them to preselect.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "localization/read_ini.h"

namespace dravik {

inline constexpr wchar_t kLanguageFilePattern[] = L"*.lng";

// The names the list shows, from the file names of the Language folder: in the
// order a folder listing shows them (alphabetical, without regard to case),
// each without its last four characters (".lng"). Names that do not end in
// ".lng" are not language files and are left out.
std::vector<std::wstring> LanguageNamesFromFiles(std::vector<std::wstring> fileNames);

// Which entry to select for the stored language name: the stored name, or
// "English" when nothing is stored. A name that has no file (a language removed
// since it was chosen) falls back to the first entry, so the dialog still shows
// a readable language; nothing is selected only when the list is empty.
std::optional<std::size_t> LanguageToSelect(const std::vector<std::wstring>& names,
                                            const std::wstring& storedName);

// The dialog's own texts in one language.
struct LanguageDialogTexts {
  std::wstring caption;     // "Tray" 3
  std::wstring select;      // "Tray" 4
  std::wstring apply;       // "Tray" 5
  std::wstring cancel;      // "Tray" 6
  std::wstring translator;  // "LANGUAGE" translator
  std::wstring email;       // "LANGUAGE" e-mail
  std::wstring web;         // "LANGUAGE" web
  std::wstring characterSet;
};
LanguageDialogTexts ReadLanguageDialogTexts(const Language& language);

// The message shown after Apply, in the language just picked.
struct AppliedMessage {
  std::wstring text;   // "Tray" 7
  std::wstring title;  // "Tray" 8
};
AppliedMessage ReadAppliedMessage(const Language& language);

// What the shell opens for a click on the translator's e-mail address; "" for
// an empty address, which opens nothing.
std::wstring MailLinkTarget(const std::wstring& address);

// The root of the drive a folder lies on ("C:\" for "C:\Tools"): the first
// three characters, the folder the links are opened in.
std::wstring DriveRootOf(const std::wstring& folder);

// The font character-set code of a "CharacterSet" value; the default set (1)
// when the text is not a number, so a broken file still draws its texts.
int FontCharacterSet(const std::wstring& value);

}  // namespace dravik
