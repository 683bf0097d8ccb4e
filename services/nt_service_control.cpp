#include "services/nt_service_control.h"

#include <cmath>
#include <cwctype>
#include <memory>
#include <vector>

namespace dravik {

namespace scm = platform::scm;

namespace {

// Opens the manager with SC_MANAGER_CONNECT and `name` with `access`, runs
// `request` on the service and closes the service, then the manager. The
// result is the error of the opening that failed, or the request's own.
long WithService(platform::ServiceControl& control, const std::wstring& name, std::uint32_t access,
                 const std::function<long(platform::Service&)>& request) {
  long error = 0;
  std::unique_ptr<platform::ServiceManager> manager = control.openManager(scm::kManagerConnect, error);
  if (!manager) return error;
  std::unique_ptr<platform::Service> service = manager->openService(name, access, error);
  if (!service) return error;
  const long result = request(*service);
  service.reset();  // the service's handle goes before the manager's
  return result;
}

std::wstring Decimal(std::uint32_t value) { return std::to_wstring(value); }

std::wstring FirstEntry(const std::wstring& list) { return list.substr(0, list.find(L'\0')); }

// The configuration query's buffer: whole 36-byte blocks, always more than
// `bytesNeeded` (bytesNeeded / 36 + 1 blocks; nearbyint rounds half to even).
std::uint32_t ConfigBufferBytes(std::uint32_t bytesNeeded) {
  const double blocks = std::nearbyint(static_cast<double>(bytesNeeded) / 36.0 + 1.0);
  return static_cast<std::uint32_t>(blocks) * 36u;
}

}  // namespace

ServiceConfig GetServiceConfig(platform::ServiceControl& control, const std::wstring& name) {
  ServiceConfig config;
  platform::ServiceConfigData data;
  bool filled = false;
  config.errorCode = WithService(control, name, scm::kQueryConfig, [&](platform::Service& service) {
    std::uint32_t needed = 0;
    const long sizeResult = service.queryConfig(0, needed, data);
    if (sizeResult != scm::kErrorInsufficientBuffer) return sizeResult;
    const long result = service.queryConfig(ConfigBufferBytes(needed), needed, data);
    filled = result == 0;
    return result;
  });
  if (!filled) return config;
  config.serviceStartName = data.serviceStartName;
  config.displayName = data.displayName;
  config.dependencies = FirstEntry(data.dependencies);
  config.errorControl = Decimal(data.errorControl);
  config.tagId = Decimal(data.tagId);
  config.loadOrderGroup = data.loadOrderGroup;
  config.imagePath = data.imagePath;
  config.startType = Decimal(data.startType);
  config.serviceType = Decimal(data.serviceType);
  return config;
}

std::uint32_t GetServiceState(platform::ServiceControl& control, const std::wstring& name) {
  std::uint32_t state = 0;
  const long error = WithService(control, name, scm::kQueryStatus, [&](platform::Service& service) {
    return service.queryStatus(state);
  });
  return error == 0 ? state : 0;
}

std::wstring EnumNTServices(platform::ServiceControl& control, std::uint32_t typeFilter, std::uint32_t stateFilter,
                            const ServiceSink& sink) {
  std::wstring failure;
  long error = 0;
  std::unique_ptr<platform::ServiceManager> manager = control.openManager(scm::kGenericRead, error);
  if (!manager) {
    failure = L"OpenSCManager Failed";
  } else {
    std::uint32_t resume = 0;
    for (;;) {
      std::uint32_t needed = 0;
      std::vector<std::wstring> names;
      std::uint32_t sizeResume = resume;
      const long sizeResult = manager->enumerate(typeFilter, stateFilter, 0, needed, sizeResume, names);
      if (sizeResult != scm::kErrorMoreData && sizeResult != scm::kErrorInsufficientBuffer) break;

      const std::uint32_t resumeBefore = resume;
      names.clear();
      const long result = manager->enumerate(typeFilter, stateFilter, needed, needed, resume, names);
      if (result != 0 && result != scm::kErrorMoreData) {
        failure = L"EnumServices Failure";
        break;
      }
      if (names.empty()) break;
      for (const std::wstring& name : names) {
        sink(name, GetServiceConfig(control, name), GetServiceState(control, name));
      }
      // A manager that says "more" without moving the resume handle would hand
      // out the same entries for ever (Wine ignores the handle).
      if (result != scm::kErrorMoreData || resume == resumeBefore) break;
    }
  }
  return failure.empty() ? failure : L"API Call Failed " + failure;
}

long StartNTService(platform::ServiceControl& control, const std::wstring& name) {
  return WithService(control, name, scm::kStart, [](platform::Service& s) { return s.start(); });
}

long StopNTService(platform::ServiceControl& control, const std::wstring& name) {
  return WithService(control, name, scm::kStop,
                     [](platform::Service& s) { return s.control(scm::kControlStop); });
}

long PauseNTService(platform::ServiceControl& control, const std::wstring& name) {
  return WithService(control, name, scm::kPauseContinue,
                     [](platform::Service& s) { return s.control(scm::kControlPause); });
}

long ContinueNTService(platform::ServiceControl& control, const std::wstring& name) {
  return WithService(control, name, scm::kPauseContinue,
                     [](platform::Service& s) { return s.control(scm::kControlContinue); });
}

long DeleteNTService(platform::ServiceControl& control, const std::wstring& name) {
  return WithService(control, name, scm::kAllAccess, [](platform::Service& s) {
    // A service that refuses to stop is still marked for deletion.
    s.control(scm::kControlStop);
    return s.remove();
  });
}

long SetServiceStartType(platform::ServiceControl& control, const std::wstring& name,
                         std::uint32_t serviceType, std::uint32_t startType,
                         std::uint32_t errorControl, std::uint32_t* tagId) {
  return WithService(control, name, scm::kChangeConfig, [&](platform::Service& s) {
    return s.changeConfig(serviceType, startType, errorControl, tagId);
  });
}

std::wstring ServiceErrorText(platform::ServiceControl& control, long code) {
  if (code == 0) return L"NO_ERROR";
  if (code == scm::kErrorDatabaseLocked) return L"ERROR_DATABASE_LOCKED";
  std::wstring text = control.systemMessage(code);
  if (text.empty()) return L"UNKNOWN_ERROR " + std::to_wstring(code);
  return text;
}

std::wstring ServiceStateText(const Language& language, std::uint32_t state) {
  // By the state's number, 1 to 7.
  static constexpr TextKey kKeys[] = {text_key::kServiceStopped,  text_key::kServiceStarting,
                                      text_key::kServiceStopping, text_key::kRunning,
                                      text_key::kServiceResuming, text_key::kServicePausing,
                                      text_key::kServicePaused};
  if (state >= 1 && state <= 7) return language.text(kKeys[state - 1]);
  return L"Unknown";
}

bool ParseCode(const std::wstring& text, long long& value) {
  std::size_t i = 0;
  while (i < text.size() && std::iswspace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  const std::size_t digitsFrom = i;
  long long result = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    if (result > 1'000'000'000'000LL) return false;  // far beyond any code
    result = result * 10 + (text[i] - L'0');
  }
  if (i == digitsFrom) return false;
  while (i < text.size() && std::iswspace(text[i])) ++i;
  if (i != text.size()) return false;
  value = negative ? -result : result;
  return true;
}

std::wstring StartTypeText(const MessageTexts& messages, const std::wstring& startType) {
  static constexpr MessageText kLabels[] = {MessageText::Boot, MessageText::System,
                                            MessageText::Automatic, MessageText::Manual,
                                            MessageText::Disabled};
  long long code = 0;
  if (ParseCode(startType, code) && code >= 0 && code <= 4) return messages[kLabels[code]];
  return L"Unknown";
}

std::wstring ServiceTypeText(const std::wstring& serviceType) {
  static constexpr struct {
    long long code;
    const wchar_t* text;
  } kTypes[] = {
      {0x1, L"Kernel Mode Driver"}, {0x2, L"File System Driver"},
      {0x4, L"Adapter"},            {0x8, L"Driver Service"},
      {0x10, L"Own Process"},       {0x20, L"Shared Process"},
      {0x110, L"Own Process (Interactive)"}, {0x120, L"Shared Process (Interactive)"},
  };
  long long code = 0;
  if (ParseCode(serviceType, code)) {
    for (const auto& type : kTypes) {
      if (type.code == code) return type.text;
    }
  }
  return L"Unknown";
}

}  // namespace dravik
