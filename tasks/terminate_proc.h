#pragma once
// Ending a process politely, then by force, and recognising the processes
// that host 16-bit Windows and DOS programs (which must not be ended so).
#include <cstdint>

#include "platform/processes.h"
#include "platform/window_manager.h"

namespace dravik {

bool IsWowTask(platform::ProcessControl& processes, std::uint32_t processId);
// A DOS task: its executable is the DOS virtual machine and it is no 16-bit Windows host.
bool IsDosTask(platform::ProcessControl& processes, std::uint32_t processId);

// Posts a close request to every unowned top-level window of the process and
// gives it `delayMs` to end; if it has not, ends it by force. True when it ended.
bool EndProcessWindows(platform::TaskWindows& windows, platform::ProcessControl& processes,
                       std::uint32_t processId, unsigned delayMs);
// True when the process ended within the time-out or cannot be opened any more.
bool WaitProcessEnd(platform::ProcessControl& processes, std::uint32_t processId,
                    unsigned timeoutMs);

}  // namespace dravik
