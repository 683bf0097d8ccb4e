#include "localization/language_list.h"

#include <algorithm>
#include <cwctype>

namespace dravik {

namespace {

constexpr std::wstring_view kExtension = L".lng";
constexpr int kDefaultCharacterSet = 1;

std::wstring Folded(const std::wstring& text) {
  std::wstring folded = text;
  for (wchar_t& c : folded) c = static_cast<wchar_t>(std::towupper(c));
  return folded;
}

bool HasLanguageExtension(const std::wstring& name) {
  if (name.size() <= kExtension.size()) return false;
  return Folded(name.substr(name.size() - kExtension.size())) == L".LNG";
}

}  // namespace

std::vector<std::wstring> LanguageNamesFromFiles(std::vector<std::wstring> fileNames) {
  std::erase_if(fileNames, [](const std::wstring& name) { return !HasLanguageExtension(name); });
  std::stable_sort(fileNames.begin(), fileNames.end(),
                   [](const std::wstring& a, const std::wstring& b) {
                     const std::wstring fa = Folded(a), fb = Folded(b);
                     return fa != fb ? fa < fb : a < b;
                   });
  for (std::wstring& name : fileNames) name.resize(name.size() - kExtension.size());
  return fileNames;
}

std::optional<std::size_t> LanguageToSelect(const std::vector<std::wstring>& names,
                                            const std::wstring& storedName) {
  if (names.empty()) return std::nullopt;
  const std::wstring wanted = storedName.empty() ? std::wstring(L"English") : storedName;
  const auto found = std::find(names.begin(), names.end(), wanted);
  if (found != names.end()) return static_cast<std::size_t>(found - names.begin());
  // A file name differing only in case is the same file on this system.
  const std::wstring folded = Folded(wanted);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (Folded(names[i]) == folded) return i;
  }
  return 0;
}

LanguageDialogTexts ReadLanguageDialogTexts(const Language& language) {
  LanguageDialogTexts texts;
  texts.caption = language.text(text_key::kLanguageCaption);
  texts.select = language.text(text_key::kLanguageSelect);
  texts.apply = language.text(text_key::kLanguageApply);
  texts.cancel = language.text(text_key::kLanguageCancel);
  texts.translator = language.text(text_key::kTranslator);
  texts.email = language.text(text_key::kTranslatorEmail);
  texts.web = language.text(text_key::kTranslatorWeb);
  texts.characterSet = language.characterSet();
  return texts;
}

AppliedMessage ReadAppliedMessage(const Language& language) {
  return {language.text(text_key::kLanguageChosen), language.text(text_key::kLanguageChosenTitle)};
}

std::wstring MailLinkTarget(const std::wstring& address) {
  return address.empty() ? std::wstring() : L"mailto:" + address;
}

std::wstring DriveRootOf(const std::wstring& folder) { return folder.substr(0, 3); }

int FontCharacterSet(const std::wstring& value) {
  if (value.empty() || value.size() > 3) return kDefaultCharacterSet;
  int code = 0;
  for (wchar_t c : value) {
    if (c < L'0' || c > L'9') return kDefaultCharacterSet;
    code = code * 10 + (c - L'0');
  }
  return code <= 255 ? code : kDefaultCharacterSet;
}

}  // namespace dravik
