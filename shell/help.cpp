#include "shell/help.h"

namespace dravik {

std::wstring HelpFilePath(const std::wstring& programFolder) {
  return programFolder + L"\\" + kHelpFileName;
}

std::uintptr_t ShowHelpFile(platform::HelpFiles& help, platform::UserInterface& ui,
                            const Language& language, std::uintptr_t owner,
                            const std::wstring& path) {
  const std::uintptr_t window = help.displayTopic(owner, path);
  if (window == 0) {
    ui.messageBox(language.main("75"), language.main("76"), platform::mb::kStopOk);
  }
  return window;
}

}  // namespace dravik
