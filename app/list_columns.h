#pragma once
// The columns of the four lists, as each tab's folder describes them.
#include <span>

#include "tasks/task_columns.h"
#include "ui/commands.h"
#include "ui/list_column.h"

namespace dravik {

std::span<const ListColumn> ListColumns(Tab tab);

}  // namespace dravik
