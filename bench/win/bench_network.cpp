// Timings of the Network tab, run by hand (figures on standard output):
//   bench_network model [rows]   one rebuild of `rows` (2000) TCP rows from
//                                tables built in memory, the program's own
//                                work apart from the table read
//   bench_network wine [conns]   a rebuild with `conns` (200) loopback
//                                connections, next to the bare table reads
//                                and per-row lookups that it needs
//   bench_network idle [seconds] the process's CPU time with the tab shown,
//                                20 loopback connections open and nothing
//                                changing (30 s)
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "doubles/fake_network_tables.h"
#include "localization/message_texts.h"
#include "network/network_rows.h"
#include "network/tcp_udp.h"
#include "network/win/network_tab.h"
#include "platform/win32/win32_network_tables.h"
#include "platform/win32/win32_window_manager.h"
#include "bench/win/bench_support.h"

namespace {

using bench::Clock;
using bench::Milliseconds;

// Tables built in memory, in the system's layout, answering like the real calls.
class MemoryTables final : public platform::NetworkTables {
 public:
  explicit MemoryTables(int rows) {
    Put(tcp_, static_cast<std::uint32_t>(rows));
    for (int i = 0; i < rows; ++i) {
      const auto port = static_cast<std::uint16_t>(10000 + i);
      const std::uint32_t words[6] = {5u, 0x0100007Fu, static_cast<std::uint32_t>((port & 0xFF) << 8 | port >> 8),
                                      0x0100007Fu, 0x5000u, static_cast<std::uint32_t>(100 + i % 40)};
      for (std::uint32_t w : words) Put(tcp_, w);
    }
    Put(udp_, 10);
    for (int i = 0; i < 10; ++i) {
      for (std::uint32_t w : {0u, static_cast<std::uint32_t>((53 + i) << 8), 100u}) Put(udp_, w);
    }
  }
  std::uint32_t tcpTableWithOwners(std::uint8_t* b, std::uint32_t& s) override { return Answer(tcp_, b, s); }
  std::uint32_t udpTableWithOwners(std::uint8_t* b, std::uint32_t& s) override { return Answer(udp_, b, s); }
  std::uint32_t basicTcpTable(std::uint8_t* b, std::uint32_t& s) override {
    std::vector<std::uint8_t> basic(tcp_.begin(), tcp_.begin() + 4);
    return Answer(basic, b, s);
  }
  std::uint32_t setTcpEntry(const platform::BasicTcpRow&) override { return 0; }
  double readMs = 0;

 private:
  static void Put(std::vector<std::uint8_t>& v, std::uint32_t w) {
    for (int s = 0; s < 32; s += 8) v.push_back(static_cast<std::uint8_t>(w >> s));
  }
  std::uint32_t Answer(const std::vector<std::uint8_t>& t, std::uint8_t* b, std::uint32_t& s) {
    const auto start = Clock::now();
    std::uint32_t result = 0;
    if (!b || s < t.size()) {
      s = static_cast<std::uint32_t>(t.size());
      result = 122;
    } else {
      std::memcpy(b, t.data(), t.size());
    }
    readMs += Milliseconds(Clock::now() - start);
    return result;
  }
  std::vector<std::uint8_t> tcp_, udp_;
};

// Counts the time spent inside the real tables.
class TimedTables final : public platform::NetworkTables {
 public:
  std::uint32_t tcpTableWithOwners(std::uint8_t* b, std::uint32_t& s) override {
    return timed([&] { return real.tcpTableWithOwners(b, s); });
  }
  std::uint32_t udpTableWithOwners(std::uint8_t* b, std::uint32_t& s) override {
    return timed([&] { return real.udpTableWithOwners(b, s); });
  }
  std::uint32_t basicTcpTable(std::uint8_t* b, std::uint32_t& s) override {
    return timed([&] { return real.basicTcpTable(b, s); });
  }
  std::uint32_t setTcpEntry(const platform::BasicTcpRow& r) override { return real.setTcpEntry(r); }
  template <typename F>
  std::uint32_t timed(F f) {
    const auto start = Clock::now();
    const std::uint32_t r = f();
    readMs += Milliseconds(Clock::now() - start);
    return r;
  }
  platform::win32::Win32NetworkTables real;
  double readMs = 0;
};

// Asks the tab for a rebuild and handles messages until it has shown.
void Rebuild(dravik::NetworkTab& tab) {
  tab.refresh();
  MSG msg;
  while (tab.busy() && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// The lookups a rebuild needs, done the plain way.
std::wstring ProcessPath(std::uint32_t pid) {
  // Vista's call, looked up: everything here builds against Windows XP's headers.
  using QueryName = BOOL(WINAPI*)(HANDLE, DWORD, wchar_t*, DWORD*);
  static const auto query = reinterpret_cast<QueryName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "QueryFullProcessImageNameW")));
  HANDLE process = query ? ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid) : nullptr;
  if (!process) return L"";
  wchar_t path[MAX_PATH];
  DWORD size = MAX_PATH;
  std::wstring result;
  if (query(process, 0, path, &size)) result.assign(path, size);
  ::CloseHandle(process);
  return result;
}

platform::SystemIcon ShellIcon(const std::wstring& path) {
  SHFILEINFOW info{};
  const auto list =
      ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  return {static_cast<std::uintptr_t>(list), list ? info.iIcon : -1};
}

// Sorts by one column's texts, ascending: each row's parameter becomes its
// position for the sort, and the tags are put back afterwards.
void SortByText(HWND list, int column) {
  const int count = ListView_GetItemCount(list);
  std::vector<std::wstring> keys;
  std::vector<LPARAM> tags(static_cast<std::size_t>(count));
  wchar_t buffer[512];
  for (int i = 0; i < count; ++i) {
    buffer[0] = L'\0';
    ListView_GetItemText(list, i, column - 1, buffer, 512);
    keys.emplace_back(buffer);
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    ListView_GetItem(list, &item);
    tags[static_cast<std::size_t>(i)] = item.lParam;
    item.lParam = i;
    ListView_SetItem(list, &item);
  }
  auto compare = [](LPARAM a, LPARAM b, LPARAM data) -> int {
    const auto& k = *reinterpret_cast<const std::vector<std::wstring>*>(data);
    return ::lstrcmpiW(k[static_cast<std::size_t>(a)].c_str(), k[static_cast<std::size_t>(b)].c_str());
  };
  ListView_SortItems(list, compare, reinterpret_cast<LPARAM>(&keys));
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = i;
    ListView_GetItem(list, &item);
    item.lParam = tags[static_cast<std::size_t>(item.lParam)];
    ListView_SetItem(list, &item);
  }
}

struct Window {
  Window() {
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&init);
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = ::DefWindowProcW;
    cls.hInstance = ::GetModuleHandleW(nullptr);
    cls.lpszClassName = L"DravikNetworkBench";
    ::RegisterClassExW(&cls);
    frame = ::CreateWindowExW(0, cls.lpszClassName, L"Network", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 500,
                              nullptr, nullptr, cls.hInstance, nullptr);
    list = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 880, 460, frame, nullptr,
                             cls.hInstance, nullptr);
    for (int i = 0; i < 8; ++i) {
      LVCOLUMNW column{};
      column.mask = LVCF_WIDTH | LVCF_SUBITEM;
      column.cx = 100;
      column.iSubItem = i;
      ListView_InsertColumn(list, i, &column);
    }
    context.instance = cls.hInstance;
    context.mainWindow = frame;
    context.messages = &messages;
    context.ui = &ui;
  }
  ~Window() { ::DestroyWindow(frame); }
  HWND frame = nullptr, list = nullptr;
  dravik::MessageTexts messages;
  platform::win32::Win32UserInterface ui;
  dravik::AppContext context;
};

dravik::NetworkTabServices Services(platform::NetworkTables& tables, bool realLookups, bool sort, bool icons) {
  dravik::NetworkTabServices s;
  s.openTables = [&tables] { return std::make_unique<fakes::BorrowedTables>(tables); };
  if (realLookups) {
    s.processPath = ProcessPath;
  } else {
    s.processPath = [](std::uint32_t pid) { return L"C:\\Programs\\app" + std::to_wstring(pid % 40) + L".exe"; };
  }
  s.placeholderName = [](std::uint32_t pid) { return L"(" + std::to_wstring(pid) + L")"; };
  s.sortListViewAuto = [sort](HWND list, int column) {
    if (sort) SortByText(list, column);
  };
  s.sortColumn = [] { return 7; };
  s.smallIcon = [icons](const std::wstring& path) { return icons ? ShellIcon(path) : platform::SystemIcon{}; };
  return s;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

int Model(int rows) {
  Window window;
  MemoryTables tables(rows);
  std::vector<double> parse, build, full, noSort, noIcons;
  for (int round = 0; round < 5; ++round) {
    dravik::TcpUdp model(tables);
    auto start = Clock::now();
    model.LoadTcpTable();
    model.ParseTcpTable();
    model.LoadUdpTable();
    model.ParseUdpTable();
    parse.push_back(Milliseconds(Clock::now() - start));
    start = Clock::now();
    const auto services = Services(tables, false, false, false);
    dravik::BuildNetworkRows(model, {services.processPath, services.placeholderName});
    build.push_back(Milliseconds(Clock::now() - start));
    for (auto [times, sort, icons] : {std::tuple{&full, true, true}, std::tuple{&noSort, false, true},
                                      std::tuple{&noIcons, true, false}}) {
      dravik::NetworkTab tab(window.context, window.list, tables, Services(tables, false, sort, icons));
      tables.readMs = 0;
      start = Clock::now();
      Rebuild(tab);
      times->push_back(Milliseconds(Clock::now() - start) - tables.readMs);
    }
  }
  std::printf("model rebuild, %d TCP + 10 UDP rows, median of 5, table reads excluded:\n", rows);
  std::printf("  load+parse both tables     %8.1f ms\n", Median(parse));
  std::printf("  row texts + names          %8.1f ms\n", Median(build));
  std::printf("  whole rebuild              %8.1f ms\n", Median(full));
  std::printf("  whole rebuild, no sort     %8.1f ms\n", Median(noSort));
  std::printf("  whole rebuild, no icons    %8.1f ms\n", Median(noIcons));
  return 0;
}

// Loopback connections (both ends), reset when the owner goes so that no
// TIME_WAIT rows are left behind.
class Loopback {
 public:
  explicit Loopback(int connections) {
    WSADATA data;
    ::WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    ::listen(listener_, 64);
    int length = sizeof(address);
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    for (int i = 0; i < connections; ++i) {
      SOCKET client = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
      if (::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        ::closesocket(client);
        break;
      }
      sockets_.push_back(client);
      sockets_.push_back(::accept(listener_, nullptr, nullptr));
    }
  }
  ~Loopback() {
    for (SOCKET s : sockets_) {
      linger off{1, 0};
      ::setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&off), sizeof(off));
      ::closesocket(s);
    }
    ::closesocket(listener_);
    ::WSACleanup();
  }
  Loopback(const Loopback&) = delete;
  Loopback& operator=(const Loopback&) = delete;

 private:
  SOCKET listener_ = INVALID_SOCKET;
  std::vector<SOCKET> sockets_;
};

int WineRebuild(int connections) {
  Loopback sockets(connections);
  Window window;
  std::vector<double> bare, rebuild;
  int rows = 0;
  for (int round = 0; round < 3; ++round) {
    // What any rebuild must do: both tables (size, then data) and, per row,
    // the owner's path and its shell icon.
    platform::win32::Win32NetworkTables real;
    auto start = Clock::now();
    std::vector<std::uint8_t> tcp, udp;
    std::uint32_t size = 4;
    std::uint8_t scratch[4];
    real.tcpTableWithOwners(scratch, size);
    tcp.resize(size);
    real.tcpTableWithOwners(tcp.data(), size);
    size = 4;
    real.udpTableWithOwners(scratch, size);
    udp.resize(size);
    real.udpTableWithOwners(udp.data(), size);
    const std::uint32_t tcpRows = tcp[0] | tcp[1] << 8 | tcp[2] << 16;
    const std::uint32_t udpRows = udp[0] | udp[1] << 8 | udp[2] << 16;
    for (std::uint32_t i = 0; i < tcpRows; ++i) {
      std::uint32_t pid;
      std::memcpy(&pid, tcp.data() + 4 + 24 * i + 20, 4);
      const std::wstring path = ProcessPath(pid);
      if (!path.empty()) ShellIcon(path);
    }
    for (std::uint32_t i = 0; i < udpRows; ++i) {
      std::uint32_t pid;
      std::memcpy(&pid, udp.data() + 4 + 12 * i + 8, 4);
      const std::wstring path = ProcessPath(pid);
      if (!path.empty()) ShellIcon(path);
    }
    bare.push_back(Milliseconds(Clock::now() - start));

    TimedTables timed;
    dravik::NetworkTab tab(window.context, window.list, timed, Services(timed, true, true, true));
    start = Clock::now();
    Rebuild(tab);
    rebuild.push_back(Milliseconds(Clock::now() - start));
    rows = ListView_GetItemCount(window.list);
  }
  std::printf("rebuild with %d loopback connections (%d rows listed), median of 3:\n", connections, rows);
  std::printf("  bare table reads + per-row lookups %8.1f ms\n", Median(bare));
  std::printf("  whole rebuild                      %8.1f ms\n", Median(rebuild));
  std::printf("  ratio                              %8.2f (target <= 1.5)\n", Median(rebuild) / Median(bare));
  return 0;
}

int Idle(int seconds) {
  Loopback sockets(20);
  Window window;
  platform::win32::Win32NetworkTables tables;
  dravik::NetworkTab tab(window.context, window.list, tables, Services(tables, true, true, true));
  tab.selected();  // asks for the list once
  FILETIME created, exited, kernel0, user0, kernel1, user1;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel0, &user0);
  const DWORD end = ::GetTickCount() + static_cast<DWORD>(seconds) * 1000;
  MSG msg;
  while (static_cast<int>(end - ::GetTickCount()) > 0) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, end - ::GetTickCount(), QS_ALLINPUT);
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel1, &user1);
  auto ticks = [](FILETIME t) { return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  const double cpuMs = static_cast<double>(ticks(kernel1) - ticks(kernel0) + ticks(user1) - ticks(user0)) / 10000.0;
  std::printf("idle with the Network tab shown for %d s (%d rows): CPU %.1f ms = %.3f %% of one core\n", seconds,
              ListView_GetItemCount(window.list), cpuMs, cpuMs / (seconds * 10.0));
  tab.deselected();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring mode = argc > 1 ? argv[1] : L"model";
  const int figure = argc > 2 ? std::max(1, _wtoi(argv[2])) : 0;
  if (mode == L"model") return Model(figure ? std::min(figure, 2001) : 2000);
  if (mode == L"wine") return WineRebuild(figure ? std::min(figure, 250) : 200);
  if (mode == L"idle") return Idle(figure ? std::min(figure, 120) : 30);
  std::fprintf(stderr, "usage: bench_network model|wine|idle [figure]\n");
  return 2;
}
