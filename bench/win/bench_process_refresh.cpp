// Measures one rebuild of the process list under the real instrumentation,
// shell and list view, next to the platform calls it is made of: the bare
// query of the fourteen properties and the bare shell-icon lookups.
//
//   bench_process_refresh.exe [extra processes, default 200] [rounds, default 5]
//
// First with the processes that run now, then with the extra idle processes
// started beside them. Prints milliseconds (median of the rounds) and the
// median ratio of the rebuild to the platform calls together.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/win32_process_control.h"
#include "platform/win32/win32_process_query.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_shell_files.h"
#include "platform/win32/win32_window_manager.h"
#include "processes/process_list.h"
#include "processes/win/processes_tab.h"
#include "bench/win/bench_support.h"

namespace {

using bench::Clock;
using bench::Milliseconds;
using bench::OwnFolder;

HWND CreateProcessList(HWND parent) {
  HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 900,
                                500, parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  for (int i = 0; i < static_cast<int>(dravik::kProcessFieldCount); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.cx = 80;
    column.pszText = const_cast<wchar_t*>(dravik::ProcessProperties()[static_cast<std::size_t>(i)].c_str());
    column.iSubItem = i;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
  }
  return list;
}

// No icons at all: what the rows alone cost in the list view.
class NoIcons final : public platform::ShellFiles {
 public:
  platform::SystemIcon smallIcon(const std::wstring&) override { return {}; }
  bool showProperties(const std::wstring&) override { return false; }
};

// The real platform, timed: how much of a rebuild is spent in its platform
// calls. Made on the tab's worker thread, with a connection of its own.
class TimedQuery final : public platform::ProcessQuery {
 public:
  explicit TimedQuery(Clock::duration& spent) : spent(spent) {}
  bool forEachObject(const std::wstring& wql, const std::vector<std::wstring>& properties,
                     const std::function<void(const std::vector<platform::PropertyValue>&)>& visit)
      override {
    // The visitor's own work (building the rows) is not the query's.
    Clock::duration inVisit{};
    const auto start = Clock::now();
    const bool ok = real_.forEachObject(wql, properties, [&](const auto& values) {
      const auto visitStart = Clock::now();
      visit(values);
      inVisit += Clock::now() - visitStart;
    });
    spent += Clock::now() - start - inVisit;
    return ok;
  }
  Clock::duration& spent;

 private:
  platform::win32::Win32ProcessQuery real_;
};

// Asks the tab for a rebuild and handles messages until it has shown.
void Rebuild(dravik::ProcessesTab& tab) {
  tab.refresh();
  MSG msg;
  while (tab.busy() && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

class TimedShell final : public platform::ShellFiles {
 public:
  explicit TimedShell(platform::ShellFiles& real) : real_(real) {}
  platform::SystemIcon smallIcon(const std::wstring& path) override {
    const auto start = Clock::now();
    const auto icon = real_.smallIcon(path);
    spent += Clock::now() - start;
    return icon;
  }
  bool showProperties(const std::wstring& path) override { return real_.showProperties(path); }
  Clock::duration spent{};

 private:
  platform::ShellFiles& real_;
};

struct Bench {
  HWND window;
  HWND list;
  dravik::AppContext context;
  platform::win32::Win32ProcessQuery query;
  platform::win32::Win32ShellFiles shell;
  platform::win32::Win32ProcessControl control;
  int rounds;

  void measure(const char* title) {
    Clock::duration querySpent{};
    TimedShell timedShell(shell);
    dravik::ProcessesTab tab(context, list,
                             {[&querySpent] { return std::make_unique<TimedQuery>(querySpent); }, timedShell, control},
                             platform::win32::UserGroupSeparator());
    NoIcons none;
    dravik::ProcessesTab rowsOnly(
        context, list, {[] { return std::make_unique<platform::win32::Win32ProcessQuery>(); }, none, control}, L",");
    // The steps take turns in every round, so that a slow moment of the
    // machine weighs on all of them alike.
    std::vector<double> wmi, icons, rebuild, ratio, withoutIcons, insideQuery, insideIcons;
    std::size_t processes = 0;
    for (int round = 0; round < rounds; ++round) {
      std::vector<std::wstring> paths;
      auto start = Clock::now();
      query.forEachObject(dravik::kProcessQueryText, dravik::ProcessProperties(),
                          [&](const std::vector<platform::PropertyValue>& values) {
                            paths.push_back(dravik::PropertyText(values[dravik::process_field::kPath]));
                          });
      wmi.push_back(Milliseconds(Clock::now() - start));
      processes = paths.size();
      start = Clock::now();
      for (const auto& path : paths) shell.smallIcon(path);
      icons.push_back(Milliseconds(Clock::now() - start));
      querySpent = {};
      timedShell.spent = {};
      start = Clock::now();
      Rebuild(tab);
      rebuild.push_back(Milliseconds(Clock::now() - start));
      insideQuery.push_back(Milliseconds(querySpent));
      insideIcons.push_back(Milliseconds(timedShell.spent));
      ratio.push_back(rebuild.back() / (wmi.back() + icons.back()));
      start = Clock::now();
      Rebuild(rowsOnly);
      withoutIcons.push_back(Milliseconds(Clock::now() - start));
    }
    const auto median = [](std::vector<double> v) {
      std::sort(v.begin(), v.end());
      return v[v.size() / 2];
    };
    std::printf(
        "%s: %zu processes, %d rounds (median ms)\n"
        "  bare query, 14 properties   %8.2f\n"
        "  bare shell-icon lookups     %8.2f\n"
        "  RefreshProcessList          %8.2f   ratio to the platform calls %.2f (target <= 1.50)\n"
        "    of which: query %.2f, icon lookups %.2f, rows and images %.2f\n"
        "  (rebuild without icons      %8.2f)\n",
        title, processes, rounds, median(wmi), median(icons), median(rebuild), median(ratio),
        median(insideQuery), median(insideIcons),
        median(rebuild) - median(insideQuery) - median(insideIcons), median(withoutIcons));
    std::fflush(stdout);
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int extra = argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 200;
  const int rounds = std::max(1, argc > 2 ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 5);

  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  HWND window = ::CreateWindowExW(0, L"STATIC", L"Process refresh benchmark",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 920, 540, nullptr,
                                  nullptr, ::GetModuleHandleW(nullptr), nullptr);
  platform::win32::Win32ProfileFiles profiles;
  dravik::Language language(profiles, OwnFolder() + L"\\bench-missing.lng");
  dravik::MessageTexts messages;
  platform::win32::Win32UserInterface ui;

  Bench bench{window, CreateProcessList(window), {}, {}, {}, {}, rounds};
  bench.context.instance = ::GetModuleHandleW(nullptr);
  bench.context.mainWindow = window;
  bench.context.language = &language;
  bench.context.messages = &messages;
  bench.context.ui = &ui;
  bench.context.setStatusPanel = [](int, const std::wstring&) {};

  const auto connectStart = Clock::now();
  bench.query.forEachObject(dravik::kProcessQueryText, {L"Caption"},
                            [](const std::vector<platform::PropertyValue>&) {});
  std::printf("first connection and query: %.2f ms (not in the figures below)\n",
              Milliseconds(Clock::now() - connectStart));

  bench.measure("processes running now");

  if (extra > 0) {
    const std::wstring child = OwnFolder() + L"\\processes_idle_child.exe";
    std::vector<platform::win32::UniqueKernelHandle> children;
    const auto startAll = Clock::now();
    for (int i = 0; i < extra; ++i) {
      std::wstring command = L"\"" + child + L"\" 600";
      STARTUPINFOW startup{};
      startup.cb = sizeof(startup);
      PROCESS_INFORMATION info{};
      if (::CreateProcessW(child.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &info)) {
        ::CloseHandle(info.hThread);
        children.emplace_back(info.hProcess);
      }
    }
    // Give the new processes time to be seen by the instrumentation.
    ::Sleep(2000);
    std::printf("started %zu extra processes in %.0f ms\n", children.size(),
                Milliseconds(Clock::now() - startAll));
    bench.measure("with the extra processes");
    for (auto& process : children) ::TerminateProcess(process.get(), 0);
  }
  ::DestroyWindow(window);
  return 0;
}
