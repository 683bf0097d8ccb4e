#pragma once
// Profile files for the native tests: real files on disk, read with the
// program's own portable profile reader, decoded with iconv.
#include "platform/profile_files.h"

namespace fakes {

class FakeProfileFiles final : public platform::ProfileFiles {
 public:
  std::string getString(std::string_view section, std::string_view key, std::string_view fallback,
                        std::size_t bufferSize, const std::wstring& file) override;
  // No test writes a language file.
  bool writeString(std::string_view, std::string_view, std::string_view, const std::wstring&) override { return false; }
  std::wstring decode(unsigned codePage, std::string_view bytes) override;
  unsigned ansiCodePage() override { return ansi; }

  unsigned ansi = 1252;
  int reads = 0;
};

// Test files: a path in the wide form the program passes around.
inline std::wstring WidePath(const std::string& path) { return std::wstring(path.begin(), path.end()); }

}  // namespace fakes
