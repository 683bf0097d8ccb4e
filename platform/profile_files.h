#pragma once
// Profile (INI) files, read as the 8-bit text they are written in, and the
// code-page conversion that turns that text into the program's UTF-16.
#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;
  // The value of `key` in `section`, by the system's profile rules, as stored
  // bytes cut to fit `bufferSize` bytes with the terminating NUL. A missing
  // file, section or key gives `fallback` (also cut to fit).
  virtual std::string getString(std::string_view section, std::string_view key,
                                std::string_view fallback, std::size_t bufferSize,
                                const std::wstring& file) = 0;
  // Writes one value, creating the file or section when needed.
  virtual bool writeString(std::string_view section, std::string_view key,
                           std::string_view value, const std::wstring& file) = 0;
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
