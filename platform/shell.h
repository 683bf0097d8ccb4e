#pragma once
// The shell: opening files, programs and addresses.
#include <cstdint>
#include <string>

namespace platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // ShellExecute: returns the shell's instance value; 32 or less is a failure.
  // An empty verb is the file's default action.
  virtual std::intptr_t execute(const std::wstring& verb, const std::wstring& file,
                                const std::wstring& parameters, const std::wstring& folder,
                                int showCommand) = 0;
};

// Where the shell keeps a file's small icon: its system image list and the
// position in it. A null list means the shell gave no icon.
struct SystemIcon {
  std::uintptr_t imageList = 0;  // HIMAGELIST
  int index = 0;
};

// Files as the shell presents them: their icons and their properties sheet.
class ShellFiles {
 public:
  virtual ~ShellFiles() = default;
  // The small (16 by 16) icon of `path` in the system image list; no list
  // when the shell has none for it.
  virtual SystemIcon smallIcon(const std::wstring& path) = 0;
  // Opens the shell's properties sheet of the file without an owner window;
  // false when the shell refused. Returns without waiting for the sheet.
  virtual bool showProperties(const std::wstring& path) = 0;
};

}  // namespace platform

#include <functional>

namespace platform {

// How long each step of a web request may take, in milliseconds.
struct HttpTimeouts {
  int resolve = 0;
  int connect = 0;
  int send = 0;
  int receive = 0;
};

// One asynchronous HTTP GET at a time.
class HttpGet {
 public:
  virtual ~HttpGet() = default;
  // Starts fetching `url` and returns at once. A fetch still under way is
  // dropped: its answer is never delivered. `received` runs later on the
  // thread that called start, from its message loop, with the whole response
  // text (whatever the status: an error page is delivered too). It never runs
  // when the server cannot be reached, times out or sends no bytes at all.
  virtual void start(const std::wstring& url, const HttpTimeouts& timeouts,
                     std::function<void(const std::wstring& text)> received) = 0;
  // True while a fetch is under way.
  virtual bool busy() const = 0;
  // Drops the fetch under way, if any.
  virtual void cancel() = 0;
};

}  // namespace platform

namespace platform {

// Compiled HTML help.
class HelpFiles {
 public:
  virtual ~HelpFiles() = default;
  // Opens the default topic of the help file `path` for the window `owner`.
  // The help window's handle, or 0 when the file is missing or cannot be shown.
  virtual std::uintptr_t displayTopic(std::uintptr_t owner, const std::wstring& path) = 0;
};

}  // namespace platform
