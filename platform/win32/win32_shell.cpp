#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <shellapi.h>

namespace platform::win32 {

std::intptr_t Win32Shell::execute(const std::wstring& verb, const std::wstring& file,
                                  const std::wstring& parameters, const std::wstring& folder,
                                  int showCommand) {
  const HINSTANCE result = ::ShellExecuteW(
      nullptr, verb.empty() ? nullptr : verb.c_str(), file.c_str(),
      parameters.empty() ? nullptr : parameters.c_str(), folder.empty() ? nullptr : folder.c_str(),
      showCommand);
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace platform::win32
