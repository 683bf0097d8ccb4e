#include "ui/win/background_reads.h"

#include <algorithm>

#include "platform/win32/exception_boundary.h"
#include "ui/win/window_object.h"

namespace dravik {

namespace {

constexpr wchar_t kWindowClass[] = L"DravikBackgroundReads";
// wParam: the generation of the request; lParam: the Snapshot, or null.
constexpr UINT kSnapshotMessage = WM_APP + 1;

}  // namespace

BackgroundReads::BackgroundReads(HINSTANCE instance, const wchar_t* routine, OpenReader open, Deliver deliver,
                                 Tick tick)
    : routine_(routine), open_(std::move(open)), deliver_(std::move(deliver)), tick_(std::move(tick)) {
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof(cls);
  if (!::GetClassInfoExW(instance, kWindowClass, &cls)) {
    cls.lpfnWndProc = &BackgroundReads::WindowProc;
    cls.hInstance = instance;
    cls.lpszClassName = kWindowClass;
    ::RegisterClassExW(&cls);
  }
  ::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
  wake_.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
  stop_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  // Without its window, its events or its thread the object still answers
  // every call: its reads are then never made, and nothing is delivered.
  if (window_ && wake_ && stop_) thread_.reset(::CreateThread(nullptr, 0, &BackgroundReads::Run, this, 0, nullptr));
}

BackgroundReads::~BackgroundReads() {
  if (thread_) {
    ::SetEvent(stop_.get());
    ::WaitForSingleObject(thread_.get(), INFINITE);
  }
  // Snapshots still queued for the window go with it, unread: free them here.
  if (window_) ::DestroyWindow(window_);
  for (Snapshot* snapshot : posted_) delete snapshot;
}

void BackgroundReads::request(Read read) {
  if (!thread_) return;
  wanted_ = ++generation_;
  {
    const platform::win32::Locked held(lock_);
    pending_ = {wanted_, std::move(read)};
  }
  ::SetEvent(wake_.get());
}

void BackgroundReads::drop() {
  ++generation_;
  wanted_ = 0;
  const platform::win32::Locked held(lock_);
  pending_ = {};
}

DWORD WINAPI BackgroundReads::Run(void* self) {
  static_cast<BackgroundReads*>(self)->work();
  return 0;
}

void BackgroundReads::work() {
  // Made here, so that handles and the COM apartment belong to this thread.
  std::shared_ptr<void> reader =
      platform::win32::Guarded(routine_, std::shared_ptr<void>(), [&] { return open_ ? open_() : nullptr; });
  const HANDLE waits[] = {stop_.get(), wake_.get()};
  while (::WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
    Job job;
    {
      const platform::win32::Locked held(lock_);
      std::swap(job, pending_);
    }
    if (!job.read) continue;  // dropped before it started
    std::unique_ptr<Snapshot> snapshot;
    if (reader) {
      snapshot = platform::win32::Guarded(routine_, std::unique_ptr<Snapshot>(),
                                          [&] { return job.read(reader.get()); });
    }
    post(job.generation, std::move(snapshot));
  }
  reader.reset();
}

void BackgroundReads::post(WPARAM generation, std::unique_ptr<Snapshot> snapshot) {
  Snapshot* raw = snapshot.get();
  if (raw) {
    const platform::win32::Locked held(lock_);
    posted_.push_back(raw);
    snapshot.release();
  }
  if (::PostMessageW(window_, kSnapshotMessage, generation, reinterpret_cast<LPARAM>(raw)) || !raw) return;
  const platform::win32::Locked held(lock_);
  posted_.erase(std::remove(posted_.begin(), posted_.end(), raw), posted_.end());
  delete raw;
}

void BackgroundReads::receive(WPARAM generation, Snapshot* posted) {
  std::unique_ptr<Snapshot> snapshot;
  if (posted) {
    const platform::win32::Locked held(lock_);
    const auto found = std::find(posted_.begin(), posted_.end(), posted);
    if (found == posted_.end()) return;  // not one of ours
    posted_.erase(found);
    snapshot.reset(posted);
  }
  // A newer request, or the user leaving the list, made this one stale.
  if (generation != wanted_) return;
  wanted_ = 0;
  if (deliver_) {
    platform::win32::Guarded(routine_, 0, [&] {
      deliver_(std::move(snapshot));
      return 0;
    });
  }
}

LRESULT CALLBACK BackgroundReads::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchToObject(window, message, wParam, lParam, &BackgroundReads::window_, L"BackgroundReads",
                          [&](BackgroundReads& self) -> LRESULT {
                            if (message == kSnapshotMessage) {
                              self.receive(wParam, reinterpret_cast<Snapshot*>(lParam));
                              return 0;
                            }
                            if (message == WM_TIMER && self.tick_) {
                              platform::win32::Guarded(self.routine_, 0, [&] {
                                self.tick_(wParam);
                                return 0;
                              });
                              return 0;
                            }
                            return ::DefWindowProcW(window, message, wParam, lParam);
                          });
}

}  // namespace dravik
