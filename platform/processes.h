#pragma once
// Processes and the system they run on: version, system folder, files.
#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct OsVersion {
  std::uint32_t platformId = 0;  // 1 = Windows 9x family, 2 = NT family
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
};

// What GetSystemDirectory hands back: the count it returned and the buffer.
struct SystemDirectoryResult {
  std::uint32_t length = 0;  // characters copied, or the size needed when too small
  std::wstring buffer;       // the whole buffer, NULs included
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // The version the system reports to this program (the manifest decides how
  // newer systems present themselves); nothing when the query fails.
  virtual std::optional<OsVersion> version() = 0;
  // Asks for the system folder with a buffer of `bufferChars` characters.
  virtual SystemDirectoryResult systemDirectory(std::uint32_t bufferChars) = 0;
  // The folder of the running program's file, without a trailing backslash.
  virtual std::wstring programFolder() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True when a directory search for normal files finds `path`
  // (hidden, system files and folders are not found).
  virtual bool findNormalFile(const std::wstring& path) = 0;
  // Copies a file, replacing the target; false when it could not.
  virtual bool copyFile(const std::wstring& from, const std::wstring& to) = 0;
};

}  // namespace platform
