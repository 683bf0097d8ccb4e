#pragma once
// What the process tests under Wine share: a top-level window holding a report
// list view with the fourteen process columns, a language file on disk, and
// message boxes answered from another thread.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/win/tab_page.h"
#include "localization/message_texts.h"
#include "localization/read_ini.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_window_manager.h"
#include "support/win/test_support.h"

namespace processtest {

class ListWindow {
 public:
  ListWindow();
  ~ListWindow();
  HWND window() const { return window_; }
  HWND list() const { return list_; }
  int rows() const;
  std::wstring cell(int row, int column) const;
  int image(int row) const;
  // The row whose id column reads `pid`, or -1.
  int rowOfProcess(DWORD pid) const;
  void select(int row);

 private:
  HWND window_ = nullptr;
  HWND list_ = nullptr;
};

// A language file in the temporary folder with the Processes texts.
class TestLanguage {
 public:
  TestLanguage();
  ~TestLanguage();
  const dravik::Language& language() const { return language_; }

 private:
  std::wstring path_;
  platform::win32::Win32ProfileFiles profiles_;
  dravik::Language language_;
};

// The real message boxes, with a record of what was asked.
class RecordingUserInterface final : public platform::UserInterface {
 public:
  struct Box {
    std::wstring text, title;
    unsigned flags;
    int answer;
  };
  int messageBox(const std::wstring& text, const std::wstring& title, unsigned flags) override {
    const int answer = real_.messageBox(text, title, flags);
    boxes.push_back({text, title, flags, answer});
    return answer;
  }
  void pumpMessages() override {
    ++pumps;
    real_.pumpMessages();
  }
  std::vector<Box> boxes;
  int pumps = 0;

 private:
  platform::win32::Win32UserInterface real_;
};

// Waits on another thread for this process's message box, notes what it
// shows and presses `button` (IDYES, IDNO, IDOK) on it.
class BoxAnswer {
 public:
  explicit BoxAnswer(int button);
  ~BoxAnswer();
  // Waits for the answering thread; the box it saw (no window when none came).
  const testsupport::MessageBoxInfo& seen();

 private:
  testsupport::MessageBoxInfo seen_;
  std::thread thread_;
};

// An AppContext over the window, the language and the recording interface,
// keeping what was written to the status bar and the popup menus asked for.
struct TestContext {
  TestContext(const ListWindow& window, const TestLanguage& language);
  dravik::AppContext app;
  dravik::MessageTexts messages;
  RecordingUserInterface ui;
  std::vector<std::wstring> statusPanel1;
  std::vector<POINT> popupMenus;
};

}  // namespace processtest
