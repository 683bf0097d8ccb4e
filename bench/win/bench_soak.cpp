// A long run of the real program, run by hand under Wine:
//   bench_soak.exe [minutes, 30 by default] [task windows, 40 by default]
// It starts draviktm.exe (from DRAVIK_PROGRAM_DIR, else ..\program beside
// this file) and task_windows_helper.exe, then, every second, closes the two
// oldest task windows, opens two new ones and retitles four, and every five
// seconds selects the next tab (Processes, Services, Network, Tasks) through
// the tab strip, as a click does, with a Refresh two seconds later. It prints
// the program's handle count and working set at the start, after the
// warm-up (the first fifth of the run, at most two minutes), every minute and
// at the end, then ends the program from its File menu.
//
// Handles are counted in the system's handle table: under Wine the
// per-process counts (GetProcessHandleCount, GetGuiResources) answer 0.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/system_library.h"
#include "support/win/test_support.h"
#include "ui/commands.h"
#include "bench/win/bench_support.h"

namespace {

using bench::OwnFolder;

using testsupport::WaitFor;

// SYSTEM_HANDLE_INFORMATION (information class 16), as ntdll fills it.
struct HandleEntry {
  USHORT pid;
  USHORT creatorBackTraceIndex;
  UCHAR objectType;
  UCHAR attributes;
  USHORT value;
  PVOID object;
  ACCESS_MASK access;
};
struct HandleTable {
  ULONG count;
  HandleEntry entries[1];
};
using QuerySystemInformation = LONG WINAPI(ULONG, PVOID, ULONG, PULONG);

// The entries of the system handle table that belong to `pid`; -1 when the
// table cannot be read.
long HandleCount(DWORD pid) {
  static const platform::win32::SystemLibrary ntdll(L"ntdll.dll");
  static const auto query = ntdll.find<QuerySystemInformation>("NtQuerySystemInformation");
  if (!query) return -1;
  static std::vector<char> buffer(1 << 20);
  constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
  LONG status = 0;
  while ((status = query(16, buffer.data(), static_cast<ULONG>(buffer.size()), nullptr)) == kInfoLengthMismatch) {
    buffer.resize(buffer.size() * 2);
  }
  if (status < 0) return -1;
  const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
  long count = 0;
  for (ULONG i = 0; i < table->count; ++i) count += table->entries[i].pid == static_cast<USHORT>(pid);
  return count;
}

// The working set in KB; -1 when it cannot be read. psapi is loaded when
// first needed, as the program loads it: the build links no import of it.
long WorkingSetKb(HANDLE process) {
  static const platform::win32::SystemLibrary psapi(L"psapi.dll");
  static const auto read = psapi.find<decltype(::GetProcessMemoryInfo)>("GetProcessMemoryInfo");
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  if (!read || !read(process, &counters, sizeof(counters))) return -1;
  return static_cast<long>(counters.WorkingSetSize / 1024);
}

struct Sample {
  long handles = 0;
  long workingSetKb = 0;
};

// `networkRows`: the connection list follows the whole machine, whose other
// programs may open thousands of connections meanwhile.
Sample Print(const char* when, double minutes, const testsupport::ChildProcess& program, int windowsOpened,
             int networkRows) {
  const Sample s{HandleCount(program.pid()), WorkingSetKb(program.handle())};
  std::printf("%-10s %6.1f min  %5ld handles  %7ld KB working set  %6d task windows opened  %5d network rows\n",
              when, minutes, s.handles, s.workingSetKb, windowsOpened, networkRows);
  std::fflush(stdout);
  return s;
}

// The helper's windows, oldest (lowest number in "Soak <n>...") first.
std::vector<std::pair<int, HWND>> TaskWindows(DWORD helper) {
  std::vector<std::pair<int, HWND>> found;
  for (HWND w : testsupport::WindowsOf(helper, L"DravikTaskHelper")) {
    int number = 0;
    if (std::swscanf(testsupport::WindowText(w).c_str(), L"Soak %d", &number) == 1) found.emplace_back(number, w);
  }
  std::sort(found.begin(), found.end());
  return found;
}

bool Answers(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 30000, &result) != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int minutes = argc > 1 ? std::max(1, _wtoi(argv[1])) : 30;
  const int windows = argc > 2 ? std::max(4, _wtoi(argv[2])) : 40;
  const double warmUpMinutes = std::min(2.0, minutes / 5.0);
  wchar_t unused[2];
  if (!::GetEnvironmentVariableW(L"DRAVIK_PROGRAM_DIR", unused, 2)) {
    ::SetEnvironmentVariableW(L"DRAVIK_PROGRAM_DIR", (OwnFolder() + L"\\..\\program").c_str());
  }
  if (::FindWindowW(L"DravikTaskManagerMain", nullptr)) {
    std::fprintf(stderr, "the program is running already: end it first\n");
    return 2;
  }

  auto helper = testsupport::Start(OwnFolder() + L"\\task_windows_helper.exe", L"Soak " + std::to_wstring(windows));
  if (!WaitFor([&] { return static_cast<int>(TaskWindows(helper.pid()).size()) >= windows; }, std::chrono::seconds(60))) {
    std::fprintf(stderr, "the helper's task windows did not appear\n");
    return 2;
  }
  auto program = testsupport::Start(testsupport::ProgramPath());
  HWND main = nullptr;
  if (!WaitFor([&] {
        const auto mains = testsupport::WindowsOf(program.pid(), L"DravikTaskManagerMain");
        main = mains.empty() ? nullptr : mains[0];
        return main && ::IsWindowVisible(main);
      }, std::chrono::seconds(60))) {
    std::fprintf(stderr, "the program showed no main window\n");
    return 2;
  }
  const HWND tabs = testsupport::Descendant(main, WC_TABCONTROLW, -1);
  ::Sleep(3000);  // its first ticks
  std::printf("soak: %d min, %d task windows, 2 replaced and 4 retitled a second, a tab every 5 s\n", minutes, windows);
  int opened = windows;
  int rows[dravik::kTabCount] = {};  // each list's rows when last shown
  Print("start", 0, program, opened, 0);

  const DWORD begin = ::GetTickCount();
  auto elapsedMinutes = [&] { return (::GetTickCount() - begin) / 60000.0; };
  Sample warm{};
  bool warmed = false;
  int openedWarm = opened;
  int nextMinute = 1, second = 0, tab = 1, longestAnswerMs = 0;
  while (elapsedMinutes() < minutes) {
    const DWORD tickStart = ::GetTickCount();
    auto current = TaskWindows(helper.pid());
    for (std::size_t i = 0; i < 2 && i < current.size(); ++i) ::PostMessageW(current[i].second, WM_APP + 3, 0, 0);
    if (!current.empty()) {
      ::PostMessageW(current.back().second, WM_APP + 2, 0, 0);
      ::PostMessageW(current.back().second, WM_APP + 2, 0, 0);
      opened += 2;
    }
    for (std::size_t i = 2; i < 6 && i < current.size(); ++i) {
      const std::wstring title = L"Soak " + std::to_wstring(current[i].first) + L" retitled " + std::to_wstring(second);
      Answers(current[i].second, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
    }
    if (second % 5 == 0) {
      Answers(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(tab));  // 0-based: Tasks is 0
      tab = (tab + 1) % dravik::kTabCount;
    } else if (second % 5 == 2) {
      // The rows the selection gave, before the Refresh rebuilds them once more.
      const int shown = (tab + dravik::kTabCount - 1) % dravik::kTabCount;
      DWORD_PTR count = 0;
      if (HWND list = testsupport::Descendant(main, WC_LISTVIEWW, 10 + shown)) {
        ::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 30000, &count);
      }
      rows[shown] = static_cast<int>(count);
      ::PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(dravik::Command::Refresh), 0);
    }
    const DWORD asked = ::GetTickCount();
    if (!Answers(main, WM_NULL)) {
      std::fprintf(stderr, "the program stopped answering\n");
      return 1;
    }
    longestAnswerMs = std::max(longestAnswerMs, static_cast<int>(::GetTickCount() - asked));
    ++second;
    if (!warmed && elapsedMinutes() >= warmUpMinutes) {
      warm = Print("warmed up", elapsedMinutes(), program, opened, rows[3]);
      warmed = true;
      openedWarm = opened;
    }
    if (elapsedMinutes() >= nextMinute && nextMinute < minutes) {
      // Not when the warm-up's line was just printed for this same moment.
      if (opened != openedWarm) {
        Print("", elapsedMinutes(), program, opened, rows[3]);
      }
      ++nextMinute;
    }
    const DWORD spent = ::GetTickCount() - tickStart;
    if (spent < 1000) ::Sleep(1000 - spent);
  }
  // The list settles on the windows left before the last figures.
  ::Sleep(3000);
  const Sample end = Print("end", elapsedMinutes(), program, opened, rows[3]);
  const int added = opened - openedWarm;
  // A 16 x 16 picture of 32 bits with its 1-bit mask: 1024 + 32 bytes kept in
  // the Tasks image list for each task window ever listed.
  const double imageListKb = added * (16 * 16 * 4 + 16 * 16 / 8) / 1024.0;
  std::printf("after warm-up: %+ld handles, %+ld KB working set; %d new task windows, whose pictures the Tasks "
              "image list keeps: about %.0f KB\n",
              end.handles - warm.handles, end.workingSetKb - warm.workingSetKb, added, imageListKb);
  std::printf("longest answer to WM_NULL after a step: %d ms\n", longestAnswerMs);
  std::printf("rows when last shown: tasks %d, processes %d, services %d, network %d\n", rows[0], rows[1], rows[2],
              rows[3]);

  ::PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(dravik::Command::Exit), 0);
  if (!program.waitForExit(15000)) std::fprintf(stderr, "the program did not end from File > Exit\n");
  helper.kill();
  return 0;
}
