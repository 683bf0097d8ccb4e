#pragma once
// What the main window needs from each tab's page, and what the pages get
// from the main window.
#include <windows.h>

#include <functional>
#include <string>

#include "ui/commands.h"
#include "ui/status_text.h"
#include "localization/message_texts.h"
#include "localization/read_ini.h"
#include "platform/window_manager.h"

namespace dravik {

// The main window's services that the tabs use. The main window fills it; a
// test fills it with its own window, list and doubles.
struct AppContext {
  HINSTANCE instance = nullptr;
  HWND mainWindow = nullptr;
  const Language* language = nullptr;         // the current language file
  const MessageTexts* messages = nullptr;     // the named message texts
  platform::UserInterface* ui = nullptr;      // message boxes and the message pump
  // Writes a status-bar panel (1 to 4).
  std::function<void(int panel, const std::wstring& text)> setStatusPanel;
  // The selected tab.
  std::function<Tab()> selectedTab;
  // Enables or disables the whole main window (while a task is being ended).
  std::function<void(bool enabled)> enableMainWindow;
};

class TabPage {
 public:
  virtual ~TabPage() = default;
  // The tab's refresh: the Refresh button, and the rebuild when the tab is selected.
  virtual void refresh() = 0;
  // The tab was selected (after the toolbar buttons were set) or left.
  virtual void selected() {}
  virtual void deselected() {}
  // A command of this tab; false when the page does not carry it out.
  virtual bool command(Command) { return false; }
  // The check mark of a menu item that stands for one of this page's
  // commands (the View filter, the start type of the selected service).
  virtual bool checked(Command) const { return false; }
  // A notification from the page's list (a click, a double click...) other
  // than the right click, whose popup menu the main window shows; true when
  // handled, with `result` as the answer.
  virtual bool listNotify(const NMHDR&, LRESULT& /*result*/) { return false; }
};

}  // namespace dravik
