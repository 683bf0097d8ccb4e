#pragma once
// Doubles of the task windows, the performance counters, the memory status and
// the locale, where Wine cannot show the real thing (other processes' icons,
// 16-bit tasks, the per-processor counter).
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
  IconHandle classSmallIcon = 0;
  bool hung = false;  // every timed message fails
};

// Windows that give no icons of their own, as other processes' windows under Wine.
class FakeTaskWindows final : public platform::TaskWindows {
 public:
  // Adds on top of the z-order (the first the walk meets is the last added).
  FakeWindow& add(FakeWindow w) {
    zOrder.insert(zOrder.begin(), w.handle);
    return windows[w.handle] = std::move(w);
  }
  void destroy(WindowHandle h) { windows.erase(h), std::erase(zOrder, h); }

  bool exists(WindowHandle w) override { return windows.count(w) != 0; }
  bool visible(WindowHandle w) override { return find(w).visible; }
  WindowHandle parent(WindowHandle w) override { return find(w).parent; }
  WindowHandle owner(WindowHandle w) override { return find(w).owner; }
  std::uint32_t extendedStyle(WindowHandle w) override { return find(w).exStyle; }
  std::wstring className(WindowHandle w) override { return exists(w) ? L"Window" : L""; }
  WindowHandle topWindow() override { return zOrder.empty() ? 0 : zOrder.front(); }
  WindowHandle nextWindow(WindowHandle w) override {
    auto it = std::find(zOrder.begin(), zOrder.end(), w);
    return it == zOrder.end() || ++it == zOrder.end() ? 0 : *it;
  }
  void enumerate(const std::function<bool(WindowHandle)>& visit) override {
    for (WindowHandle w : std::vector(zOrder)) {
      if (!visit(w)) return;
    }
  }
  std::optional<std::intptr_t> textLength(WindowHandle w, unsigned) override {
    return answers(w, 0) ? std::optional<std::intptr_t>(find(w).caption.size()) : std::nullopt;
  }
  std::optional<std::wstring> text(WindowHandle w, std::size_t chars, unsigned) override {
    return answers(w, 0) && chars ? std::optional(find(w).caption.substr(0, chars - 1)) : std::nullopt;
  }
  std::optional<IconHandle> messageIcon(WindowHandle w, bool, unsigned) override {
    return answers(w, 0) ? std::optional<IconHandle>(0) : std::nullopt;
  }
  IconHandle classIcon(WindowHandle w, bool small) override { return small ? find(w).classSmallIcon : 0; }
  bool answers(WindowHandle w, unsigned) override { return exists(w) && !windows[w].hung; }
  std::uint32_t processOf(WindowHandle w) override { return find(w).pid; }
  bool postClose(WindowHandle w) override {
    closesPosted.push_back(w);
    return exists(w);
  }
  bool minimized(WindowHandle) override { return false; }
  void restore(WindowHandle) override {}
  void setForeground(WindowHandle) override {}
  WindowHandle foreground() override { return 0; }
  IconHandle stockIcon(platform::StockIcon which) override { return static_cast<IconHandle>(which) + 0x7F00; }

  std::map<WindowHandle, FakeWindow> windows;
  std::vector<WindowHandle> zOrder;  // top first
  std::vector<WindowHandle> closesPosted;

 private:
  // A window that is gone reads as nothing.
  FakeWindow find(WindowHandle w) {
    FakeWindow gone;
    gone.pid = 0, gone.visible = false;
    return exists(w) ? windows[w] : gone;
  }
};

class FakePerformanceCounters final : public platform::PerformanceCounters {
 public:
  bool openQuery() override { return canOpen; }
  std::uintptr_t addCounter(const std::wstring& path) override {
    paths.push_back(path);
    return 0x51;
  }
  long collect() override { return 0; }
  // Hands out `samples` in turn; an invalid status when none is left.
  Value doubleValue(std::uintptr_t) override {
    if (samples.empty()) return {0, -1};
    const Value v = samples.front();
    samples.erase(samples.begin());
    return v;
  }
  void closeQuery() override {}

  bool canOpen = true;
  std::vector<Value> samples;
  std::vector<std::wstring> paths;
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
