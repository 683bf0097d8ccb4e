#pragma once
// The Services tab: the list of services and drivers, rebuilt from scratch
// on demand, and the commands on the selected service.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>

#include "ui/win/tab_page.h"
#include "platform/services.h"
#include "services/service_commands.h"
#include "services/service_list.h"
#include "platform/win32/handles.h"

namespace dravik {

class ServicesTab final : public TabPage {
 public:
  // `list` is the report-style list view with the eight service columns.
  ServicesTab(AppContext& context, HWND list, platform::ServiceControl& scm);
  ~ServicesTab() override;
  ServicesTab(const ServicesTab&) = delete;
  ServicesTab& operator=(const ServicesTab&) = delete;

  // Rebuilds the list.
  void refresh() override { GetServiceList(); }
  bool command(Command command) override;
  bool checked(Command command) const override;
  bool listNotify(const NMHDR& header, LRESULT& result) override;

  // Throws away every row and lists the services of the View filter again,
  // then writes the count into the status bar.
  void GetServiceList();

 private:
  void appendRow(const ServiceRow& row);
  std::optional<std::wstring> selectedName() const;
  void rowClicked();

  AppContext& context_;
  HWND list_;
  platform::ServiceControl& scm_;
  platform::win32::UniqueImageList images_;
  PauseClock clock_;
  bool showWinServices_ = true;
  bool showDriverServices_ = false;
  int checkedStartType_ = -1;  // 0 boot ... 4 disabled; -1 none yet
  // Cleared when the page goes: a command's wait handles window messages, and
  // one of them may close the window and take the page with it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace dravik
