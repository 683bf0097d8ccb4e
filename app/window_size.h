#pragma once
// The main window's stored outer size ("Heigth" and "Width", in twips).
#include <optional>
#include <string>

#include "app/layout.h"
#include "app/settings.h"

namespace dravik {

// A whole number of twips, optionally signed, with blanks around it; anything
// else (empty, letters, a fraction, too many digits) is not a size.
std::optional<double> ParseStoredSize(const std::wstring& text);

// Reads both values; one that is absent or not a number is replaced by the
// default, which is written back so the store holds a number again.
WindowSize LoadWindowSize(const Settings& settings);

// Stores the current outer size, height first, as decimal text.
void SaveWindowSize(const Settings& settings, WindowSize size);

}  // namespace dravik
