#pragma once
// Profile files for the native tests: real files on disk, decoded with iconv.
#include "platform/profile_files.h"

namespace fakes {

class FakeProfileFiles final : public platform::ProfileFiles {
 public:
  std::string read(const std::wstring& file) override;
  std::wstring decode(unsigned codePage, std::string_view bytes) override;
  unsigned ansiCodePage() override { return ansi; }

  unsigned ansi = 1252;
};

// Test files: a path in the wide form the program passes around.
inline std::wstring WidePath(const std::string& path) { return std::wstring(path.begin(), path.end()); }

}  // namespace fakes
