#pragma once
// Conversions between the program's UTF-16 text and 8-bit code pages.
#include <string>
#include <string_view>

namespace platform::win32 {

std::wstring Widen(unsigned codePage, std::string_view bytes);
std::string Narrow(unsigned codePage, std::wstring_view text);

}  // namespace platform::win32
