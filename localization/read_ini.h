#pragma once
// Looking up the texts of a language file.
#include <string>
#include <utility>

#include "platform/profile_files.h"
#include "localization/language_keys.h"

namespace dravik {

// Values longer than this many bytes of 8-bit text come back cut to it.
inline constexpr std::size_t kReadIniBufferBytes = 355;

// The language file of a language name: <program folder>\Language\<name>.lng
std::wstring LanguageFilePath(const std::wstring& programFolder, const std::wstring& languageName);

// The code page that a font character-set code stands for; the system's ANSI
// code page when the text is not one of the known codes.
unsigned CodePageForCharacterSet(const std::wstring& characterSet, unsigned ansiCodePage);

// The text of `key` in `section` of `file`, decoded with the code page of the
// file's own "CharacterSet". "" for a missing file, section or key.
std::wstring ReadINI(platform::ProfileFiles& profiles, const std::string& section,
                     const std::string& key, const std::wstring& file);

// The language file in use and the lookups against it.
class Language {
 public:
  Language(platform::ProfileFiles& profiles, std::wstring file)
      : profiles_(profiles), file_(std::move(file)) {}
  const std::wstring& file() const { return file_; }
  // Every text is looked up anew in the file's bytes as `profiles` gives them
  // (the program holds them once read: HeldProfileFiles), its code page from
  // the same bytes.
  std::wstring text(const std::string& section, const std::string& key) const {
    return ReadINI(profiles_, section, key, file_);
  }
  std::wstring text(TextKey key) const { return text(key.section, key.key); }
  std::wstring main(const std::string& key) const { return text("Main", key); }
  // The raw "CharacterSet" value, which fonts take as their character set.
  std::wstring characterSet() const { return text(text_key::kCharacterSet); }

 private:
  platform::ProfileFiles& profiles_;
  std::wstring file_;
};

}  // namespace dravik
