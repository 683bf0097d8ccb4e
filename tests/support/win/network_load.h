#pragma once
// The real program with many loopback connections open and its Network tab
// selected: how long its main window goes without answering while the list
// loads and while it is rebuilt after a change. The Wine test holds it to a
// bound; the benchmark prints it.
#include <string>

namespace testsupport {

struct NetworkLoadFigures {
  // The longest time a WM_NULL sent to the main window (one every 20 ms, from
  // a thread of its own) waited for its answer, from the tab's selection to
  // the end of the rebuild.
  double longestUnansweredMs = 0;
  int answers = 0;      // WM_NULL messages answered meanwhile
  int rowsLoaded = 0;   // rows of the list once it filled
  int rowsRebuilt = 0;  // rows once the rebuild after the change showed
  double loadMs = 0;    // from the selection to the full list
  double rebuildMs = 0; // from the change to the rebuilt list
  std::string failure;  // the step that did not happen; empty when all did
};

// Opens `connections` loopback connections, starts the program, selects its
// Network tab and waits for their rows; then resets `changed` of them and
// waits for the rows to go.
NetworkLoadFigures MeasureNetworkLoad(int connections, int changed);

}  // namespace testsupport
