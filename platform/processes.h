#pragma once
// Processes and the system they run on: version, system folder, files, and
// the process calls that ending a task and naming its file need.
#include <cstdint>
#include <functional>
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

// One property value of a management-instrumentation object, as the
// instrumentation hands it over: 64-bit figures come as text, 32-bit ones as
// numbers, a property without a value as Null or Empty.
struct PropertyValue {
  enum class Kind { Empty, Null, Text, Signed, Unsigned, Boolean };
  Kind kind = Kind::Empty;
  std::wstring text;             // Kind::Text
  std::int64_t signedNumber = 0;     // Kind::Signed
  std::uint64_t unsignedNumber = 0;  // Kind::Unsigned
  bool boolean = false;              // Kind::Boolean

  static PropertyValue Text(std::wstring value) {
    PropertyValue v;
    v.kind = Kind::Text;
    v.text = std::move(value);
    return v;
  }
  static PropertyValue Signed(std::int64_t value) {
    PropertyValue v;
    v.kind = Kind::Signed;
    v.signedNumber = value;
    return v;
  }
  static PropertyValue Unsigned(std::uint64_t value) {
    PropertyValue v;
    v.kind = Kind::Unsigned;
    v.unsignedNumber = value;
    return v;
  }
  static PropertyValue Null() {
    PropertyValue v;
    v.kind = Kind::Null;
    return v;
  }
};

// A query over the local management instrumentation ("root\cimv2").
class ProcessQuery {
 public:
  virtual ~ProcessQuery() = default;
  // Runs `wql` forward-only and calls `visit` once per object as it arrives,
  // with the values of `properties` in their order; a property that is missing
  // or cannot be read comes as Empty. False when the instrumentation could not
  // be reached or the query failed before the first object; a later call tries
  // again from the start.
  virtual bool forEachObject(const std::wstring& wql, const std::vector<std::wstring>& properties,
                             const std::function<void(const std::vector<PropertyValue>&)>& visit) = 0;
};


// Ending processes, changing their priority, naming their files and
// recognising a 16-bit task. Every process handle is opened and closed inside
// the one call.
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
  // The process that owns a window; 0 when the window is gone.
  virtual std::uint32_t windowProcessId(std::uintptr_t window) = 0;
  // Sets the priority class when the process opens with the rights to set it
  // (otherwise opens it only to read), then returns the class read back; 0 when
  // the process cannot be opened at all.
  virtual std::uint32_t setPriorityClass(std::uint32_t processId, std::uint32_t priorityClass) = 0;
};

}  // namespace platform
