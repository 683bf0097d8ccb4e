#include "platform/win32/win32_help.h"

namespace platform::win32 {

namespace {
constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC
}

std::uintptr_t Win32HelpFiles::displayTopic(std::uintptr_t owner, const std::wstring& path) {
  if (!loadTried_) {
    loadTried_ = true;
    // Kept loaded for the program's life: the help window lives in this module.
    if (HMODULE module = ::LoadLibraryW(L"hhctrl.ocx")) {
      htmlHelp_ = reinterpret_cast<HtmlHelpFunction>(
          reinterpret_cast<void*>(::GetProcAddress(module, "HtmlHelpW")));
    }
  }
  if (!htmlHelp_) return 0;
  const HWND window = htmlHelp_(reinterpret_cast<HWND>(owner), path.c_str(), kDisplayTopic, 0);
  return reinterpret_cast<std::uintptr_t>(window);
}

}  // namespace platform::win32
