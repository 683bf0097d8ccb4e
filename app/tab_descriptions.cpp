#include "app/tab_descriptions.h"

#include "network/network_tab_description.h"
#include "processes/processes_tab_description.h"
#include "services/services_tab_description.h"
#include "tasks/tasks_tab_description.h"

namespace dravik {

namespace {
constexpr TabDescription kDescriptions[] = {kTasksTabDescription, kProcessesTabDescription,
                                            kServicesTabDescription, kNetworkTabDescription};
}  // namespace

std::span<const TabDescription> TabDescriptions() { return kDescriptions; }

const TabDescription& DescriptionOf(Tab tab) { return kDescriptions[TabIndex(tab)]; }

}  // namespace dravik
