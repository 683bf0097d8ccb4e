#pragma once
// The shape of every status-bar text: "(" + figure + ") " + label.
#include <string>

namespace dravik {

inline std::wstring StatusText(const std::wstring& figure, const std::wstring& label) {
  return L"(" + figure + L") " + label;
}

}  // namespace dravik
