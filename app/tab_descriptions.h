#pragma once
// The four tabs as their folders describe them, in the order of the tab strip.
#include <span>

#include "tasks/task_columns.h"
#include "ui/commands.h"
#include "ui/list_column.h"
#include "ui/tab_description.h"

namespace dravik {

std::span<const TabDescription> TabDescriptions();
const TabDescription& DescriptionOf(Tab tab);
inline std::span<const ListColumn> ListColumns(Tab tab) { return DescriptionOf(tab).columns; }

}  // namespace dravik
