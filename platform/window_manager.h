#pragma once
// The window manager as the program's logic sees it: message boxes, the
// message pump, the single-instance test, the common-control classes and
// the task windows.
#include <cstdint>
#include <functional>
#include <optional>
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
};

}  // namespace platform

namespace platform {

// Window and icon handles as plain numbers, so the logic that keeps lists of
// windows compiles without <windows.h>. 0 is "no window" / "no icon".
using WindowHandle = std::uintptr_t;
using IconHandle = std::uintptr_t;

// The stock icons a task falls back on when its window offers none.
enum class StockIcon { Application, WindowsLogo };

// The top-level windows the user switches between, as the task list reads
// them. Every message is sent with a time-out and the abort-if-hung flag, so
// a call to a hung window fails instead of blocking; a failed call gives
// nothing (std::nullopt), a destroyed window the neutral value.
class TaskWindows {
 public:
  virtual ~TaskWindows() = default;
  virtual bool exists(WindowHandle window) = 0;
  virtual bool visible(WindowHandle window) = 0;
  // GetParent: the parent of a child, the owner of an owned pop-up, else 0.
  virtual WindowHandle parent(WindowHandle window) = 0;
  // The owner of a top-level window, 0 when it has none.
  virtual WindowHandle owner(WindowHandle window) = 0;
  virtual std::uint32_t extendedStyle(WindowHandle window) = 0;
  // "" when the name cannot be read.
  virtual std::wstring className(WindowHandle window) = 0;
  // The z-order walk over the top-level windows: first, then next; 0 ends it.
  virtual WindowHandle topWindow() = 0;
  virtual WindowHandle nextWindow(WindowHandle window) = 0;
  // EnumWindows: calls `visit` for every top-level window until it returns false.
  virtual void enumerate(const std::function<bool(WindowHandle)>& visit) = 0;
  // WM_GETTEXTLENGTH.
  virtual std::optional<std::intptr_t> textLength(WindowHandle window, unsigned timeoutMs) = 0;
  // WM_GETTEXT with a buffer of `bufferChars` characters: the characters the
  // window says it copied.
  virtual std::optional<std::wstring> text(WindowHandle window, std::size_t bufferChars,
                                           unsigned timeoutMs) = 0;
  // WM_GETICON (ICON_BIG or ICON_SMALL): the icon, possibly 0.
  virtual std::optional<IconHandle> messageIcon(WindowHandle window, bool small,
                                                unsigned timeoutMs) = 0;
  // The icon of the window's class (large or small), 0 when none or unreadable.
  virtual IconHandle classIcon(WindowHandle window, bool small) = 0;
  // WM_NULL: true when the window answered within the time-out.
  virtual bool answers(WindowHandle window, unsigned timeoutMs) = 0;
  // The process that created the window, 0 when unknown.
  virtual std::uint32_t processOf(WindowHandle window) = 0;
  // Posts WM_CLOSE; false when it could not be posted.
  virtual bool postClose(WindowHandle window) = 0;
  virtual bool minimized(WindowHandle window) = 0;
  virtual void restore(WindowHandle window) = 0;
  virtual void setForeground(WindowHandle window) = 0;
  virtual WindowHandle foreground() = 0;
  // Shared system icons: never destroyed by whoever gets them.
  virtual IconHandle stockIcon(StockIcon which) = 0;
};

}  // namespace platform
