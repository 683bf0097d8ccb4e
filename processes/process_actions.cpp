#include "processes/process_actions.h"

#include "processes/process_list.h"

namespace dravik {

bool KillProcessByIdNT(platform::ProcessControl& processes, std::uint32_t processId) {
  return processes.terminate(processId).value_or(false);
}

void ShowFileProperties(platform::ShellFiles& shell, const std::wstring& path) {
  shell.showProperties(path);
}

std::uint32_t SetProcessPriority(platform::ProcessControl& processes, std::uint32_t processId,
                                 std::uintptr_t window, std::uint32_t priorityClass) {
  if (processId == 0) processId = processes.windowProcessId(window);
  // A window that is gone names no process; pid 0 must not be taken for one.
  if (processId == 0) return 0;
  return processes.setPriorityClass(processId, priorityClass);
}

namespace {

// "Process: name (PID: id)" in the current language.
std::wstring TerminateTitle(const MessageTexts& messages, const SelectedProcess& process) {
  return messages[MessageText::Process] + L": " + process.name + L" (" +
         messages[MessageText::PID] + L": " + process.id + L")";
}

}  // namespace

void TerminateSelectedProcess(const std::optional<SelectedProcess>& selected,
                              ProcessActionContext& context) {
  if (!selected) return;
  const int answer = context.ui.messageBox(context.messages[MessageText::AreYouSureProcess],
                                           TerminateTitle(context.messages, *selected),
                                           platform::mb::kExclamationYesNo);
  const bool end = context.endOn == EndOn::Yes ? answer == platform::mb::kAnswerYes
                                               : answer != platform::mb::kAnswerNo;
  if (!end) return;
  // A row whose id is not a number names no process to end; the refresh
  // still shows what runs now.
  if (const auto id = ParseProcessId(selected->id)) KillProcessByIdNT(context.processes, *id);
  if (!context.refreshList) return;
  context.refreshList();
  context.ui.pumpMessages();
}

void ShowSelectedFileProperties(const std::optional<SelectedProcess>& selected,
                                ProcessActionContext& context) {
  if (!selected) return;
  if (selected->path.empty()) {
    context.ui.messageBox(context.messages[MessageText::ProcessNotFound],
                          context.messages[MessageText::Process] + L": " + selected->name,
                          platform::mb::kStopOk);
    return;
  }
  ShowFileProperties(context.shell, selected->path);
}

}  // namespace dravik
