#pragma once
// The report of an unexpected run-time error, as the "Warning" box shows it.
#include <string>

namespace platform {

inline constexpr wchar_t kRunTimeErrorTitle[] = L"Warning";

// "5:Error in GetSysDir.  Error Message: Access denied": the error's number,
// the routine it happened in and its description.
inline std::wstring RunTimeErrorText(long number, const std::wstring& routine, const std::wstring& description) {
  return std::to_wstring(number) + L":Error in " + routine + L".  Error Message: " + description;
}

}  // namespace platform
