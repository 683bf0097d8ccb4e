// The Network tab's window code in a real list view, its tables read on its
// real worker thread. Wine gives almost every socket the owner pid 0 and its
// SetTcpEntry closes nothing, so process names, paths, Terminate Process and
// Close Connection are proved over a double of the IP helper; the real tables
// are read with loopback connections the test opens and closes.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>

#include "app/win/list_view_helpers.h"
#include "doubles/fake_network_tables.h"
#include "doubles/fake_processes.h"
#include "network/win/network_tab.h"
#include "platform/win32/win32_network_tables.h"
#include "processes/process_path.h"
#include "support/win/loopback_server.h"
#include "support/win/network_load.h"
#include "support/win/tab_test_window.h"
#include "support/win/ui_test_support.h"

namespace {

using dravik::Command;
using fakes::Ipv4;
using fakes::Tcp;
using fakes::Udp;
enum Col { kProcess, kProtocol, kLocalAddress, kLocalPort, kRemoteAddress, kRemotePort, kStatus, kPath };

class NetworkTabTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(::IsWindow(window.list)) << "the list view could not be created (no display?)";
    fake.tcp = {Tcp(2, 0, 135, 0, 0, 4), Tcp(5, Ipv4(10, 0, 0, 1), 1050, Ipv4(10, 0, 0, 2), 80, 1234),
                Tcp(5, Ipv4(10, 0, 0, 1), 1051, Ipv4(10, 0, 0, 200), 443, 1234)};
    fake.udp = {Udp(Ipv4(127, 0, 0, 1), 53, 900), Udp(0, 137, 0)};
  }
  // The tab over the double, or over the real tables.
  dravik::NetworkTab& tab(platform::NetworkTables* real = nullptr) {
    if (tab_) return *tab_;
    dravik::NetworkTabServices services{
        [this, real]() -> std::unique_ptr<platform::NetworkTables> {
          if (real) return std::make_unique<platform::win32::Win32NetworkTables>();
          return std::make_unique<fakes::BorrowedTables>(fake);
        },
        [](std::uint32_t pid) { return std::wstring(pid == 1234 ? L"C:\\Apps\\app.exe" : pid == 900 ? L"C:\\Tools\\dns.exe" : L""); },
        &dravik::ProcessPlaceholderName,
        &processes,
        &shellFiles,
        [](HWND list, int column) { dravik::SortListViewAuto(list, column); },
        [this] { return dravik::IndexSort(window.list); },
        [](const std::wstring&) { return platform::SystemIcon{}; }};
    tab_ = std::make_unique<dravik::NetworkTab>(window.context, window.list, real ? *real : fake, services);
    return *tab_;
  }
  // Handles messages until the rebuild asked for has shown.
  void shown() { ASSERT_TRUE(testsupport::PumpUntil([&] { return !tab().busy(); })) << "the rebuild never showed"; }
  void refreshed() { tab().refresh(); shown(); }
  int row(const std::wstring& localPort) { return window.find(kLocalPort, localPort); }
  std::wstring texts(const std::wstring& localPort) {
    std::wstring all;
    for (int c = kProcess; c <= kPath; ++c) all += window.text(row(localPort), c) + L"|";
    return all;
  }
  void command(Command command, const std::wstring& localPort, int answer = platform::mb::kAnswerOk) {
    window.select(row(localPort));
    window.ui.answers = {answer};
    EXPECT_TRUE(tab().command(command));
    shown();
  }
  std::wstring box(std::size_t i) const {
    const auto& b = window.ui.boxes.at(i);
    return b.text + L"|" + b.title + L"|" + std::to_wstring(b.flags);
  }

  tabtest::TabWindow window{dravik::Tab::Network};
  fakes::FakeNetworkTables fake;
  fakes::FakeProcessControl processes;
  fakes::FakeShellFiles shellFiles;
  std::atomic<bool> held{false};
  platform::win32::UniqueKernelHandle release{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::unique_ptr<dravik::NetworkTab> tab_;
};

TEST_F(NetworkTabTest, RowsAndTheCommandsOnTheSelectedRow) {
  refreshed();
  ASSERT_EQ(window.rows(), 5);
  EXPECT_EQ(window.panel1.back(), L"(5) Network");
  EXPECT_EQ(texts(L"135"), L"(System)|TCP|0.0.0.0|135|0.0.0.0||LISTENING||") << "no remote port without a far end";
  EXPECT_EQ(texts(L"1051"), L"app.exe|TCP|10.0.0.1|1051|10.0.0.200|443|ESTABLISHED|C:\\Apps\\app.exe|");
  EXPECT_EQ(texts(L"53"), L"dns.exe|UDP|127.0.0.1|53||||C:\\Tools\\dns.exe|");
  EXPECT_EQ(texts(L"137"), L"(System Idle Process)|UDP|0.0.0.0|137|||||");

  command(Command::CloseConnection, L"1051");
  ASSERT_EQ(fake.setTcpEntryCalls.size(), 1u);
  // The record of the row's own tag, its words handed back exactly (10.0.0.200 is a negative raw text).
  const platform::BasicTcpRow& sent = fake.setTcpEntryCalls[0];
  EXPECT_EQ((std::vector{sent.state, sent.localAddress, sent.localPort, sent.remoteAddress, sent.remotePort}),
            (std::vector{12u, Ipv4(10, 0, 0, 1), fakes::PortWord(1051), Ipv4(10, 0, 0, 200), fakes::PortWord(443)}));
  EXPECT_EQ(row(L"1051"), -1) << "the double drops the row as Windows would: the list follows";

  fake.setTcpEntryResult = 5;
  command(Command::CloseConnection, L"1050");
  command(Command::CloseConnection, L"53");  // a UDP endpoint cannot be closed: nothing asked of the system
  EXPECT_EQ(fake.setTcpEntryCalls.size(), 2u);
  ASSERT_EQ(window.ui.boxes.size(), 2u);
  EXPECT_EQ(box(0), L"Unable to close selected connection: \r\napp.exe [1050:10.0.0.2:80]|Close Connection|48");
  EXPECT_EQ(box(1), L"Unable to close selected connection: \r\ndns.exe [53::]|Close Connection|48");

  command(Command::TerminateProcess, L"1050", platform::mb::kAnswerNo);
  EXPECT_EQ(box(2), L"Are you sure you want to terminate this process?|Process: app.exe (PID: 1234)|52");
  command(Command::TerminateProcess, L"53", platform::mb::kAnswerYes);  // a UDP tag indexes the UDP records
  EXPECT_EQ(processes.kills, (std::vector<std::uint32_t>{900})) << "only the answer Yes ends a process";

  command(Command::FileProperties, L"1050");
  command(Command::FileProperties, L"135");
  EXPECT_EQ(shellFiles.propertiesShown, std::vector<std::wstring>{L"C:\\Apps\\app.exe"});
  EXPECT_EQ(box(4), L"Process path not found!|Process: (System)|16");
}

TEST_F(NetworkTabTest, CommandsChosenDuringARebuildActAfterItOnTheirOwnConnection) {
  refreshed();
  // Between the two reads 1050 moves on to CLOSE_WAIT and 1051 goes away.
  fake.tcp[1] = Tcp(8, Ipv4(10, 0, 0, 1), 1050, Ipv4(10, 0, 0, 2), 80, 1234);
  fake.tcp.erase(fake.tcp.begin() + 2);
  // The worker is held inside its next read of the table while three commands are chosen.
  fake.duringRead = [this] {
    if (!held.exchange(true)) ::WaitForSingleObject(release.get(), 10000);
  };
  tab().refresh();
  ASSERT_TRUE(testsupport::WaitFor([&] { return held.load(); })) << "the worker never read the table";
  window.ui.answers = {platform::mb::kAnswerYes};
  window.select(row(L"1050"));
  tab().command(Command::TerminateProcess);
  tab().command(Command::CloseConnection);
  window.select(row(L"1051"));
  tab().command(Command::FileProperties);
  EXPECT_TRUE(window.ui.boxes.empty()) << "a command acted during the rebuild";
  ::SetEvent(release.get());
  shown();
  ASSERT_EQ(window.ui.boxes.size(), 1u);
  EXPECT_EQ(box(0), L"Are you sure you want to terminate this process?|Process: app.exe (PID: 1234)|52");
  EXPECT_EQ(processes.kills, std::vector<std::uint32_t>{1234});
  ASSERT_EQ(fake.setTcpEntryCalls.size(), 1u) << "the close acts once the rebuild is over, on the same connection";
  EXPECT_EQ(fake.setTcpEntryCalls[0].localPort, fakes::PortWord(1050));
  EXPECT_TRUE(shellFiles.propertiesShown.empty()) << "the connection it was chosen for is gone";
}

// A listener and a connection (both ends) on loopback, read by the tab's worker; the closed
// connection leaves the list at a later tick of the count watch. UDP rows are read over the double.
TEST_F(NetworkTabTest, LoopbackConnectionsInTheRealTables) {
  platform::win32::Win32NetworkTables tables;
  testsupport::LoopbackConnections connections(1);
  const std::wstring listening = std::to_wstring(connections.listenerPort());
  tab(&tables).selected();
  shown();
  const auto rowOf = [&](Col column, const std::wstring& port, const std::wstring& status) {
    for (int r = 0; r < window.rows(); ++r) {
      if (window.text(r, column) == port && window.text(r, kStatus) == status) return r;
    }
    return -1;
  };
  int r = rowOf(kLocalPort, listening, L"LISTENING");
  ASSERT_GE(r, 0) << "the listener is not listed";
  EXPECT_EQ(window.text(r, kProtocol) + L"|" + window.text(r, kLocalAddress) + L"|" + window.text(r, kRemotePort), L"TCP|127.0.0.1|");
  r = rowOf(kRemotePort, listening, L"ESTABLISHED");
  ASSERT_GE(r, 0) << "the connection's client end is not listed";
  EXPECT_EQ(window.text(r, kRemoteAddress), L"127.0.0.1");

  connections.close(1);
  EXPECT_TRUE(testsupport::PumpUntil([&] { return rowOf(kRemotePort, listening, L"ESTABLISHED") < 0; },
                                     std::chrono::milliseconds(3500)))
      << "the closed connection stayed listed";
}

// The real program with 1,000 loopback connections (2,000 rows): its window answers while the list
// loads and while it is rebuilt after ten of them close. The benchmark bench_window_answers prints the figure.
TEST(NetworkTabInTheProgram, TheWindowAnswersWhileTwoThousandRowsLoadAndAreRebuilt) {
  const testsupport::NetworkLoadFigures f = testsupport::MeasureNetworkLoad(1000, 10);
  ASSERT_EQ(f.failure, "");
  std::printf("longest unanswered: %.0f ms (%d rows, then %d)\n", f.longestUnansweredMs, f.rowsLoaded, f.rowsRebuilt);
  EXPECT_GE(f.rowsLoaded, 2000);
  EXPECT_LT(f.longestUnansweredMs, 1000.0);
}

}  // namespace
