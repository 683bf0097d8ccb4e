#include "services/service_commands.h"

#include "services/nt_service_control.h"

namespace dravik {

std::wstring ServiceQuestion(const MessageTexts& messages, MessageText warning, MessageText question,
                             const std::wstring& name) {
  return messages[warning] + L"\r\n\r\n" + messages[MessageText::Name] + L": " + name + L"\r\n" +
         messages[question];
}

namespace {

using Operation = long (*)(platform::ServiceControl&, const std::wstring&);

struct ServiceCommandDef {
  Command command;
  // The warning and the question; Count when the command asks nothing.
  MessageText warning;
  MessageText question;
  Operation operation;      // null for the start types
  std::uint32_t startType;  // for the start types
  int waitSeconds;
};

constexpr MessageText kNone = MessageText::Count;

constexpr ServiceCommandDef kCommands[] = {
    {Command::StartService, kNone, kNone, &StartNTService, 0, 2},
    {Command::StopService, MessageText::Stopping, MessageText::StopService, &StopNTService, 0, 2},
    {Command::PauseService, MessageText::Pausing, MessageText::PauseService, &PauseNTService, 0, 2},
    {Command::ResumeService, kNone, kNone, &ContinueNTService, 0, 2},
    {Command::DeleteService, MessageText::Deleting, MessageText::DELETEService, &DeleteNTService, 0, 2},
    {Command::StartupBoot, kNone, kNone, nullptr, 0, 1},
    {Command::StartupSystem, kNone, kNone, nullptr, 1, 1},
    {Command::StartupAutomatic, kNone, kNone, nullptr, 2, 1},
    {Command::StartupManual, kNone, kNone, nullptr, 3, 1},
    {Command::StartupDisabled, kNone, kNone, nullptr, 4, 1},
};

}  // namespace

bool RunServiceCommand(Command command, const std::optional<std::wstring>& selectedName,
                       ServiceCommandContext& context) {
  const ServiceCommandDef* def = nullptr;
  for (const ServiceCommandDef& candidate : kCommands) {
    if (candidate.command == command) def = &candidate;
  }
  if (!def) return false;
  if (!def->operation && !selectedName) return true;
  const std::wstring name = selectedName.value_or(L"");

  if (def->warning != kNone) {
    const int answer = context.ui.messageBox(
        ServiceQuestion(context.messages, def->warning, def->question, name),
        context.messages[MessageText::Warning], platform::mb::kExclamationYesNo);
    if (answer != platform::mb::kAnswerYes) return true;
  }

  const long result =
      def->operation ? def->operation(context.scm, name)
                     : SetServiceStartType(context.scm, name, platform::scm::kNoChange, def->startType,
                                           platform::scm::kNoChange, nullptr);
  if (result != 0) {
    context.ui.messageBox(context.messages[MessageText::Name] + L": " + name + L"\r\n" +
                              ServiceErrorText(context.scm, result),
                          context.language.text(text_key::kServiceErrorTitle), platform::mb::kStopOk);
  }
  context.rebuildAfter(def->waitSeconds);
  return true;
}

}  // namespace dravik
