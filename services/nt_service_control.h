#pragma once
// The program's only way to the service control manager. Nothing is kept
// between calls: each routine opens the manager and the one service it needs
// and closes both before it returns. The commands return 0 or the Win32 error
// code of the step that failed and never show anything; only the enumeration
// reports its own failures.
#include <cstdint>
#include <functional>
#include <string>

#include "localization/message_texts.h"
#include "localization/read_ini.h"
#include "platform/services.h"

namespace dravik {

// A service's configuration with the numbers as decimal text. When the query
// fails `errorCode` is set and every text is empty.
struct ServiceConfig {
  long errorCode = 0;
  std::wstring serviceStartName;
  std::wstring displayName;
  std::wstring dependencies;  // only the first dependency
  std::wstring errorControl;
  std::wstring tagId;
  std::wstring loadOrderGroup;
  std::wstring imagePath;
  std::wstring startType;
  std::wstring serviceType;
};

ServiceConfig GetServiceConfig(platform::ServiceControl& scm, const std::wstring& name);
// The current state, 0 when it cannot be read.
std::uint32_t GetServiceState(platform::ServiceControl& scm, const std::wstring& name);

// One listed service: its key name from the enumeration and its two queries.
using ServiceSink = std::function<void(const std::wstring& name, const ServiceConfig& config,
                                       std::uint32_t state)>;

// Lists the services of the type and state filters, in the manager's order.
// A failed opening or data call gives the text of its report, "API Call
// Failed ...", which the caller shows under the application's title; a failed
// size request ends the listing silently (""). The services passed on before
// a failure stay passed on.
std::wstring EnumNTServices(platform::ServiceControl& scm, std::uint32_t typeFilter, std::uint32_t stateFilter,
                            const ServiceSink& sink);

// The commands: 0 or the Win32 error code of the step that failed.
long StartNTService(platform::ServiceControl& scm, const std::wstring& name);
long StopNTService(platform::ServiceControl& scm, const std::wstring& name);
long PauseNTService(platform::ServiceControl& scm, const std::wstring& name);
long ContinueNTService(platform::ServiceControl& scm, const std::wstring& name);
// Sends stop first (whatever comes of it), then marks the service for deletion.
long DeleteNTService(platform::ServiceControl& scm, const std::wstring& name);
long SetServiceStartType(platform::ServiceControl& scm, const std::wstring& name,
                         std::uint32_t serviceType, std::uint32_t startType,
                         std::uint32_t errorControl, std::uint32_t* tagId);

// Display texts of the codes.
std::wstring ServiceErrorText(platform::ServiceControl& scm, long code);
std::wstring ServiceStateText(const Language& language, std::uint32_t state);
std::wstring StartTypeText(const MessageTexts& messages, const std::wstring& startType);
std::wstring ServiceTypeText(const std::wstring& serviceType);

// A code held as decimal text, read as a number; false for empty or other text.
bool ParseCode(const std::wstring& text, long long& value);

}  // namespace dravik
