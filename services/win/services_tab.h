#pragma once
// The Services tab: the list of services and drivers, rebuilt from scratch
// on demand, and the commands on the selected service. The listing with its
// per-service queries runs on a worker thread; the list is built here from it.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "ui/win/tab_page.h"
#include "platform/services.h"
#include "services/service_commands.h"
#include "services/service_list.h"
#include "platform/win32/handles.h"
#include "ui/win/background_reads.h"

namespace dravik {

class ServicesTab final : public TabPage {
 public:
  // `list` is the report-style list view with the eight service columns.
  // `scm` carries out the commands; the listing goes through the manager that
  // `openListing` makes on the worker thread.
  ServicesTab(AppContext& context, HWND list, platform::ServiceControl& scm,
              std::function<std::unique_ptr<platform::ServiceControl>()> openListing);
  ~ServicesTab() override;
  ServicesTab(const ServicesTab&) = delete;
  ServicesTab& operator=(const ServicesTab&) = delete;

  // Rebuilds the list.
  void refresh() override { GetServiceList(); }
  // Leaving the tab drops a listing not shown yet.
  void deselected() override { reads_.drop(); }
  bool command(Command command) override;
  bool checked(Command command) const override;
  bool listNotify(const NMHDR& header, LRESULT& result) override;

  // Asks for the services of the View filter; once they come, every row is
  // thrown away, the list is filled again and the count goes to the status bar.
  void GetServiceList();
  // A command's wait, or a listing asked for, has not ended in a rebuilt list yet.
  bool busy() const { return waits_ > 0 || reads_.busy(); }

 private:
  struct Snapshot;

  void show(std::unique_ptr<Snapshot> snapshot);
  void rebuildAfter(int seconds);
  void waitOver(UINT_PTR timer);
  void appendRow(const ServiceRow& row);
  std::optional<std::wstring> selectedName() const;
  void rowClicked();

  AppContext& context_;
  HWND list_;
  platform::ServiceControl& scm_;
  platform::win32::UniqueImageList images_;
  bool showWinServices_ = true;
  bool showDriverServices_ = false;
  int checkedStartType_ = -1;  // 0 boot ... 4 disabled; -1 none yet
  // Each command waits on a timer of its own, so each rebuilds once its own wait is over.
  UINT_PTR nextWait_ = 1;
  int waits_ = 0;
  BackgroundReadsOf<platform::ServiceControl, Snapshot> reads_;  // last: its worker goes first
};

}  // namespace dravik
