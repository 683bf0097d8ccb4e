#include "localization/read_ini.h"

#include <array>
#include <utility>

#include "localization/profile_reader.h"

namespace dravik {

namespace {
// Font character sets and the Windows code pages that carry their letters.
constexpr std::array<std::pair<int, unsigned>, 13> kCharacterSetCodePages{{
    {0, 1252},    // ANSI (Western)
    {161, 1253},  // Greek
    {162, 1254},  // Turkish
    {177, 1255},  // Hebrew
    {178, 1256},  // Arabic
    {186, 1257},  // Baltic
    {204, 1251},  // Cyrillic
    {222, 874},   // Thai
    {238, 1250},  // Central European
    {128, 932},   // Japanese
    {129, 949},   // Korean
    {134, 936},   // Simplified Chinese
    {136, 950},   // Traditional Chinese
}};
}  // namespace

std::wstring LanguageFilePath(const std::wstring& programFolder, const std::wstring& languageName) {
  return programFolder + L"\\Language\\" + languageName + L".lng";
}

unsigned CodePageForCharacterSet(const std::wstring& characterSet, unsigned ansiCodePage) {
  if (characterSet.empty() || characterSet.size() > 5) return ansiCodePage;
  int code = 0;
  for (wchar_t c : characterSet) {
    if (c < L'0' || c > L'9') return ansiCodePage;
    code = code * 10 + (c - L'0');
  }
  for (const auto& [set, page] : kCharacterSetCodePages) {
    if (set == code) return page;
  }
  return ansiCodePage;
}

namespace {
// The code page of a language file's texts, from the "CharacterSet" in its bytes.
unsigned FileCodePage(std::string_view contents, unsigned ansiCodePage) {
  if (contents.starts_with(kUtf8Mark)) return kUtf8CodePage;
  // The character set is itself plain digits, readable in any code page.
  const std::string set =
      LookupProfileValue(contents, "LANGUAGE", "CharacterSet", "", kReadIniBufferBytes);
  return CodePageForCharacterSet(std::wstring(set.begin(), set.end()), ansiCodePage);
}
}  // namespace

std::wstring ReadINI(platform::ProfileFiles& profiles, const std::string& section,
                     const std::string& key, const std::wstring& file) {
  const std::string contents = profiles.read(file);
  const std::string bytes = LookupProfileValue(contents, section, key, "", kReadIniBufferBytes);
  if (bytes.empty()) return {};
  return profiles.decode(FileCodePage(contents, profiles.ansiCodePage()), bytes);
}

}  // namespace dravik
