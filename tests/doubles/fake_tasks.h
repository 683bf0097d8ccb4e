#pragma once
// Doubles of the window manager's task windows, the process calls, the
// performance counters and the Tasks list. They stand in where Wine cannot
// show the real thing (other processes' icons, 16-bit tasks, the per-processor
// counter) and let the logic run natively.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/performance.h"
#include "platform/processes.h"
#include "platform/window_manager.h"
#include "tasks/task_rows.h"

namespace fakes {

using platform::IconHandle;
using platform::WindowHandle;

struct FakeWindow {
  WindowHandle handle = 0;
  bool visible = true;
  WindowHandle parent = 0;
  WindowHandle owner = 0;
  std::uint32_t exStyle = 0;
  std::wstring className = L"Window";
  std::wstring caption;
  IconHandle bigIcon = 0;
  IconHandle smallIcon = 0;
  IconHandle classBigIcon = 0;
  IconHandle classSmallIcon = 0;
  std::uint32_t pid = 100;
  bool hung = false;  // every timed message fails
  bool minimized = false;
  bool refusesForeground = false;
};

class FakeTaskWindows final : public platform::TaskWindows {
 public:
  static constexpr IconHandle kLogo = 0x7F05;
  static constexpr IconHandle kApplication = 0x7F00;

  // Adds on top of the z-order (the first the walk meets is the last added).
  FakeWindow& add(FakeWindow w);
  FakeWindow& window(WindowHandle h) { return windows.at(h); }
  void destroy(WindowHandle h);

  bool exists(WindowHandle w) override { return windows.count(w) != 0; }
  bool visible(WindowHandle w) override { return exists(w) && windows[w].visible; }
  WindowHandle parent(WindowHandle w) override { return exists(w) ? windows[w].parent : 0; }
  WindowHandle owner(WindowHandle w) override { return exists(w) ? windows[w].owner : 0; }
  std::uint32_t extendedStyle(WindowHandle w) override {
    return exists(w) ? windows[w].exStyle : 0;
  }
  std::wstring className(WindowHandle w) override { return exists(w) ? windows[w].className : L""; }
  WindowHandle topWindow() override;
  WindowHandle nextWindow(WindowHandle w) override;
  void enumerate(const std::function<bool(WindowHandle)>& visit) override;
  std::optional<std::intptr_t> textLength(WindowHandle w, unsigned timeoutMs) override;
  std::optional<std::wstring> text(WindowHandle w, std::size_t bufferChars,
                                   unsigned timeoutMs) override;
  std::optional<IconHandle> messageIcon(WindowHandle w, bool small, unsigned timeoutMs) override;
  IconHandle classIcon(WindowHandle w, bool small) override;
  bool answers(WindowHandle w, unsigned timeoutMs) override;
  std::uint32_t processOf(WindowHandle w) override { return exists(w) ? windows[w].pid : 0; }
  bool postClose(WindowHandle w) override;
  bool minimized(WindowHandle w) override { return exists(w) && windows[w].minimized; }
  void restore(WindowHandle w) override;
  void setForeground(WindowHandle w) override;
  WindowHandle foreground() override { return foregroundWindow; }
  IconHandle stockIcon(platform::StockIcon which) override {
    return which == platform::StockIcon::WindowsLogo ? kLogo : kApplication;
  }

  std::map<WindowHandle, FakeWindow> windows;
  std::vector<WindowHandle> zOrder;  // top first
  WindowHandle foregroundWindow = 0;
  std::vector<WindowHandle> closesPosted;
  std::function<void(WindowHandle)> onClose;  // what the window does with WM_CLOSE
  std::vector<std::wstring> calls;            // "restore", "foreground" in order
  std::vector<unsigned> timeoutsSeen;
  int messagesSent = 0;
};

class FakeProcessControl final : public platform::ProcessControl {
 public:
  WaitResult waitForEnd(std::uint32_t pid, unsigned timeoutMs) override;
  std::optional<bool> terminate(std::uint32_t pid) override;
  std::optional<std::wstring> imageFileName(std::uint32_t pid) override;
  std::wstring logicalDriveStrings() override { return drives; }
  DosDeviceResult queryDosDevice(const std::wstring& drive) override;
  std::vector<std::uint32_t> wowMachines() override { return wow; }
  std::wstring firstModuleName(std::uint32_t pid) override {
    auto it = modules.find(pid);
    return it == modules.end() ? L"" : it->second;
  }

  std::set<std::uint32_t> running;      // processes that exist
  std::set<std::uint32_t> endsOnClose;  // end when asked to (see closeRequested)
  std::set<std::uint32_t> unopenable;
  std::set<std::uint32_t> closeRequested;
  std::map<std::uint32_t, std::wstring> images;     // device-form paths
  std::map<std::wstring, std::wstring> dosDevices;  // "C:" -> "\Device\HarddiskVolume1"
  std::map<std::uint32_t, std::wstring> modules;
  std::vector<std::uint32_t> wow;
  std::wstring drives;
  std::vector<std::pair<std::uint32_t, unsigned>> waits;
  std::vector<std::uint32_t> kills;
};

class FakePerformanceCounters final : public platform::PerformanceCounters {
 public:
  bool openQuery() override {
    ++opens;
    return canOpen;
  }
  std::uintptr_t addCounter(const std::wstring& path) override {
    paths.push_back(path);
    return counterHandle;
  }
  long collect() override {
    ++collects;
    return 0;
  }
  Value doubleValue(std::uintptr_t counter) override {
    asked.push_back(counter);
    if (samples.empty()) return {0, -1};
    Value v = samples.front();
    samples.erase(samples.begin());
    return v;
  }
  void closeQuery() override { ++closes; }

  bool canOpen = true;
  std::uintptr_t counterHandle = 0x51;
  std::vector<Value> samples;  // handed out in turn; an invalid status when none is left
  std::vector<std::wstring> paths;
  std::vector<std::uintptr_t> asked;
  int opens = 0, collects = 0, closes = 0;
};

class FakeMemoryInfo final : public platform::MemoryInfo {
 public:
  bool status(platform::MemorySample& s) override {
    ++queries;
    if (fails) {
      s.totalPhys = 12345;  // junk a failing call might leave behind
      return false;
    }
    s = sample;
    return true;
  }
  platform::MemorySample sample;
  bool fails = false;
  int queries = 0;
};

class FakeLocale final : public platform::Locale {
 public:
  platform::NumberFormat numberFormat() override { return format; }
  platform::NumberFormat format;
};

// The Tasks list as rows in memory, counting every write.
class FakeTaskRows final : public dravik::TaskRowsView {
 public:
  struct Row {
    std::wstring key, text, tag, icon;
    std::wstring cells[5];
  };
  int rowCount() override { return static_cast<int>(rows.size()); }
  std::wstring text(int row) override { return rows.at(row).text; }
  std::wstring subItem(int row, int column) override { return rows.at(row).cells[column]; }
  int findRow(const std::wstring& key) override;
  int addRow(const std::wstring& key, const std::wstring& text) override;
  void removeRow(int row) override;
  int selectedRow() override { return selected; }
  void clearSelection() override {
    ++writes;
    selected = -1;
  }
  bool hasIcon(int row) override { return !rows.at(row).icon.empty(); }
  void setIcon(int row, const std::wstring& key) override {
    ++writes;
    rows.at(row).icon = key;
  }
  bool addImage(const std::wstring& key, IconHandle icon) override;
  void setText(int row, const std::wstring& t) override {
    ++writes;
    rows.at(row).text = t;
  }
  void setSubItem(int row, int column, const std::wstring& t) override {
    ++writes;
    rows.at(row).cells[column] = t;
  }
  std::wstring tag(int row) override { return rows.at(row).tag; }
  void setTag(int row, const std::wstring& t) override {
    ++writes;
    rows.at(row).tag = t;
  }

  std::vector<Row> rows;
  std::map<std::wstring, IconHandle> images;
  int selected = -1;
  int writes = 0;
  bool refuseAdds = false;
};

}  // namespace fakes
