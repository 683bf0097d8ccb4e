#include "app/win/refresh_timer.h"

namespace dravik {

RefreshTimer::RefreshTimer(AppContext& context, TasksTab& tasks)
    : tick_(RefreshTick::Parts{
                [&tasks] { tasks.refresh(); }, [&tasks] { return tasks.rowCount(); },
                [&context] { return context.selectedTab ? context.selectedTab() : Tab::Tasks; },
                [&context](int panel, const std::wstring& text) {
                  if (context.setStatusPanel) context.setStatusPanel(panel, text);
                }},
            *context.language, counters_, memory_, locale_) {}

}  // namespace dravik
