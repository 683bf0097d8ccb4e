#pragma once
// The shell: opening files, programs and addresses.
#include <cstdint>
#include <string>

namespace platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecute: returns the shell's instance value; 32 or less is a failure.
  virtual std::intptr_t execute(const std::wstring& verb, const std::wstring& file,
                                const std::wstring& parameters, const std::wstring& folder,
                                int showCommand) = 0;
};

// Where the shell keeps a file's small icon: its system image list and the
// position in it. A null list means the shell gave no icon.
struct SystemIcon {
  std::uintptr_t imageList = 0;  // HIMAGELIST
  int index = 0;
};

// Files as the shell presents them: their icons and their properties sheet.
class ShellFiles {
 public:
  virtual ~ShellFiles() = default;
  // The small (16 by 16) icon of `path` in the system image list; no list
  // when the shell has none for it.
  virtual SystemIcon smallIcon(const std::wstring& path) = 0;
  // Opens the shell's properties sheet of the file without an owner window;
  // false when the shell refused. Returns without waiting for the sheet.
  virtual bool showProperties(const std::wstring& path) = 0;
};

}  // namespace platform
