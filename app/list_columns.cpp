#include "app/list_columns.h"

#include "network/network_columns.h"
#include "processes/process_columns.h"
#include "services/service_columns.h"

namespace dravik {

std::span<const ListColumn> ListColumns(Tab tab) {
  switch (tab) {
    case Tab::Tasks: return kTaskColumns;
    case Tab::Processes: return kProcessListColumns;
    case Tab::Services: return kServiceColumns;
    case Tab::Network: return kNetworkColumns;
  }
  return {};
}

}  // namespace dravik
