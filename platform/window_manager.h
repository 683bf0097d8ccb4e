#pragma once
// The window manager as the program's logic sees it: message boxes, the
// message pump, the single-instance test and the common-control classes.
#include <string>

namespace platform {

// Message-box flags and answers, by their Win32 values.
namespace mb {
constexpr unsigned kOk = 0x0;
constexpr unsigned kYesNo = 0x4;
constexpr unsigned kIconStop = 0x10;
constexpr unsigned kIconQuestion = 0x20;
constexpr unsigned kIconExclamation = 0x30;
constexpr unsigned kIconInformation = 0x40;
constexpr unsigned kStopOk = kIconStop | kOk;                 // 16
constexpr unsigned kExclamationOk = kIconExclamation | kOk;   // 48
constexpr unsigned kExclamationYesNo = kIconExclamation | kYesNo;  // 52
constexpr unsigned kStopYesNo = kIconStop | kYesNo;           // 20
constexpr int kAnswerOk = 1;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;
}  // namespace mb

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  // Shows a modal message box and returns the button pressed. An empty title
  // gives the application's title at that moment.
  virtual int messageBox(const std::wstring& text, const std::wstring& title, unsigned flags) = 0;
  // Handles the window messages that are waiting, then returns.
  virtual void pumpMessages() = 0;
};

class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
  // True when another copy of the program already runs. The first copy holds
  // the lock for as long as it lives.
  virtual bool anotherInstanceRuns() = 0;
};

// The common-control classes the main window is built from.
class ControlLibrary {
 public:
  virtual ~ControlLibrary() = default;
  // Registers the extended combo-box classes; the result is not needed.
  virtual void initExtendedClasses() = 0;
  // True when every control class the windows need is available from the system.
  virtual bool availableInSystem(const std::wstring& systemFolder) = 0;
  // True when the program folder carries a copy that can be installed.
  virtual bool availableBesideProgram(const std::wstring& programFolder) = 0;
};

}  // namespace platform
