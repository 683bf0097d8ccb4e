#include "tasks/task_list.h"

#include <algorithm>

#include "tasks/terminate_proc.h"

namespace dravik {

namespace {

constexpr std::uint32_t kToolWindowStyle = 0x80;  // WS_EX_TOOLWINDOW
// A window that claims a longer caption than this is broken or hostile;
// reading that much would only exhaust memory.
constexpr std::intptr_t kLongestCaption = 1 << 20;
// The z-order walk can meet a cycle while windows are re-stacked under it;
// no desktop holds this many top-level windows, so stopping here is safe.
constexpr int kMostWindowsWalked = 200000;

}  // namespace

CTaskList::CTaskList(platform::TaskWindows& windows, platform::ProcessControl& processes,
                     bool supports16Bit)
    : windows_(windows),
      processes_(processes),
      supports16Bit_(supports16Bit),
      entries_(kGrowBy),
      logoIcon_(windows.stockIcon(platform::StockIcon::WindowsLogo)),
      applicationIcon_(windows.stockIcon(platform::StockIcon::Application)) {}

void CTaskList::setHungTimeout(int milliseconds) {
  if (milliseconds > 0) hungTimeout_ = milliseconds;
}

void CTaskList::setMode(int mode) {
  if (mode == 0 || mode == 1) mode_ = mode;
}

const TaskEntry* CTaskList::at(int index) const {
  if (index < 1 || index > count_) return nullptr;
  return &entries_[static_cast<std::size_t>(index - 1)];
}

int CTaskList::position(int index, WindowHandle window) const {
  if (window != 0) return findIndex(window);
  return (index >= 1 && index <= count_) ? index : 0;
}

std::wstring CTaskList::caption(int index) const {
  const TaskEntry* entry = at(index);
  return entry ? entry->caption : std::wstring();
}

WindowHandle CTaskList::hWnd(int index) const {
  const TaskEntry* entry = at(index);
  return entry ? entry->hWnd : 0;
}

IconHandle CTaskList::hIcon(int index) const {
  const TaskEntry* entry = at(index);
  if (!entry) return 0;
  if (entry->hIcon != 0) return entry->hIcon;
  return mode_ == 0 ? logoIcon_ : applicationIcon_;
}

IconHandle CTaskList::hIconSm(int index) const {
  const TaskEntry* entry = at(index);
  if (!entry) return 0;
  return entry->hIconSm != 0 ? entry->hIconSm : hIcon(index);
}

std::uint32_t CTaskList::processId(int index) const {
  const TaskEntry* entry = at(index);
  return entry ? entry->processId : 0;
}

int CTaskList::status(int index) const {
  const TaskEntry* entry = at(index);
  if (!entry) return kStatusResponds;
  return windows_.answers(entry->hWnd, static_cast<unsigned>(hungTimeout_)) ? kStatusResponds
                                                                            : kStatusNotResponding;
}

bool CTaskList::valid(int index, WindowHandle window) {
  const int p = position(index, window);
  if (p == 0) return false;
  TaskEntry& entry = entries_[static_cast<std::size_t>(p - 1)];
  if (isTaskWindow(entry.hWnd)) return true;
  entry.hWnd = 0;
  compact();
  return false;
}

int CTaskList::vdm(int index, WindowHandle window) {
  const int p = position(index, window);
  if (p == 0 || !supports16Bit_) return 0;
  TaskEntry& entry = entries_[static_cast<std::size_t>(p - 1)];
  int kind = 0;
  if (IsWowTask(processes_, entry.processId)) {
    kind = 1;
  } else if (IsDosTask(processes_, entry.processId)) {
    kind = 2;
  }
  entry.vdm = kind;
  return kind;
}

bool CTaskList::activate(int index, WindowHandle window) {
  const int p = position(index, window);
  if (p == 0) return false;
  const TaskEntry& entry = entries_[static_cast<std::size_t>(p - 1)];
  if (entry.caption.empty()) return false;
  const WindowHandle target = entry.hWnd;
  if (windows_.minimized(target)) windows_.restore(target);
  windows_.setForeground(target);
  return windows_.foreground() == target;
}

int CTaskList::getIndex(WindowHandle window) const { return findIndex(window); }

int CTaskList::findIndex(WindowHandle window) const {
  if (window == 0) return 0;
  for (int i = 0; i < count_; ++i) {
    if (entries_[static_cast<std::size_t>(i)].hWnd == window) return i + 1;
  }
  return 0;
}

void CTaskList::refresh() {
  bool gone = false;
  for (int i = 0; i < count_; ++i) {
    TaskEntry& entry = entries_[static_cast<std::size_t>(i)];
    if (!windows_.exists(entry.hWnd)) {
      entry.hWnd = 0;
      gone = true;
    }
  }
  if (gone) compact();

  int walked = 0;
  for (WindowHandle w = windows_.topWindow(); w != 0 && walked < kMostWindowsWalked;
       w = windows_.nextWindow(w), ++walked) {
    WindowHandle owner = 0;
    if (isTaskWindow(w, &owner)) updateEntry(w, owner);
  }
}

bool CTaskList::terminate(int index, WindowHandle window, unsigned dialogDelayMs) {
  const int p = position(index, window);
  if (p == 0) return false;
  const int kind = vdm(p);
  if (kind == 1 || kind == 2) return false;
  return EndProcessWindows(windows_, processes_,
                           entries_[static_cast<std::size_t>(p - 1)].processId, dialogDelayMs);
}

bool CTaskList::isToolWindow(WindowHandle window) {
  return (windows_.extendedStyle(window) & kToolWindowStyle) != 0;
}

bool CTaskList::isTaskWindow(WindowHandle window, WindowHandle* ownerOut) {
  if (!windows_.visible(window) || windows_.parent(window) != 0) return false;
  const WindowHandle owner = windows_.owner(window);
  if (ownerOut) *ownerOut = owner;
  if (mode_ == 0) {
    return (owner == 0 || isToolWindow(owner)) && !isToolWindow(window);
  }
  if (owner != 0) return false;
  return !isToolWindow(window) || windows_.className(window) != L"Progman";
}

void CTaskList::updateEntry(WindowHandle window, WindowHandle owner) {
  const int known = findIndex(window);
  const unsigned timeout = static_cast<unsigned>(hungTimeout_);
  // An owned task shows its owner's caption and icons: that is the window the
  // user knows the program by.
  const WindowHandle target = owner != 0 ? owner : window;

  const std::optional<std::intptr_t> length = windows_.textLength(target, timeout);
  if (!length || *length <= 0) return;
  const std::intptr_t wanted = std::min(*length, kLongestCaption);
  std::optional<std::wstring> text =
      windows_.text(target, static_cast<std::size_t>(wanted) + 1, timeout);
  if (!text || text->empty()) return;

  auto iconOf = [&](bool small) -> IconHandle {
    const std::optional<IconHandle> sent = windows_.messageIcon(target, small, timeout);
    if (!sent) return 0;
    return *sent != 0 ? *sent : windows_.classIcon(target, small);
  };
  const IconHandle big = iconOf(false);
  const IconHandle small = iconOf(true);
  const std::uint32_t pid = windows_.processOf(window);

  int p = known;
  if (p == 0) {
    if (static_cast<std::size_t>(count_) == entries_.size()) {
      entries_.resize(entries_.size() + kGrowBy);
    }
    p = ++count_;
  }
  TaskEntry& entry = entries_[static_cast<std::size_t>(p - 1)];
  entry.hWnd = window;
  entry.hIcon = big;
  entry.hIconSm = small;
  entry.processId = pid;
  entry.caption = std::move(*text);
}

int CTaskList::compact() {
  const auto live = entries_.begin() + count_;
  const auto kept =
      std::stable_partition(entries_.begin(), live, [](const TaskEntry& e) { return e.hWnd != 0; });
  std::fill(kept, live, TaskEntry{});
  count_ = static_cast<int>(kept - entries_.begin());
  return count_;
}

}  // namespace dravik
