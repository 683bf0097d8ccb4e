#include "app/win/tab_pages.h"

#include <commctrl.h>

#include "app/main_language.h"

namespace dravik {

namespace {

// Stands in for a tab whose rows are not listed yet: its list stays empty
// and its commands do nothing.
class EmptyPage final : public TabPage {
 public:
  explicit EmptyPage(bool winServicesShown = false) : winServicesShown_(winServicesShown) {}
  void refresh() override {}
  bool checked(Command command) const override {
    return command == Command::ViewWinServices && winServicesShown_;
  }

 private:
  bool winServicesShown_;
};

}  // namespace

TabPageSet CreateTabPages(AppContext& context, const std::array<HWND, 4>& lists) {
  TabPageSet set;
  set.pages[0] = std::make_unique<EmptyPage>();
  set.pages[1] = std::make_unique<EmptyPage>();
  set.pages[2] = std::make_unique<EmptyPage>(true);
  set.pages[3] = std::make_unique<EmptyPage>();
  HWND tasks = lists[0];
  set.timerTick = [&context, tasks] {
    if (context.selectedTab() != Tab::Tasks) return;
    const auto rows = ::SendMessageW(tasks, LVM_GETITEMCOUNT, 0, 0);
    context.setStatusPanel(1, StatusText(std::to_wstring(rows), context.language->main(kTasksLabelKey)));
  };
  return set;
}

}  // namespace dravik
