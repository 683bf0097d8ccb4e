#pragma once
// The named message texts: the confirmations, warnings and labels the tabs
// build their messages from, filled from the language file when the main
// window applies its language, and read by name afterwards.
#include <array>
#include <string>

#include "localization/read_ini.h"

namespace dravik {

// In the order they are filled.
enum class MessageText {
  Boot,                  // "Main" 20
  System,                // 21
  Automatic,             // 22
  Manual,                // 23
  Disabled,              // 24
  Warning,               // 92
  Ending,                // 108
  AreYouSureTask,        // 79
  Task,                  // 37
  AreYouSureProcess,     // 87
  Process,               // 40
  PID,                   // 39
  ProcessNotFound,       // 86
  Name,                  // 54
  Stopping,              // 90
  StopService,           // 91
  Pausing,               // 93
  PauseService,          // 94
  Deleting,              // 95
  DELETEService,         // 96
  Unable,                // 110
  Paused,                // 106
  Running,               // 77
  Version,               // "About" 2
  NewVersion,            // 111
  WDownload,             // 112
  Count
};

inline constexpr std::size_t kMessageTextCount = static_cast<std::size_t>(MessageText::Count);

struct MessageTextKey {
  MessageText text;
  const char* section;
  const char* key;
  const wchar_t* english;  // what the text reads before a language is applied
};

// Every named text with its language key, in the order they are filled.
const std::array<MessageTextKey, kMessageTextCount>& MessageTextKeys();

class MessageTexts {
 public:
  MessageTexts();  // the English texts
  // Fills every text from the language file, in table order.
  void load(const Language& language);
  const std::wstring& operator[](MessageText text) const {
    return texts_[static_cast<std::size_t>(text)];
  }
  void set(MessageText text, std::wstring value) {
    texts_[static_cast<std::size_t>(text)] = std::move(value);
  }

 private:
  std::array<std::wstring, kMessageTextCount> texts_;
};

}  // namespace dravik
