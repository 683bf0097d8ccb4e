#pragma once
// Doubles of the task windows, the performance counters, the memory status,
// the locale and the Tasks list. They stand in where Wine cannot show the
// real thing (other processes' icons, 16-bit tasks, the per-processor
// counter) and let the logic run natively.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "doubles/fake_profile_files.h"
#include "localization/read_ini.h"
#include "platform/performance.h"
#include "platform/window_manager.h"
#include "tasks/task_rows.h"

namespace fakes {

using platform::IconHandle;
using platform::WindowHandle;

struct FakeWindow {
  WindowHandle handle = 0;
  std::wstring caption;
  std::uint32_t pid = 100;
  bool visible = true;
  WindowHandle parent = 0, owner = 0;
  std::uint32_t exStyle = 0;
  std::wstring className = L"Window";
  IconHandle bigIcon = 0, smallIcon = 0, classBigIcon = 0, classSmallIcon = 0;
  bool hung = false;  // every timed message fails
  bool minimized = false;
};

class FakeTaskWindows final : public platform::TaskWindows {
 public:
  // Adds on top of the z-order (the first the walk meets is the last added).
  FakeWindow& add(FakeWindow w) {
    zOrder.insert(zOrder.begin(), w.handle);
    return windows[w.handle] = std::move(w);
  }
  FakeWindow& window(WindowHandle h) { return windows.at(h); }
  void destroy(WindowHandle h) {
    windows.erase(h);
    zOrder.erase(std::find(zOrder.begin(), zOrder.end(), h));
  }

  bool exists(WindowHandle w) override { return windows.count(w) != 0; }
  bool visible(WindowHandle w) override { return exists(w) && windows[w].visible; }
  WindowHandle parent(WindowHandle w) override { return exists(w) ? windows[w].parent : 0; }
  WindowHandle owner(WindowHandle w) override { return exists(w) ? windows[w].owner : 0; }
  std::uint32_t extendedStyle(WindowHandle w) override { return exists(w) ? windows[w].exStyle : 0; }
  std::wstring className(WindowHandle w) override { return exists(w) ? windows[w].className : L""; }
  WindowHandle topWindow() override { return zOrder.empty() ? 0 : zOrder.front(); }
  WindowHandle nextWindow(WindowHandle w) override {
    auto it = std::find(zOrder.begin(), zOrder.end(), w);
    return it == zOrder.end() || ++it == zOrder.end() ? 0 : *it;
  }
  void enumerate(const std::function<bool(WindowHandle)>& visit) override {
    const std::vector<WindowHandle> snapshot = zOrder;
    for (auto w = snapshot.begin(); w != snapshot.end() && visit(*w); ++w) {
    }
  }
  std::optional<std::intptr_t> textLength(WindowHandle w, unsigned timeoutMs) override {
    if (!timedMessage(w, timeoutMs)) return std::nullopt;
    return static_cast<std::intptr_t>(windows[w].caption.size());
  }
  std::optional<std::wstring> text(WindowHandle w, std::size_t chars, unsigned timeoutMs) override {
    if (!timedMessage(w, timeoutMs) || chars == 0) return std::nullopt;
    return windows[w].caption.substr(0, chars - 1);
  }
  std::optional<IconHandle> messageIcon(WindowHandle w, bool small, unsigned timeoutMs) override {
    if (!timedMessage(w, timeoutMs)) return std::nullopt;
    return small ? windows[w].smallIcon : windows[w].bigIcon;
  }
  IconHandle classIcon(WindowHandle w, bool small) override {
    return !exists(w) ? 0 : small ? windows[w].classSmallIcon : windows[w].classBigIcon;
  }
  bool answers(WindowHandle w, unsigned timeoutMs) override { return timedMessage(w, timeoutMs); }
  std::uint32_t processOf(WindowHandle w) override { return exists(w) ? windows[w].pid : 0; }
  bool postClose(WindowHandle w) override {
    closesPosted.push_back(w);
    if (exists(w) && onClose) onClose(w);
    return exists(w);
  }
  bool minimized(WindowHandle w) override { return exists(w) && windows[w].minimized; }
  void restore(WindowHandle w) override {
    calls.push_back(L"restore");
    if (exists(w)) windows[w].minimized = false;
  }
  void setForeground(WindowHandle w) override {
    calls.push_back(L"foreground");
    if (exists(w)) foregroundWindow = w;
  }
  WindowHandle foreground() override { return foregroundWindow; }
  IconHandle stockIcon(platform::StockIcon which) override { return static_cast<IconHandle>(which) + 0x7F00; }

  std::map<WindowHandle, FakeWindow> windows;
  std::vector<WindowHandle> zOrder;  // top first
  WindowHandle foregroundWindow = 0;
  std::vector<WindowHandle> closesPosted;
  std::function<void(WindowHandle)> onClose;  // what the window does with WM_CLOSE
  std::vector<std::wstring> calls;            // "restore", "foreground" in order

 private:
  bool timedMessage(WindowHandle w, unsigned) { return exists(w) && !windows[w].hung; }
};

class FakePerformanceCounters final : public platform::PerformanceCounters {
 public:
  bool openQuery() override { return canOpen; }
  std::uintptr_t addCounter(const std::wstring& path) override {
    paths.push_back(path);
    return 0x51;
  }
  long collect() override { return ++collects, 0; }
  // Hands out `samples` in turn; an invalid status when none is left.
  Value doubleValue(std::uintptr_t) override {
    if (samples.empty()) return {0, -1};
    const Value v = samples.front();
    samples.erase(samples.begin());
    return v;
  }
  void closeQuery() override { ++closes; }

  bool canOpen = true;
  std::vector<Value> samples;
  std::vector<std::wstring> paths;
  int collects = 0, closes = 0;
};

class FakeMemoryInfo final : public platform::MemoryInfo {
 public:
  bool status(platform::MemorySample& s) override {
    if (fails) s.totalPhys = 12345;  // junk a failing call might leave behind
    else s = sample;
    return !fails;
  }
  platform::MemorySample sample;
  bool fails = false;
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
  int findRow(const std::wstring& key) override {
    const auto it = std::find_if(rows.begin(), rows.end(), [&](const Row& r) { return r.key == key; });
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
  }
  int addRow(const std::wstring& key, const std::wstring& text) override {
    if (refuseAdds || findRow(key) >= 0) return -1;
    ++writes;
    rows.push_back(Row{key, text, L"", L"", {}});
    return rowCount() - 1;
  }
  void removeRow(int row) override {
    ++writes;
    rows.erase(rows.begin() + row);
    // Like the list control: the selection stays at its place, so the row
    // that slides up into it becomes the selected one.
    if (selected > row) --selected;
    if (selected >= rowCount()) selected = -1;
  }
  int selectedRow() override { return selected; }
  void clearSelection() override { ++writes, selected = -1; }
  bool hasIcon(int row) override { return !rows.at(row).icon.empty(); }
  void setIcon(int row, const std::wstring& key) override { ++writes, rows.at(row).icon = key; }
  bool addImage(const std::wstring& key, IconHandle icon) override {
    if (images.count(key)) return false;
    images[key] = icon;
    ++writes;
    return true;
  }
  void setText(int row, const std::wstring& t) override { ++writes, rows.at(row).text = t; }
  void setSubItem(int row, int column, const std::wstring& t) override {
    ++writes, rows.at(row).cells[column] = t;
  }
  std::wstring tag(int row) override { return rows.at(row).tag; }
  void setTag(int row, const std::wstring& t) override { ++writes, rows.at(row).tag = t; }

  std::vector<Row> rows;
  std::map<std::wstring, IconHandle> images;
  int selected = -1;
  int writes = 0;
  bool refuseAdds = false;
};

// A language file in the temporary folder holding `mainSection` as its
// [Main] texts, removed again with the object.
class TempLanguage {
 public:
  explicit TempLanguage(const std::string& mainSection)
      : path_((std::filesystem::temp_directory_path() /
               ("dravik-test-" + std::to_string(std::random_device{}()) + ".lng")).string()) {
    std::ofstream(path_, std::ios::binary) << "[LANGUAGE]\r\nCharacterSet=0\r\n[Main]\r\n" << mainSection;
    language_.emplace(profiles, WidePath(path_));
  }
  ~TempLanguage() { std::filesystem::remove(path_); }
  const dravik::Language& language() const { return *language_; }
  FakeProfileFiles profiles;

 private:
  std::string path_;
  std::optional<dravik::Language> language_;
};

}  // namespace fakes
