#pragma once
// What the Processes tab (and the Network tab) do to a process: end it, show
// its file's properties, set its priority.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "localization/message_texts.h"
#include "platform/processes.h"
#include "platform/shell.h"
#include "platform/window_manager.h"

namespace dravik {

// Ends a process by id; true when the system accepted the termination.
bool KillProcessByIdNT(platform::ProcessControl& processes, std::uint32_t processId);

// Opens the shell's properties sheet of a file; whether it opened is not reported.
void ShowFileProperties(platform::ShellFiles& shell, const std::wstring& path);

// Sets the priority class of a process (of the one that owns `window` when
// `processId` is 0) and returns the class it has afterwards, 0 when it could
// not be opened.
std::uint32_t SetProcessPriority(platform::ProcessControl& processes, std::uint32_t processId,
                                 std::uintptr_t window, std::uint32_t priorityClass);

// The cells of the selected row that the commands read.
struct SelectedProcess {
  std::wstring name;  // row text
  std::wstring id;    // column 2, decimal
  std::wstring path;  // column 4
};

// Which answers to the confirmation end the process.
enum class EndOn { Yes, AnythingButNo };

// What the process commands need around them.
struct ProcessActionContext {
  const MessageTexts& messages;
  platform::UserInterface& ui;
  platform::ProcessControl& processes;
  platform::ShellFiles& shell;
  // Rebuilds the list after a termination; empty where a watch of its own
  // notices the process going.
  std::function<void()> refreshList;
  EndOn endOn = EndOn::Yes;
};

// Asks before ending the selected process; on the answer `endOn` names ends
// it, then rebuilds the list and lets waiting messages through. No selection:
// nothing happens.
void TerminateSelectedProcess(const std::optional<SelectedProcess>& selected,
                              ProcessActionContext& context);

// The properties sheet of the selected process's file, or the "path not
// found" message when the row has no path. No selection: nothing happens.
void ShowSelectedFileProperties(const std::optional<SelectedProcess>& selected,
                                ProcessActionContext& context);

}  // namespace dravik
