#pragma once
// What the Services list shows: the type filter of the View check marks, and
// one row per service with its eight columns and its state picture.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "localization/message_texts.h"
#include "localization/read_ini.h"
#include "services/nt_service_control.h"

namespace dravik {

// The service-type filter of the two View check marks; 0 when neither is
// checked, which makes the manager refuse the listing, so the list stays empty.
std::uint32_t ServiceTypeFilter(bool winServices, bool driverServices);

// The row pictures, as positions in the list's image list (1-based).
enum class ServicePicture { Running = 1, Disabled = 2, Paused = 3, Other = 4 };

enum ServiceColumn {
  kColumnDisplayName,
  kColumnName,
  kColumnState,
  kColumnStartupType,
  kColumnPath,
  kColumnServiceType,
  kColumnLogOnAs,
  kColumnGroup,
  kServiceColumnCount
};

struct ServiceRow {
  std::array<std::wstring, kServiceColumnCount> columns;
  ServicePicture picture = ServicePicture::Other;
};

// Image paths of drivers often come in the kernel's "\??\C:\..." form.
std::wstring WithoutDevicePrefix(const std::wstring& path);

// Chosen by comparing the shown texts with the named texts, exactly: a
// disabled service shows red whatever its state.
ServicePicture RowPicture(const MessageTexts& messages, const std::wstring& stateText,
                          const std::wstring& startTypeText);

// The state texts of one rebuild. Each is looked up in the language file the
// first time a row shows it rather than once per row: a file lookup costs
// more than all the other work of a row together.
class StateTexts {
 public:
  explicit StateTexts(const Language& language) : language_(language) {}
  const std::wstring& operator()(std::uint32_t state);

 private:
  const Language& language_;
  std::array<std::optional<std::wstring>, 8> texts_;  // by state; 0 for any unknown state
};

ServiceRow MakeServiceRow(StateTexts& stateTexts, const MessageTexts& messages,
                          const std::wstring& name, const ServiceConfig& config, std::uint32_t state);

// One listing, read away from the window: each service with its two
// queries, and the report of a failed enumeration ("" when none).
struct ListedService {
  std::wstring name;
  ServiceConfig config;
  std::uint32_t state = 0;
};
struct ServiceListing {
  std::vector<ListedService> services;
  std::wstring failure;
};
ServiceListing ReadServiceListing(platform::ServiceControl& scm, std::uint32_t typeFilter);

// The start type (0 boot ... 4 disabled) whose named text equals the row's
// Startup Type text, checked in that order; -1 when none does ("Unknown").
int StartTypeOfText(const MessageTexts& messages, const std::wstring& startTypeText);

}  // namespace dravik
