#pragma once
// The Services tab's commands on the selected service, from the question to
// the rebuild that follows each after a wait.
#include <functional>
#include <optional>
#include <string>

#include "ui/commands.h"
#include "localization/message_texts.h"
#include "localization/read_ini.h"
#include "platform/services.h"
#include "platform/window_manager.h"

namespace dravik {

struct ServiceCommandContext {
  platform::ServiceControl& scm;
  platform::UserInterface& ui;
  const Language& language;
  const MessageTexts& messages;
  // Rebuilds the list once `seconds` have passed; returns at once.
  std::function<void(int seconds)> rebuildAfter;
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
