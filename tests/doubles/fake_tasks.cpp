#include "doubles/fake_tasks.h"

#include <algorithm>

namespace fakes {

FakeWindow& FakeTaskWindows::add(FakeWindow w) {
  const WindowHandle h = w.handle;
  windows[h] = std::move(w);
  zOrder.insert(zOrder.begin(), h);
  return windows[h];
}

void FakeTaskWindows::destroy(WindowHandle h) {
  windows.erase(h);
  zOrder.erase(std::remove(zOrder.begin(), zOrder.end(), h), zOrder.end());
}

WindowHandle FakeTaskWindows::topWindow() { return zOrder.empty() ? 0 : zOrder.front(); }

WindowHandle FakeTaskWindows::nextWindow(WindowHandle w) {
  auto it = std::find(zOrder.begin(), zOrder.end(), w);
  if (it == zOrder.end() || ++it == zOrder.end()) return 0;
  return *it;
}

void FakeTaskWindows::enumerate(const std::function<bool(WindowHandle)>& visit) {
  const std::vector<WindowHandle> snapshot = zOrder;
  for (WindowHandle w : snapshot) {
    if (!visit(w)) return;
  }
}

std::optional<std::intptr_t> FakeTaskWindows::textLength(WindowHandle w, unsigned timeoutMs) {
  ++messagesSent;
  timeoutsSeen.push_back(timeoutMs);
  if (!exists(w) || windows[w].hung) return std::nullopt;
  return static_cast<std::intptr_t>(windows[w].caption.size());
}

std::optional<std::wstring> FakeTaskWindows::text(WindowHandle w, std::size_t bufferChars,
                                                  unsigned timeoutMs) {
  ++messagesSent;
  timeoutsSeen.push_back(timeoutMs);
  if (!exists(w) || windows[w].hung || bufferChars == 0) return std::nullopt;
  return windows[w].caption.substr(0, bufferChars - 1);
}

std::optional<IconHandle> FakeTaskWindows::messageIcon(WindowHandle w, bool small,
                                                       unsigned timeoutMs) {
  ++messagesSent;
  timeoutsSeen.push_back(timeoutMs);
  if (!exists(w) || windows[w].hung) return std::nullopt;
  return small ? windows[w].smallIcon : windows[w].bigIcon;
}

IconHandle FakeTaskWindows::classIcon(WindowHandle w, bool small) {
  if (!exists(w)) return 0;
  return small ? windows[w].classSmallIcon : windows[w].classBigIcon;
}

bool FakeTaskWindows::answers(WindowHandle w, unsigned timeoutMs) {
  ++messagesSent;
  timeoutsSeen.push_back(timeoutMs);
  return exists(w) && !windows[w].hung;
}

bool FakeTaskWindows::postClose(WindowHandle w) {
  closesPosted.push_back(w);
  if (!exists(w)) return false;
  if (onClose) onClose(w);
  return true;
}

void FakeTaskWindows::restore(WindowHandle w) {
  calls.push_back(L"restore");
  if (exists(w)) windows[w].minimized = false;
}

void FakeTaskWindows::setForeground(WindowHandle w) {
  calls.push_back(L"foreground");
  if (exists(w) && !windows[w].refusesForeground) foregroundWindow = w;
}

platform::ProcessControl::WaitResult FakeProcessControl::waitForEnd(std::uint32_t pid,
                                                                    unsigned timeoutMs) {
  waits.emplace_back(pid, timeoutMs);
  if (unopenable.count(pid) || !running.count(pid)) return WaitResult::NotOpened;
  if (closeRequested.count(pid) && endsOnClose.count(pid)) {
    running.erase(pid);
    return WaitResult::Ended;
  }
  return WaitResult::StillRunning;
}

std::optional<bool> FakeProcessControl::terminate(std::uint32_t pid) {
  kills.push_back(pid);
  if (unopenable.count(pid) || !running.count(pid)) return std::nullopt;
  running.erase(pid);
  return true;
}

std::optional<std::wstring> FakeProcessControl::imageFileName(std::uint32_t pid) {
  auto it = images.find(pid);
  if (it == images.end() || unopenable.count(pid)) return std::nullopt;
  std::wstring buffer = it->second;
  buffer.resize(260, L'\0');
  return buffer;
}

platform::ProcessControl::DosDeviceResult FakeProcessControl::queryDosDevice(
    const std::wstring& drive) {
  auto it = dosDevices.find(drive);
  if (it == dosDevices.end()) return {0, std::wstring(260, L'\0')};
  std::wstring buffer = it->second;
  buffer.push_back(L'\0');
  buffer.push_back(L'\0');
  const auto count = static_cast<std::uint32_t>(buffer.size());
  buffer.resize(260, L'\0');
  return {count, buffer};
}

int FakeTaskRows::findRow(const std::wstring& key) {
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].key == key) return static_cast<int>(i);
  }
  return -1;
}

int FakeTaskRows::addRow(const std::wstring& key, const std::wstring& text) {
  if (refuseAdds || findRow(key) >= 0) return -1;
  ++writes;
  Row row;
  row.key = key;
  row.text = text;
  rows.push_back(row);
  return static_cast<int>(rows.size()) - 1;
}

void FakeTaskRows::removeRow(int row) {
  ++writes;
  rows.erase(rows.begin() + row);
  // Like the list control: the selection stays at its place, so the row
  // that slides up into it becomes the selected one.
  if (selected > row) --selected;
  if (selected >= static_cast<int>(rows.size())) selected = -1;
}

bool FakeTaskRows::addImage(const std::wstring& key, IconHandle icon) {
  if (images.count(key)) return false;
  ++writes;
  images[key] = icon;
  return true;
}

}  // namespace fakes
