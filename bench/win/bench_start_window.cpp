// Measures how long the program takes from its start to its first visible
// window, next to the system's own task manager started the same way in the
// same run: the two are started in turn, each ended by force before the next.
//
//   bench_start_window.exe [rounds, default 9] [program ...]
//
// The programs default to ..\program\draviktm.exe; given several (two builds
// of it, say), all are measured in the same rounds. For each program it
// prints milliseconds from CreateProcess to a visible
// top-level window of the new process, and on to the first answer of that
// window to a sent WM_NULL (its thread taking messages again): the median,
// lowest and highest of the rounds, after one unmeasured round of each that
// brings their files into the cache.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/win32/handles.h"
#include "bench/win/bench_support.h"

namespace {

using bench::Clock;
using bench::Milliseconds;
using bench::OwnFolder;

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !::IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

struct Start {
  double visible = -1;   // ms; negative when no window came
  double answered = -1;  // ms
};

Start StartOnce(const std::wstring& exe) {
  std::wstring command = L"\"" + exe + L"\"";
  const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  Start result;
  const auto begin = Clock::now();
  if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info)) {
    std::fprintf(stderr, "cannot start %ls (error %lu)\n", exe.c_str(), ::GetLastError());
    return result;
  }
  platform::win32::UniqueKernelHandle process(info.hProcess);
  platform::win32::UniqueKernelHandle thread(info.hThread);
  Search search{info.dwProcessId, nullptr};
  const auto giveUp = begin + std::chrono::seconds(30);
  while (!search.found && Clock::now() < giveUp &&
         ::WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
    ::EnumWindows(&FindVisible, reinterpret_cast<LPARAM>(&search));
    if (!search.found) ::Sleep(1);
  }
  if (search.found) {
    result.visible = Milliseconds(Clock::now() - begin);
    DWORD_PTR ignored = 0;
    if (::SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored)) {
      result.answered = Milliseconds(Clock::now() - begin);
    }
  }
  ::TerminateProcess(process.get(), 0);
  ::WaitForSingleObject(process.get(), 10000);
  ::Sleep(300);  // the system's own clean-up after the process is not the next start's
  return result;
}

struct Figures {
  double median, low, high;
};

Figures Summary(std::vector<double> values) {
  if (values.empty()) return {-1, -1, -1};
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

struct Candidate {
  std::wstring exe;
  std::vector<double> visible, answered;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = std::max(1, argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 9);
  std::vector<std::wstring> programs(argv + std::min(argc, 2), argv + argc);
  if (programs.empty()) programs.push_back(OwnFolder() + L"\\..\\program\\draviktm.exe");
  std::vector<Candidate> candidates;
  for (const std::wstring& program : programs) {
    wchar_t full[MAX_PATH] = {};
    candidates.push_back({::GetFullPathNameW(program.c_str(), MAX_PATH, full, nullptr) ? full : program, {}, {}});
  }
  wchar_t system[MAX_PATH] = {};
  ::GetSystemDirectoryW(system, MAX_PATH);
  candidates.push_back({std::wstring(system) + L"\\taskmgr.exe", {}, {}});
  for (Candidate& c : candidates) {
    if (StartOnce(c.exe).visible < 0) {
      std::fprintf(stderr, "%ls showed no window\n", c.exe.c_str());
      return 2;
    }
  }
  for (int round = 0; round < rounds; ++round) {
    // Which one goes first changes every round.
    for (std::size_t k = 0; k < candidates.size(); ++k) {
      Candidate& c = candidates[(k + static_cast<std::size_t>(round)) % candidates.size()];
      const Start s = StartOnce(c.exe);
      if (s.visible >= 0) c.visible.push_back(s.visible);
      if (s.answered >= 0) c.answered.push_back(s.answered);
    }
  }

  std::printf("start to visible window and to its first answer, ms (median [lowest, highest] of %d rounds)\n",
              rounds);
  const double taskmgr = Summary(candidates.back().visible).median;
  for (const Candidate& c : candidates) {
    const Figures v = Summary(c.visible), a = Summary(c.answered);
    std::printf("%ls\n  visible %7.1f [%7.1f, %7.1f]   answers %7.1f [%7.1f, %7.1f]   shown %zu/%d   visible / taskmgr's %.2f\n",
                c.exe.c_str(), v.median, v.low, v.high, a.median, a.low, a.high, c.visible.size(), rounds,
                taskmgr > 0 ? v.median / taskmgr : 0.0);
  }
  return 0;
}
