#include "localization/profile_reader.h"

#include <optional>

namespace dravik {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Names are ASCII in practice, so only A-Z fold: a byte of a double-byte
// character is never taken for a letter, and the answer never depends on the
// system's code page (which the system's own calls compare in).
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string FitBuffer(std::string_view value, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  return std::string(value.substr(0, bufferSize - 1));
}

std::optional<std::string_view> FindValue(std::string_view contents, std::string_view section,
                                          std::string_view key) {
  // An editor's UTF-8 mark would otherwise hide the first section's name.
  if (contents.starts_with(kUtf8Mark)) contents.remove_prefix(kUtf8Mark.size());
  bool inSection = false;
  bool sectionSeen = false;
  while (!contents.empty()) {
    const std::size_t end = contents.find('\n');
    std::string_view line = Trim(contents.substr(0, end));
    contents = end == std::string_view::npos ? std::string_view() : contents.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      std::string_view name = Trim(line.substr(1, close == std::string_view::npos
                                                       ? std::string_view::npos
                                                       : close - 1));
      // Only the first section of a name counts; a repeat is not searched.
      inSection = !sectionSeen && SameName(name, Trim(section));
      sectionSeen = sectionSeen || inSection;
      continue;
    }
    if (!inSection) continue;
    const std::size_t equals = line.find('=');
    std::string_view name = Trim(line.substr(0, equals));
    if (!SameName(name, Trim(key))) continue;
    if (equals == std::string_view::npos) return std::string_view();
    return Unquote(Trim(line.substr(equals + 1)));
  }
  return std::nullopt;
}

}  // namespace

std::string LookupProfileValue(std::string_view contents, std::string_view section,
                               std::string_view key, std::string_view fallback,
                               std::size_t bufferSize) {
  if (auto value = FindValue(contents, section, key)) return FitBuffer(*value, bufferSize);
  std::string_view def = fallback;
  while (!def.empty() && IsBlank(def.back())) def.remove_suffix(1);
  return FitBuffer(Unquote(def), bufferSize);
}

}  // namespace dravik
