// Measures what one tick of the refresh timer costs next to the bare
// platform calls it has to make, with 20 and with 100 task windows of another
// process. Run by hand, not by the test runner:
//   bench_task_refresh.exe [ticks per block, 20 by default; five blocks of each are run]
// It starts task_windows_helper.exe from its own folder.
#include <windows.h>
#include <commctrl.h>
#include <pdh.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "app/win/refresh_timer.h"
#include "platform/win32/win32_profile_files.h"
#include "tasks/win/tasks_tab.h"
#include "bench/win/bench_support.h"

namespace {

using bench::OwnFolder;

// End Task is not measured: no question is ever asked.
class NoQuestions final : public platform::UserInterface {
 public:
  int messageBox(const std::wstring&, const std::wstring&, unsigned) override {
    return platform::mb::kAnswerNo;
  }
  void pumpMessages() override {}
};

double ThreadCpuMs() {
  FILETIME created, exited, kernel, user;
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           10000.0;
  };
  return ms(kernel) + ms(user);
}

double WallMs() {
  LARGE_INTEGER now, frequency;
  ::QueryPerformanceCounter(&now);
  ::QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

int VisibleWindowsOf(DWORD pid) {
  struct Count {
    DWORD pid;
    int n;
  } count{pid, 0};
  ::EnumWindows(
      [](HWND w, LPARAM data) -> BOOL {
        auto* c = reinterpret_cast<Count*>(data);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(w, &owner);
        if (owner == c->pid && ::IsWindowVisible(w)) ++c->n;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count.n;
}

// The platform calls of one tick, made bare: the check of every listed row,
// the z-order walk with the task test, the timed messages to every task, the
// probe, the memory status and the counter sample.
void BarePass(PDH_HQUERY query, UINT timeout) {
  int tasks = 0;
  for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(w) || ::GetParent(w)) continue;
    HWND owner = reinterpret_cast<HWND>(::GetWindowLongPtrW(w, GWLP_HWNDPARENT));
    if (owner && !(::GetWindowLongW(owner, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) continue;
    if (::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) continue;
    HWND target = owner ? owner : w;
    DWORD_PTR length = 0, icon = 0, ignored = 0;
    if (!::SendMessageTimeoutW(target, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, timeout,
                               &length) ||
        length == 0) {
      continue;
    }
    std::wstring text(length + 1, L'\0');
    ::SendMessageTimeoutW(target, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, timeout, &ignored);
    for (WPARAM kind : {ICON_BIG, ICON_SMALL}) {
      if (::SendMessageTimeoutW(target, WM_GETICON, kind, 0, SMTO_ABORTIFHUNG, timeout, &icon) &&
          icon == 0) {
        ::GetClassLongPtrW(target, kind == ICON_BIG ? GCLP_HICON : GCLP_HICONSM);
      }
    }
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    ::SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeout, &ignored);
    // The refresh asks whether each known task's window still exists, and
    // its row check runs the task test once more.
    ::IsWindow(w);
    ::IsWindowVisible(w);
    ::GetParent(w);
    ::GetWindowLongPtrW(w, GWLP_HWNDPARENT);
    ::GetWindowLongW(w, GWL_EXSTYLE);
    ++tasks;
  }
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof(memory);
  ::GlobalMemoryStatusEx(&memory);
  ::PdhCollectQueryData(query);
}

void Measure(int windows, int ticks, const std::wstring& languageFile) {
  const std::wstring helper = OwnFolder() + L"\\task_windows_helper.exe";
  std::wstring command = L"\"" + helper + L"\" Bench " + std::to_wstring(windows);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(helper.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
    std::fprintf(stderr, "cannot start %ls\n", helper.c_str());
    std::exit(2);
  }
  for (int i = 0; i < 300 && VisibleWindowsOf(process.dwProcessId) < windows; ++i) ::Sleep(50);
  if (VisibleWindowsOf(process.dwProcessId) < windows) {
    std::fprintf(stderr, "the helper's windows did not appear\n");
    std::exit(2);
  }

  HWND main =
      ::CreateWindowExW(0, L"STATIC", L"Dravik Task Manager", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600,
                        400, 400, 300, nullptr, nullptr, nullptr, nullptr);
  HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 380,
                                240, main, nullptr, nullptr, nullptr);
  HWND status = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, main,
                                  nullptr, nullptr, nullptr);
  for (int i = 0; i < 4; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 90;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }
  int edges[] = {100, 200, 300, -1};
  ::SendMessageW(status, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(edges));

  platform::win32::Win32ProfileFiles profiles;
  dravik::Language language(profiles, languageFile);
  dravik::MessageTexts messages;
  NoQuestions ui;
  dravik::AppContext context;
  context.instance = ::GetModuleHandleW(nullptr);
  context.mainWindow = main;
  context.language = &language;
  context.messages = &messages;
  context.ui = &ui;
  context.setStatusPanel = [status](int panel, const std::wstring& text) {
    ::SendMessageW(status, SB_SETTEXTW, panel - 1, reinterpret_cast<LPARAM>(text.c_str()));
  };
  context.selectedTab = [] { return dravik::Tab::Tasks; };
  auto tab = std::make_unique<dravik::TasksTab>(context, list, [](std::uint32_t) { return L""; });
  dravik::RefreshTimer timer(context, *tab);
  timer.openProcessorCounter();
  timer.tick();  // fills the list
  Pump();

  PDH_HQUERY query = nullptr;
  ::PdhOpenQueryW(nullptr, 1, &query);
  // Blocks of ticks and of bare passes take turns, so that load from other
  // programs falls on both alike; the thread's CPU clock is coarse, so each
  // block is long enough for it.
  constexpr int kBlocks = 5;
  const long writesBefore = tab->rows().writes();
  double tickCpu = 0, tickWall = 0, bareCpu = 0, bareWall = 0;
  for (int block = 0; block < kBlocks; ++block) {
    double cpu = ThreadCpuMs(), wall = WallMs();
    for (int i = 0; i < ticks; ++i) timer.tick();
    tickCpu += ThreadCpuMs() - cpu;
    tickWall += WallMs() - wall;
    cpu = ThreadCpuMs();
    wall = WallMs();
    for (int i = 0; i < ticks; ++i) BarePass(query, dravik::TasksTab::kHungTimeoutMs);
    bareCpu += ThreadCpuMs() - cpu;
    bareWall += WallMs() - wall;
  }
  const long quietWrites = tab->rows().writes() - writesBefore;
  ::PdhCloseQuery(query);
  const int passes = kBlocks * ticks;
  tickCpu /= passes;
  tickWall /= passes;
  bareCpu /= passes;
  bareWall /= passes;

  std::printf(
      "%4d helper windows, %3d list rows: tick %7.3f ms CPU (%7.3f ms wall) | bare calls "
      "%7.3f ms CPU (%7.3f ms wall) | ratio %.2f | list writes in %d unchanged ticks: %ld\n",
      windows, tab->rowCount(), tickCpu, tickWall, bareCpu, bareWall,
      bareCpu > 0 ? tickCpu / bareCpu : 0.0, passes, quietWrites);
  std::fflush(stdout);

  timer.closeProcessorCounter();
  tab.reset();
  ::DestroyWindow(main);
  ::TerminateProcess(process.hProcess, 0);
  ::WaitForSingleObject(process.hProcess, 5000);
  ::CloseHandle(process.hProcess);
  ::CloseHandle(process.hThread);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int ticks = argc > 1 ? std::max(1, _wtoi(argv[1])) : 20;
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  ::InitCommonControlsEx(&init);
  wchar_t dir[MAX_PATH];
  ::GetTempPathW(MAX_PATH, dir);
  const std::wstring languageFile = std::wstring(dir) + L"dravik-bench.lng";
  std::ofstream(languageFile.c_str(), std::ios::binary)
      << "[Main]\r\n68=CPU Usage\r\n70=Mem Usage\r\n72=Available\r\n74=Tasks\r\n77=Running\r\n"
         "78=Not Responding\r\n";
  for (int windows : {20, 100}) Measure(windows, ticks, languageFile);
  ::DeleteFileW(languageFile.c_str());
  return 0;
}
