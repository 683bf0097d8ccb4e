#pragma once
// What the Network tab's tests under Wine share: a window with the Network
// list, a text sort, a message-box double that still pumps real messages,
// and the socket helper program.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "localization/message_texts.h"
#include "localization/read_ini.h"
#include "network/win/network_tab.h"
#include "platform/win32/win32_profile_files.h"

namespace nettest {

// Records every message box and answers it at once (a real box would stop
// the test); handles real window messages when asked to pump.
class RecordingUi final : public platform::UserInterface {
 public:
  struct Box {
    std::wstring text, title;
    unsigned flags;
  };
  int messageBox(const std::wstring& text, const std::wstring& title, unsigned flags) override;
  void pumpMessages() override;
  std::vector<Box> boxes;
  int answer = platform::mb::kAnswerOk;
};

// Handles window messages for about `milliseconds`.
void PumpFor(DWORD milliseconds);

// The minimal column sort the tests need: by the texts of one column, the
// order kept by the sorter and reversed by a header click.
class TextSort {
 public:
  void sortAuto(HWND list, int column);
  // A header click: reverse the order, sort, remember the column.
  void click(HWND list, int column);
  int indexSort = 1;
  bool descending = false;
};

// A top-level window holding a report list with the Network list's eight
// columns, and the context a tab page gets from the main window.
class NetworkWindow {
 public:
  NetworkWindow();
  ~NetworkWindow();
  HWND list() const { return list_; }
  dravik::AppContext& context() { return context_; }
  RecordingUi ui;
  TextSort sort;
  std::vector<std::wstring> panel1;  // every text written to status panel 1
  int popups = 0;

  // A service set: placeholder names, the recorded kills and property
  // sheets, the test sort, and `paths` as process paths.
  dravik::NetworkTabServices services();
  std::vector<std::pair<std::uint32_t, std::wstring>> paths;
  std::vector<std::uint32_t> kills;
  std::vector<std::wstring> propertySheets;
  std::vector<std::wstring> iconAsks;

  // Reading the list back.
  int rows() const;
  std::wstring text(int row, int column) const;
  LPARAM tag(int row) const;
  int image(int row) const;
  int selected() const;
  void select(int row);
  // The first row whose column equals `value`, or -1.
  int find(int column, const std::wstring& value) const;

 private:
  HWND window_ = nullptr;
  HWND list_ = nullptr;
  HIMAGELIST shellIcons_ = nullptr;  // stands in for the system image list
  std::wstring languageFile_;
  platform::win32::Win32ProfileFiles profiles_;
  std::unique_ptr<dravik::Language> language_;
  dravik::MessageTexts messages_;
  dravik::AppContext context_;
};

// The socket helper program, driven through its standard input and output.
class SocketHelper {
 public:
  SocketHelper();
  ~SocketHelper();
  bool running() const { return process_ != nullptr; }
  // Sends a command and returns the answer line ("port N", "ok", "error ...").
  std::string ask(const std::string& command);
  // The port of a "port N" answer, 0 for anything else.
  static int portOf(const std::string& answer);

 private:
  HANDLE process_ = nullptr;
  HANDLE input_ = nullptr;
  HANDLE output_ = nullptr;
};

}  // namespace nettest
