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
    ui.messageBox(language.text(text_key::kHelpMissing), language.text(text_key::kHelpMissingTitle), platform::mb::kStopOk);
  }
  return window;
}

}  // namespace dravik
