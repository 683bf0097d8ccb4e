#pragma once
// The service control manager as the service library sees it: the manager
// and its services as owned handles, and each request as one call that
// returns 0 or the Win32 error code instead of a flag plus a last-error value.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Win32 values of the service control manager, under names of their own so
// that this header can sit beside <winsvc.h> without clashes.
namespace scm {
// Access rights on the manager.
constexpr std::uint32_t kManagerConnect = 0x0001;
constexpr std::uint32_t kGenericRead = 0x80000000u;
// Access rights on a service.
constexpr std::uint32_t kQueryConfig = 0x0001;
constexpr std::uint32_t kChangeConfig = 0x0002;
constexpr std::uint32_t kQueryStatus = 0x0004;
constexpr std::uint32_t kStart = 0x0010;
constexpr std::uint32_t kStop = 0x0020;
constexpr std::uint32_t kPauseContinue = 0x0040;
constexpr std::uint32_t kAllAccess = 0xF01FF;
// Control codes.
constexpr std::uint32_t kControlStop = 1;
constexpr std::uint32_t kControlPause = 2;
constexpr std::uint32_t kControlContinue = 3;
// Enumeration filters.
constexpr std::uint32_t kTypeDrivers = 0x0B;        // kernel 1 + file system 2 + recognizer 8
constexpr std::uint32_t kTypeWin32 = 0x30;          // own process 16 + shared process 32
constexpr std::uint32_t kStateAll = 3;              // active and inactive
// "Leave this setting as it is" for ChangeServiceConfig.
constexpr std::uint32_t kNoChange = 0xFFFFFFFFu;
// Current states.
constexpr std::uint32_t kStopped = 1;
constexpr std::uint32_t kRunning = 4;
constexpr std::uint32_t kPaused = 7;
// Error codes the library looks at.
constexpr long kErrorInsufficientBuffer = 122;
constexpr long kErrorMoreData = 234;
constexpr long kErrorDatabaseLocked = 1055;
}  // namespace scm

// A service's configuration as the manager keeps it.
struct ServiceConfigData {
  std::uint32_t serviceType = 0;
  std::uint32_t startType = 0;
  std::uint32_t errorControl = 0;
  std::uint32_t tagId = 0;
  std::wstring imagePath;
  std::wstring loadOrderGroup;
  // The whole dependency list: names separated by NUL characters.
  std::wstring dependencies;
  std::wstring serviceStartName;
  std::wstring displayName;
};

// An open service; its handle is closed when the object goes.
class Service {
 public:
  virtual ~Service() = default;
  // Reads the configuration into a buffer of `bufferBytes` bytes. 0 fills
  // `config`; 122 (buffer too small, also for a size of 0) sets `bytesNeeded`;
  // any other code leaves both untouched.
  virtual long queryConfig(std::uint32_t bufferBytes, std::uint32_t& bytesNeeded,
                           ServiceConfigData& config) = 0;
  // The current state (1 stopped ... 7 paused); `state` untouched on failure.
  virtual long queryStatus(std::uint32_t& state) = 0;
  // Starts the service without arguments.
  virtual long start() = 0;
  // Sends a control code; the status it returns is not needed.
  virtual long control(std::uint32_t code) = 0;
  // Marks the service for deletion.
  virtual long remove() = 0;
  // Changes the configuration; kNoChange keeps a value, a null tag keeps the tag.
  // Image path, group, dependencies, account, password and display name stay.
  virtual long changeConfig(std::uint32_t serviceType, std::uint32_t startType,
                            std::uint32_t errorControl, std::uint32_t* tagId) = 0;
};

// An open service control manager; its handle is closed when the object goes.
class ServiceManager {
 public:
  virtual ~ServiceManager() = default;
  // Opens one service by its key name; null and the error code when it fails.
  virtual std::unique_ptr<Service> openService(const std::wstring& name, std::uint32_t access,
                                               long& error) = 0;
  // One call of the enumeration with process information, into a buffer of
  // `bufferBytes` bytes (0: no buffer), going on from `resumeHandle`.
  // Returns 0 when the last entries came back, 234 when more remain, or
  // another error code. On 0 and 234 `names` gets the key names returned (in
  // the manager's order); on 234 and 122 `bytesNeeded` is set, and the
  // manager may move `resumeHandle` past the entries it returned.
  virtual long enumerate(std::uint32_t typeFilter, std::uint32_t stateFilter,
                         std::uint32_t bufferBytes, std::uint32_t& bytesNeeded,
                         std::uint32_t& resumeHandle, std::vector<std::wstring>& names) = 0;
};

class ServiceControl {
 public:
  virtual ~ServiceControl() = default;
  // Opens the local machine's active manager database; null and the error code when it fails.
  virtual std::unique_ptr<ServiceManager> openManager(std::uint32_t access, long& error) = 0;
  // The system's text for an error code, from a 256-character buffer, line
  // break included; empty when the system has no text for it.
  virtual std::wstring systemMessage(long code) = 0;
};

}  // namespace platform
