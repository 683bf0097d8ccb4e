#include "services/service_list.h"

namespace dravik {

std::uint32_t ServiceTypeFilter(bool winServices, bool driverServices) {
  return (winServices ? platform::scm::kTypeWin32 : 0u) |
         (driverServices ? platform::scm::kTypeDrivers : 0u);
}

std::wstring WithoutDevicePrefix(const std::wstring& path) {
  return path.compare(0, 4, L"\\??\\") == 0 ? path.substr(4) : path;
}

ServicePicture RowPicture(const MessageTexts& messages, const std::wstring& stateText,
                          const std::wstring& startTypeText) {
  if (startTypeText == messages[MessageText::Disabled]) return ServicePicture::Disabled;
  if (stateText == messages[MessageText::Paused]) return ServicePicture::Paused;
  if (stateText == messages[MessageText::Running]) return ServicePicture::Running;
  return ServicePicture::Other;
}

const std::wstring& StateTexts::operator()(std::uint32_t state) {
  std::optional<std::wstring>& text = texts_[state < texts_.size() ? state : 0];
  if (!text) text = ServiceStateText(language_, state);
  return *text;
}

ServiceRow MakeServiceRow(StateTexts& stateTexts, const MessageTexts& messages,
                          const std::wstring& name, const ServiceConfig& config, std::uint32_t state) {
  ServiceRow row;
  row.columns[kColumnDisplayName] = config.displayName;
  row.columns[kColumnName] = name;
  row.columns[kColumnState] = stateTexts(state);
  row.columns[kColumnStartupType] = StartTypeText(messages, config.startType);
  row.columns[kColumnPath] = WithoutDevicePrefix(config.imagePath);
  row.columns[kColumnServiceType] = ServiceTypeText(config.serviceType);
  row.columns[kColumnLogOnAs] = config.serviceStartName;
  row.columns[kColumnGroup] = config.loadOrderGroup;
  row.picture = RowPicture(messages, row.columns[kColumnState], row.columns[kColumnStartupType]);
  return row;
}

ServiceListing ReadServiceListing(platform::ServiceControl& scm, std::uint32_t typeFilter) {
  ServiceListing listing;
  listing.failure = EnumNTServices(scm, typeFilter, platform::scm::kStateAll,
                                   [&](const std::wstring& name, const ServiceConfig& config, std::uint32_t state) {
                                     listing.services.push_back({name, config, state});
                                   });
  return listing;
}

int StartTypeOfText(const MessageTexts& messages, const std::wstring& startTypeText) {
  static constexpr MessageText kLabels[] = {MessageText::Boot, MessageText::System,
                                            MessageText::Automatic, MessageText::Manual,
                                            MessageText::Disabled};
  for (int i = 0; i < 5; ++i) {
    if (startTypeText == messages[kLabels[i]]) return i;
  }
  return -1;
}

}  // namespace dravik
