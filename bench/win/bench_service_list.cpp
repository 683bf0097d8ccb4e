// Timing of the Services list's rebuild, run by hand under Wine:
//   bench_service_list.exe [rounds]
// It times one rebuild of the tab (GetServiceList into a real list view) next
// to the bare manager calls such a listing cannot do without (the enumeration,
// and per service two manager openings, two service openings, the
// configuration query with its size request and the state query), first with
// the services the system has and then with 300 extra test services
// registered. The extra services are removed again before it ends.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "localization/message_texts.h"
#include "localization/read_ini.h"
#include "platform/win32/win32_profile_files.h"
#include "platform/win32/win32_services.h"
#include "services/win/services_tab.h"
#include "tests/services/win/test_service_install.h"
#include "bench/win/bench_support.h"

namespace {

using bench::Clock;
using bench::OwnFolder;
using platform::win32::UniqueServiceHandle;

constexpr int kExtraServices = 300;

// Reports a message box instead of showing one: nobody is there to answer.
class ConsoleUserInterface final : public platform::UserInterface {
 public:
  int messageBox(const std::wstring& text, const std::wstring&, unsigned) override {
    std::fwprintf(stderr, L"message: %ls\n", text.c_str());
    return platform::mb::kAnswerOk;
  }
  void pumpMessages() override {}
};

std::wstring WriteLanguageFile() {
  static const char kText[] =
      "[LANGUAGE]\r\nCharacterSet=0\r\n[Main]\r\n20=Boot\r\n21=System\r\n22=Automatic\r\n23=Manual\r\n"
      "24=Disabled\r\n77=Running\r\n99=Services\r\n101=Stopped\r\n102=Start Pending\r\n103=Stop Pending\r\n"
      "104=Continue Pending\r\n105=Pause Pending\r\n106=Paused\r\n";
  wchar_t folder[MAX_PATH];
  ::GetTempPathW(MAX_PATH, folder);
  const std::wstring path = std::wstring(folder) + L"dravik-bench-services.lng";
  if (FILE* file = _wfopen(path.c_str(), L"wb")) {
    std::fwrite(kText, 1, sizeof(kText) - 1, file);
    std::fclose(file);
  }
  return path;
}

// The listing's unavoidable manager calls, made directly; returns the count.
int BareCalls() {
  UniqueServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, GENERIC_READ));
  DWORD needed = 0, count = 0, resume = 0;
  ::EnumServicesStatusExW(manager.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL, nullptr, 0,
                          &needed, &count, &resume, nullptr);
  std::vector<unsigned long long> buffer(needed / 8 + 1);
  resume = 0;
  if (!::EnumServicesStatusExW(manager.get(), SC_ENUM_PROCESS_INFO, SERVICE_WIN32, SERVICE_STATE_ALL,
                               reinterpret_cast<BYTE*>(buffer.data()), needed, &needed, &count, &resume,
                               nullptr)) {
    return -1;
  }
  const auto* entries = reinterpret_cast<const ENUM_SERVICE_STATUS_PROCESSW*>(buffer.data());
  std::vector<unsigned long long> config(512);
  for (DWORD i = 0; i < count; ++i) {
    {
      UniqueServiceHandle connect(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
      UniqueServiceHandle service(::OpenServiceW(connect.get(), entries[i].lpServiceName, SERVICE_QUERY_CONFIG));
      DWORD configNeeded = 0;
      ::QueryServiceConfigW(service.get(), nullptr, 0, &configNeeded);
      if (configNeeded > config.size() * 8) config.resize(configNeeded / 8 + 1);
      ::QueryServiceConfigW(service.get(), reinterpret_cast<QUERY_SERVICE_CONFIGW*>(config.data()),
                            configNeeded, &configNeeded);
    }
    {
      UniqueServiceHandle connect(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
      UniqueServiceHandle service(::OpenServiceW(connect.get(), entries[i].lpServiceName, SERVICE_QUERY_STATUS));
      SERVICE_STATUS status{};
      ::QueryServiceStatus(service.get(), &status);
    }
  }
  return static_cast<int>(count);
}

struct Figures {
  double fastest;
  double median;
};

Figures Summarise(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return {times.front(), times[times.size() / 2]};
}

// Processor time this process spent (user and kernel), in milliseconds: the
// part of a listing that is the program's own work rather than the manager's.
double ProcessCpuMilliseconds() {
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ms = [](FILETIME t) {
    return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
  };
  return ms(kernel) + ms(user);
}

template <typename Work>
double Milliseconds(Work work) {
  const auto start = Clock::now();
  work();
  return bench::Milliseconds(Clock::now() - start);
}

// Registered test services, removed when the owner goes.
class ExtraServices {
 public:
  ExtraServices(int count, const std::wstring& exe) {
    UniqueServiceHandle manager = servicetests::OpenManager();
    for (int i = 0; i < count; ++i) {
      const std::wstring name = std::wstring(servicetests::kTestServicePrefix) + L"Bench" + std::to_wstring(i);
      const std::wstring command = L"\"" + exe + L"\" " + name;
      UniqueServiceHandle service(::CreateServiceW(
          manager.get(), name.c_str(), (L"Dravik bench " + name).c_str(), SERVICE_ALL_ACCESS,
          SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, command.c_str(), nullptr,
          nullptr, nullptr, nullptr, nullptr));
      if (service) names_.push_back(name);
    }
  }
  ~ExtraServices() {
    UniqueServiceHandle manager = servicetests::OpenManager();
    for (const std::wstring& name : names_) {
      UniqueServiceHandle service(::OpenServiceW(manager.get(), name.c_str(), DELETE));
      if (service) ::DeleteService(service.get());
    }
  }
  std::size_t size() const { return names_.size(); }

 private:
  std::vector<std::wstring> names_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
  servicetests::RemoveLeftoverTestServices();

  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&init);
  HWND window = ::CreateWindowExW(0, L"STATIC", L"Services benchmark", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  900, 500, nullptr, nullptr, nullptr, nullptr);
  HWND list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 880, 460,
                                window, nullptr, nullptr, nullptr);
  if (!list) {
    std::fwprintf(stderr, L"no list view: is there an X display?\n");
    return 2;
  }
  for (int i = 0; i < 8; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
  }

  const std::wstring languagePath = WriteLanguageFile();
  platform::win32::Win32ProfileFiles profiles;
  dravik::Language language(profiles, languagePath);
  dravik::MessageTexts messages;
  messages.load(language);
  ConsoleUserInterface ui;
  platform::win32::Win32ServiceControl control;
  dravik::AppContext context;
  context.instance = ::GetModuleHandleW(nullptr);
  context.mainWindow = window;
  context.language = &language;
  context.messages = &messages;
  context.ui = &ui;
  context.setStatusPanel = [](int, const std::wstring&) {};
  int exitCode = 0;
  {
    dravik::ServicesTab tab(context, list, control,
                            [] { return std::make_unique<platform::win32::Win32ServiceControl>(); });
    // One listing, on the tab's worker, shown in the list.
    const auto rebuild = [&tab] {
      tab.GetServiceList();
      MSG msg;
      while (tab.busy() && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
    };
    auto measure = [&](const wchar_t* label) {
      rebuild();  // warm-up: first calls start the manager's threads
      BareCalls();
      // Alternating rounds, so that load from other programs falls on both alike.
      std::vector<double> bareTimes, rebuildTimes;
      double bareCpu = 0, rebuildCpu = 0;
      for (int i = 0; i < rounds; ++i) {
        double cpu = ProcessCpuMilliseconds();
        bareTimes.push_back(Milliseconds([] { BareCalls(); }));
        bareCpu += ProcessCpuMilliseconds() - cpu;
        cpu = ProcessCpuMilliseconds();
        rebuildTimes.push_back(Milliseconds(rebuild));
        rebuildCpu += ProcessCpuMilliseconds() - cpu;
      }
      const Figures bare = Summarise(bareTimes);
      const Figures rebuild = Summarise(rebuildTimes);
      const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
      std::wprintf(L"%-24ls rows %4d  bare calls %7.1f ms (median %7.1f)  rebuild %7.1f ms (median %7.1f)"
                   L"  ratio %.2f (median %.2f)\n",
                   label, rows, bare.fastest, bare.median, rebuild.fastest, rebuild.median,
                   rebuild.fastest / bare.fastest, rebuild.median / bare.median);
      std::wprintf(L"%-24ls own processor time per round: bare calls %.1f ms, rebuild %.1f ms\n", L"",
                   bareCpu / rounds, rebuildCpu / rounds);
    };
    std::wprintf(L"fastest of %d alternating rounds each\n", rounds);
    measure(L"system services");
    {
      ExtraServices extra(kExtraServices, OwnFolder() + L"\\test_service.exe");
      if (extra.size() != static_cast<std::size_t>(kExtraServices)) {
        std::fwprintf(stderr, L"only %zu of %d test services could be registered\n", extra.size(), kExtraServices);
        exitCode = 1;
      }
      measure(L"with 300 test services");
    }
  }
  servicetests::RemoveLeftoverTestServices();
  const std::size_t left = servicetests::LeftoverTestServices().size();
  std::wprintf(L"test services left behind: %zu\n", left);
  ::DestroyWindow(window);
  ::DeleteFileW(languagePath.c_str());
  return left == 0 ? exitCode : 1;
}
