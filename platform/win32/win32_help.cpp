#include "platform/win32/win32_help.h"

#include <type_traits>

#include "platform/win32/system_library.h"

namespace platform::win32 {

namespace {

constexpr UINT kDisplayTopic = 0;  // HH_DISPLAY_TOPIC
using HtmlHelpFunction = std::remove_pointer_t<HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR)>;

HtmlHelpFunction* HtmlHelp() {
  // Loaded once and kept until the process ends: the help window lives in
  // this module and may outlast any object of the program.
  static const SystemLibrary* const library = new SystemLibrary(L"hhctrl.ocx");
  static HtmlHelpFunction* const htmlHelp = library->find<HtmlHelpFunction>("HtmlHelpW");
  return htmlHelp;
}

}  // namespace

std::uintptr_t Win32HelpFiles::displayTopic(std::uintptr_t owner, const std::wstring& path) {
  HtmlHelpFunction* const htmlHelp = HtmlHelp();
  if (!htmlHelp) return 0;
  const HWND window = htmlHelp(reinterpret_cast<HWND>(owner), path.c_str(), kDisplayTopic, 0);
  return reinterpret_cast<std::uintptr_t>(window);
}

}  // namespace platform::win32
