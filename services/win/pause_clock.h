#pragma once
// The wait's clock on Windows: the local time of day, and a sleep that ends
// as soon as a window message arrives.
#include "services/service_commands.h"

namespace dravik {

PauseClock SystemPauseClock();

}  // namespace dravik
