#pragma once
// Profile (INI) files, read as the 8-bit bytes they hold, and the code-page
// conversion that turns their texts into the program's UTF-16.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// A language file is a few kilobytes; a longer file is read up to this many
// bytes, so that a stray huge file costs little and cannot exhaust memory.
inline constexpr std::size_t kProfileFileMaxBytes = 1024 * 1024;

class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;
  // The bytes of `file`, opened by its full (wide) path, at most
  // kProfileFileMaxBytes of them; "" when it is missing or cannot be read.
  virtual std::string read(const std::wstring& file) = 0;
  // 8-bit text in `codePage` to UTF-16; bytes the code page lacks become
  // the code page's default character.
  virtual std::wstring decode(unsigned codePage, std::string_view bytes) = 0;
  // The system's ANSI code page: what 8-bit text means when nothing says otherwise.
  virtual unsigned ansiCodePage() = 0;
};

}  // namespace platform

#include <vector>

namespace platform {

// The files of a folder, as a file list shows them to the user.
class FileListing {
 public:
  virtual ~FileListing() = default;
  // Names (without folder) of the normal files in `folder` that match
  // `pattern` (such as "*.lng"), in the order the system lists them. An
  // empty or missing folder gives none.
  virtual std::vector<std::wstring> files(const std::wstring& folder,
                                          const std::wstring& pattern) = 0;
};

}  // namespace platform
