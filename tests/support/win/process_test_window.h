#pragma once
// The stand-in main window of the Tasks and Processes tests: real message
// boxes, answered by the tests.
#include "support/win/tab_test_window.h"
#include "support/win/ui_test_support.h"

namespace processtest {

class TestWindow : public tabtest::TabWindow {
 public:
  explicit TestWindow(int columns) : TabWindow(dravik::Tab::Tasks, columns, false) {}
};

}  // namespace processtest
