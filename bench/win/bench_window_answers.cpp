// How long the real program's main window goes without answering while its
// Network tab lists many loopback connections and is rebuilt after some of
// them close. Run by hand under Wine, with DRAVIK_PROGRAM_DIR naming the
// program folder:
//
//   bench_window_answers.exe [connections, default 1000] [closed, default 10]
//
// Prints the longest time a WM_NULL, sent every 20 ms, waited for its answer.
#include <cstdio>
#include <cwchar>

#include "support/win/network_load.h"

int wmain(int argc, wchar_t** argv) {
  const int connections = argc > 1 ? _wtoi(argv[1]) : 1000;
  const int closed = argc > 2 ? _wtoi(argv[2]) : 10;
  const testsupport::NetworkLoadFigures f = testsupport::MeasureNetworkLoad(connections, closed);
  if (!f.failure.empty()) {
    std::fprintf(stderr, "failed: %s\n", f.failure.c_str());
    return 1;
  }
  std::printf("%d loopback connections, Network tab selected, then %d closed:\n", connections, closed);
  std::printf("  rows listed              %6d, then %d\n", f.rowsLoaded, f.rowsRebuilt);
  std::printf("  list filled after        %8.0f ms\n", f.loadMs);
  std::printf("  rebuilt after the change %8.0f ms\n", f.rebuildMs);
  std::printf("  WM_NULL answered         %6d times\n", f.answers);
  std::printf("  longest unanswered       %8.0f ms (target < 250)\n", f.longestUnansweredMs);
  return 0;
}
