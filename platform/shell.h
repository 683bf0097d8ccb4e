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

}  // namespace platform
