#pragma once
// Slow reads (the process query, the service listing, the connection tables
// with their owners) run on a worker thread of their own, so that the window
// showing them goes on answering. The worker makes, uses and destroys its own
// system objects (its handles, its COM apartment); each finished read comes
// back to the window's thread as one snapshot, from which the list is built.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/window_manager.h"

namespace dravik {

// What one read found: made on the worker, owned by the window's thread from
// the moment it is posted.
class Snapshot {
 public:
  virtual ~Snapshot() = default;
};

// A read shows no message box: the boxes it would show are noted, for the
// window's thread to show with its snapshot.
class NotedBoxes final : public platform::UserInterface {
 public:
  struct Box {
    std::wstring text;
    std::wstring title;
    unsigned flags = 0;
  };
  int messageBox(const std::wstring& text, const std::wstring& title, unsigned flags) override {
    boxes.push_back({text, title, flags});
    return platform::mb::kAnswerOk;
  }
  void pumpMessages() override {}
  // Shows the noted boxes, in order, through `ui`.
  void show(platform::UserInterface& ui) const {
    for (const Box& box : boxes) ui.messageBox(box.text, box.title, box.flags);
  }
  std::vector<Box> boxes;
};

// One worker thread and the hidden window its snapshots are posted to. One
// read runs at a time; a request made while one waits replaces it. Every
// member is called on the thread that made the object, except where said.
class BackgroundReads {
 public:
  // Runs on the worker when it starts: what its reads read with. Destroyed
  // there when it ends.
  using OpenReader = std::function<std::shared_ptr<void>()>;
  // Runs on the worker with what OpenReader made; null when there is nothing to show.
  using Read = std::function<std::unique_ptr<Snapshot>(void* reader)>;
  // Runs on this thread with the snapshot of the latest request; null when
  // that read failed or could not be made.
  using Deliver = std::function<void(std::unique_ptr<Snapshot>)>;
  // A timer set on window() ticked.
  using Tick = std::function<void(UINT_PTR id)>;

  // `routine` names the work in the "Warning" box when a read throws.
  BackgroundReads(HINSTANCE instance, const wchar_t* routine, OpenReader open, Deliver deliver, Tick tick = {});
  // Stops the worker and waits for the read it is in; snapshots not yet
  // delivered are freed.
  ~BackgroundReads();
  BackgroundReads(const BackgroundReads&) = delete;
  BackgroundReads& operator=(const BackgroundReads&) = delete;

  void request(Read read);
  // The snapshots of every request made so far will not be delivered.
  void drop();
  // A request was made whose snapshot has not been delivered or dropped yet.
  bool busy() const { return wanted_ != 0; }
  // The hidden window: its timers tick through `tick`.
  HWND window() const { return window_; }

 private:
  struct Job {
    WPARAM generation = 0;
    Read read;
  };
  static DWORD WINAPI Run(void* self);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void work();               // the worker thread
  void post(WPARAM generation, std::unique_ptr<Snapshot> snapshot);  // the worker thread
  void receive(WPARAM generation, Snapshot* posted);

  const wchar_t* routine_;
  OpenReader open_;
  Deliver deliver_;
  Tick tick_;
  HWND window_ = nullptr;
  WPARAM generation_ = 0;  // of the latest request or drop
  WPARAM wanted_ = 0;      // the generation whose snapshot is awaited, 0 for none

  platform::win32::CriticalSection lock_;  // over the two below
  Job pending_;
  std::vector<Snapshot*> posted_;  // posted and not yet received
  platform::win32::UniqueKernelHandle wake_;
  platform::win32::UniqueKernelHandle stop_;
  platform::win32::UniqueKernelHandle thread_;
};

// The same, typed: `Reader` is what the worker reads with, `Result` what a
// read gives.
template <class Reader, class Result>
class BackgroundReadsOf {
 public:
  BackgroundReadsOf(HINSTANCE instance, const wchar_t* routine, std::function<std::unique_ptr<Reader>()> open,
                    std::function<void(std::unique_ptr<Result>)> deliver, BackgroundReads::Tick tick = {})
      : reads_(
            instance, routine, [open = std::move(open)]() -> std::shared_ptr<void> { return open(); },
            [deliver = std::move(deliver)](std::unique_ptr<Snapshot> snapshot) {
              deliver(std::unique_ptr<Result>(static_cast<Result*>(snapshot.release())));
            },
            std::move(tick)) {}

  void request(std::function<std::unique_ptr<Result>(Reader&)> read) {
    reads_.request([read = std::move(read)](void* reader) -> std::unique_ptr<Snapshot> {
      return read(*static_cast<Reader*>(reader));
    });
  }
  void drop() { reads_.drop(); }
  bool busy() const { return reads_.busy(); }
  HWND window() const { return reads_.window(); }

 private:
  BackgroundReads reads_;
};

}  // namespace dravik
