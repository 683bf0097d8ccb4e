#pragma once
// Processes and the system they run on: version, system folder, files, and
// the process calls that ending a task and naming its file need.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

namespace platform {

// What ending a process, naming its file and recognising a 16-bit task need.
// Every process handle is opened and closed inside the one call.
class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  enum class WaitResult { Ended, StillRunning, NotOpened };
  // Opens the process for waiting and waits at most `timeoutMs`.
  virtual WaitResult waitForEnd(std::uint32_t processId, unsigned timeoutMs) = 0;
  // Opens the process for termination; nothing when it cannot be opened,
  // otherwise whether TerminateProcess (exit code 0) succeeded.
  virtual std::optional<bool> terminate(std::uint32_t processId) = 0;
  // The image file name in device form (\Device\HarddiskVolume1\...) as read
  // into a buffer of 260 characters, NULs and all; nothing when the process
  // cannot be opened for reading or the call fails.
  virtual std::optional<std::wstring> imageFileName(std::uint32_t processId) = 0;
  // GetLogicalDriveStrings: the whole buffer, roots separated by NULs; "" on failure.
  virtual std::wstring logicalDriveStrings() = 0;
  // QueryDosDevice of a drive ("C:") into a buffer of 260 characters: the
  // count it returned (0 on failure) and the buffer.
  struct DosDeviceResult {
    std::uint32_t count = 0;
    std::wstring buffer;
  };
  virtual DosDeviceResult queryDosDevice(const std::wstring& drive) = 0;
  // The process ids of the 16-bit Windows virtual machines; empty where the
  // system runs no 16-bit subsystem (64-bit Windows, Wine).
  virtual std::vector<std::uint32_t> wowMachines() = 0;
  // The base name of the process's first module (its executable); "" when
  // it cannot be opened or read.
  virtual std::wstring firstModuleName(std::uint32_t processId) = 0;
};

}  // namespace platform
