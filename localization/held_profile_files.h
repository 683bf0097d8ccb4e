#pragma once
// Language files kept in memory once read, for the rest of the run. The
// status texts are looked up every second and the main window's labels more
// than a hundred times at start; a file read costs system calls each time,
// a lookup in held bytes a few microseconds. A file changed while the program
// runs is seen at its next start, as a newly chosen language is.
#include <map>
#include <string>

#include "platform/profile_files.h"

namespace dravik {

class HeldProfileFiles final : public platform::ProfileFiles {
 public:
  explicit HeldProfileFiles(platform::ProfileFiles& files) : files_(files) {}
  // The bytes of `file` as its first read gave them; a file missing then
  // stays missing.
  std::string read(const std::wstring& file) override;
  std::wstring decode(unsigned codePage, std::string_view bytes) override {
    return files_.decode(codePage, bytes);
  }
  unsigned ansiCodePage() override { return files_.ansiCodePage(); }

 private:
  platform::ProfileFiles& files_;
  std::map<std::wstring, std::string> held_;
};

}  // namespace dravik
