#pragma once
// The program's compiled help file.
#include <cstdint>
#include <string>

#include "localization/read_ini.h"
#include "platform/shell.h"
#include "platform/window_manager.h"

namespace dravik {

inline constexpr wchar_t kHelpFileName[] = L"draviktm.chm";

// The help file beside the program.
std::wstring HelpFilePath(const std::wstring& programFolder);

// Opens the help file's default topic. When it cannot be shown, tells the user
// with the texts of "Main" keys 75 (prompt) and 76 (title). Returns the help
// window, 0 when none opened; the main window keeps it.
std::uintptr_t ShowHelpFile(platform::HelpFiles& help, platform::UserInterface& ui,
                            const Language& language, std::uintptr_t owner,
                            const std::wstring& path);

}  // namespace dravik
