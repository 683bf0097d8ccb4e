#pragma once
// The program's profile (INI) file reader, with the system's lookup rules:
// section and key names compared without regard to case, blanks around names
// and values dropped, one pair of enclosing quotes removed, the first of
// duplicate keys and sections winning. It works on the file's bytes as they
// are, whatever code page they are written in and whatever the system's is.
#include <cstddef>
#include <string>
#include <string_view>

namespace dravik {

// The bytes some editors put before UTF-8 text. A file that starts with them
// is UTF-8 whatever it says, and they are no part of its first line.
inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
inline constexpr unsigned kUtf8CodePage = 65001;

// Looks `key` up in `section` of the file text `contents`. The result is cut so
// that it fits `bufferSize` bytes with a terminating NUL. A missing section or
// key gives `fallback` without its trailing blanks and enclosing quotes.
std::string LookupProfileValue(std::string_view contents, std::string_view section,
                               std::string_view key, std::string_view fallback,
                               std::size_t bufferSize);

}  // namespace dravik
