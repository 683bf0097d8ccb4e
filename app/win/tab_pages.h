#pragma once
// The four tab pages and the work the main window's one-second timer does,
// made from the lists the main window created.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "ui/win/tab_page.h"

namespace dravik {

struct TabPageSet {
  // What the pages share and hold on to (the system objects they act
  // through); declared first so that it outlives the pages.
  std::shared_ptr<void> resources;
  // By tab: Tasks, Processes, Services, Network.
  std::array<std::unique_ptr<TabPage>, 4> pages;
  // Each tick of the main timer, once a second from load to unload, whether
  // or not the window is shown: the task list and the figure panels.
  std::function<void()> timerTick;
  // Once, when the load has sized the window: opens what the figure panels
  // need and writes them the first time.
  std::function<void()> loaded;
  // Once, when the main window unloads: closes what `loaded` opened.
  std::function<void()> unloading;
  // Sets the priority class of the process that owns the window.
  std::function<void(HWND window, std::uint32_t priorityClass)> setOwnPriority;
};

using TabPageFactory = std::function<TabPageSet(AppContext&, const std::array<HWND, 4>& lists)>;

// The program's pages.
TabPageSet CreateTabPages(AppContext& context, const std::array<HWND, 4>& lists);

}  // namespace dravik
