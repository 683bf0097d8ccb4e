#include "support/win/network_load.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>

#include "support/win/loopback_server.h"

namespace testsupport {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

int RowCount(HWND list) {
  DWORD_PTR rows = 0;
  return ::SendMessageTimeoutW(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 5000, &rows) ? static_cast<int>(rows) : -1;
}

}  // namespace

NetworkLoadFigures MeasureNetworkLoad(int connections, int changed) {
  NetworkLoadFigures figures;
  LoopbackConnections sockets(connections);
  if (sockets.count() != connections) {
    figures.failure = "only " + std::to_string(sockets.count()) + " loopback connections could be opened";
    return figures;
  }
  ChildProcess program = Start(ProgramPath());
  HWND main = nullptr;
  const bool shown = WaitFor([&] {
    for (HWND w : WindowsOf(program.pid(), L"DravikTaskManagerMain")) {
      if (::IsWindowVisible(w)) main = w;
    }
    return main != nullptr;
  }, 30s);
  const HWND tabs = shown ? Descendant(main, WC_TABCONTROLW, -1) : nullptr;
  const HWND list = shown ? Descendant(main, WC_LISTVIEWW, 13) : nullptr;
  if (!tabs || !list) {
    figures.failure = "the program showed no main window with its tab strip and Network list";
    return figures;
  }

  // The start-up is not what is measured.
  ::WaitForInputIdle(program.handle(), 10000);
  // WM_NULL sent every 20 ms from a thread of its own; the longest wait for an answer is kept.
  std::atomic<bool> stop{false};
  Thread watch([&] {
    while (!stop) {
      const auto start = Clock::now();
      DWORD_PTR result = 0;
      if (!::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result)) return;
      figures.longestUnansweredMs = std::max(figures.longestUnansweredMs, Ms(Clock::now() - start));
      ++figures.answers;
      ::Sleep(20);
    }
  });
  // As a click on the tab would: the tab strip tells the main window.
  const auto selected = Clock::now();
  ::PostMessageW(tabs, TCM_SETCURFOCUS, 3, 0);
  if (!WaitFor([&] { return RowCount(list) >= 2 * connections; }, 120s)) {
    figures.failure = "the Network list never showed the connections";
  } else {
    figures.loadMs = Ms(Clock::now() - selected);
    figures.rowsLoaded = RowCount(list);
    const auto change = Clock::now();
    sockets.close(changed);
    if (!WaitFor([&] { return RowCount(list) < figures.rowsLoaded; }, 120s)) {
      figures.failure = "the Network list was not rebuilt after connections closed";
    } else {
      figures.rebuildMs = Ms(Clock::now() - change);
      // The rebuilt list may still be filling: its count settles when it is done.
      WaitFor([&] { return RowCount(list) <= figures.rowsLoaded - 2 * changed; }, 10s);
      figures.rowsRebuilt = RowCount(list);
    }
  }
  stop = true;
  watch.join();  // the watch writes its two figures until then
  return figures;
}

}  // namespace testsupport
