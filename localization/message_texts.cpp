#include "localization/message_texts.h"

namespace dravik {

const std::array<MessageTextKey, kMessageTextCount>& MessageTextKeys() {
  using enum MessageText;
  static const std::array<MessageTextKey, kMessageTextCount> keys{{
      {Boot, "Main", "20", L"Boot"},
      {System, "Main", "21", L"System"},
      {Automatic, "Main", "22", L"Automatic"},
      {Manual, "Main", "23", L"Manual"},
      {Disabled, "Main", "24", L"Disabled"},
      {Warning, "Main", "92", L"Warning!"},
      {Ending, "Main", "108", L"Ending this task may cause your Windows to crash or restart!"},
      {AreYouSureTask, "Main", "79", L"Are you sure you want to end this task?"},
      {Task, "Main", "37", L"Task"},
      {AreYouSureProcess, "Main", "87", L"Are you sure you want to terminate this process?"},
      {Process, "Main", "40", L"Process"},
      {PID, "Main", "39", L"PID"},
      {ProcessNotFound, "Main", "86", L"Process path not found!"},
      {Name, "Main", "54", L"Name"},
      {Stopping, "Main", "90",
       L"Stopping services might cause some programs to malfunction or result in system "
       L"instability!"},
      {StopService, "Main", "91", L"Do you want to stop this service?"},
      {Pausing, "Main", "93",
       L"Pausing services might cause some programs to malfunction or result in system "
       L"instability!"},
      {PauseService, "Main", "94", L"Do you want to pause this service?"},
      {Deleting, "Main", "95",
       L"Deleting services might cause some programs to malfunction or result in system "
       L"instability!"},
      {DELETEService, "Main", "96", L"Do you want to DELETE this service?"},
      {Unable, "Main", "110", L"Unable to close selected connection:"},
      {Paused, "Main", "106", L"Paused"},
      {Running, "Main", "77", L"Running"},
      {Version, "About", "2", L"Version:"},
      {NewVersion, "Main", "111", L"New version available!"},
      {WDownload, "Main", "112", L"Would you like to download it from our website?"},
  }};
  return keys;
}

MessageTexts::MessageTexts() {
  for (const auto& entry : MessageTextKeys()) set(entry.text, entry.english);
}

void MessageTexts::load(const Language& language) {
  for (const auto& entry : MessageTextKeys()) {
    set(entry.text, language.text(entry.section, entry.key));
  }
}

}  // namespace dravik
