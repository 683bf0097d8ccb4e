#pragma once
// The Services tab's commands on the selected service, from the question to
// the rebuild, and the message-pumping wait between them.
#include <functional>
#include <optional>
#include <string>

#include "ui/commands.h"
#include "localization/message_texts.h"
#include "localization/read_ini.h"
#include "platform/services.h"
#include "platform/window_manager.h"

namespace dravik {

// How a wait learns the time and lets the window breathe.
struct PauseClock {
  // Seconds since midnight, with the fraction.
  std::function<double()> secondsOfDay;
  // Waits at most `milliseconds` for a window message to arrive (or not at all).
  std::function<void(int milliseconds)> idle;
};

// Waits `seconds` while handling the program's window messages, so the window
// stays usable. A wait that passes midnight ends there.
void Pause(platform::UserInterface& ui, const PauseClock& clock, int seconds);

struct ServiceCommandContext {
  platform::ServiceControl& scm;
  platform::UserInterface& ui;
  const Language& language;
  const MessageTexts& messages;
  std::function<void(int seconds)> pause;
  std::function<void()> rebuild;
};

// The question asked before Stop, Pause and Delete.
std::wstring ServiceQuestion(const MessageTexts& messages, MessageText warning, MessageText question,
                             const std::wstring& name);

// Carries out one of the service commands on the service named in the selected
// row (nullopt: no row selected). Without a row, Start, Stop, Pause, Resume and
// Delete go ahead with an empty name and report the manager's error; the start
// types do nothing. False when `command` is not a service command.
bool RunServiceCommand(Command command, const std::optional<std::wstring>& selectedName,
                       ServiceCommandContext& context);

}  // namespace dravik
