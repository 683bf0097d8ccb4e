// The Network list's rows and message texts, from records read off tables built in memory.
#include "network/network_rows.h"

#include <gtest/gtest.h>

#include <map>

#include "doubles/fake_network_tables.h"
#include "doubles/fake_system.h"

namespace {

using fakes::Ipv4;
using fakes::Tcp;
using fakes::Udp;

class NetworkRowsTest : public ::testing::Test {
 protected:
  NetworkRowsTest() {
    lookup.path = [this](std::uint32_t pid) {
      ++pathAsks[pid];
      auto found = paths.find(pid);
      return found == paths.end() ? std::wstring() : found->second;
    };
    lookup.placeholderName = [](std::uint32_t pid) {
      if (pid == 0) return std::wstring(L"(System Idle Process)");
      if (pid == 4) return std::wstring(L"(System)");
      return L"(" + std::to_wstring(pid) + L")";
    };
  }
  std::vector<dravik::NetworkRow> rows() {
    tables.LoadTcpTable();
    tables.ParseTcpTable();
    tables.LoadUdpTable();
    tables.ParseUdpTable();
    return dravik::BuildNetworkRows(tables, lookup);
  }
  fakes::FakeNetworkTables fake;
  fakes::FakeUserInterface ui;
  dravik::TcpUdp tables{fake, ui};
  dravik::ProcessLookup lookup;
  std::map<std::uint32_t, std::wstring> paths{{1234, L"C:\\Apps\\app.exe"}};
  std::map<std::uint32_t, int> pathAsks;
};

TEST_F(NetworkRowsTest, ColumnsOfTcpAndUdpRows) {
  fake.tcp = {Tcp(2, 0, 135, 0, 0, 4), Tcp(5, Ipv4(10, 0, 0, 1), 1050, Ipv4(10, 0, 0, 2), 80, 1234)};
  fake.udp = {Udp(Ipv4(127, 0, 0, 1), 53, 0)};
  const auto list = rows();
  ASSERT_EQ(list.size(), 3u);

  const dravik::NetworkRowTexts listening = {L"(System)", L"TCP", L"0.0.0.0", L"135", L"0.0.0.0", L"", L"LISTENING", L""};
  EXPECT_EQ(list[0].columns, listening) << "no remote port for a socket without a far end";
  EXPECT_EQ(list[0].tag, 0);

  const dravik::NetworkRowTexts connected = {L"app.exe", L"TCP", L"10.0.0.1", L"1050", L"10.0.0.2", L"80", L"ESTABLISHED",
                                             L"C:\\Apps\\app.exe"};
  EXPECT_EQ(list[1].columns, connected);
  EXPECT_EQ(list[1].tag, 1);

  const dravik::NetworkRowTexts udp = {L"(System Idle Process)", L"UDP", L"127.0.0.1", L"53", L"", L"", L"", L""};
  EXPECT_EQ(list[2].columns, udp);
  EXPECT_EQ(list[2].tag, 0) << "UDP tags count from 0 in their own records";
}

TEST_F(NetworkRowsTest, EachOwnerIsLookedUpOnceHoweverManyRowsItHas) {
  for (std::uint16_t i = 0; i < 50; ++i) fake.tcp.push_back(Tcp(5, Ipv4(127, 0, 0, 1), 6000 + i, Ipv4(127, 0, 0, 1), 80, 1234));
  fake.udp = {Udp(0, 53, 1234), Udp(0, 54, 99)};
  const auto list = rows();
  ASSERT_EQ(list.size(), 52u);
  EXPECT_EQ(pathAsks[1234], 1);
  EXPECT_EQ(pathAsks[99], 1);
  EXPECT_EQ(list[51].columns[dravik::kNetProcess], L"(99)");
  // A rebuild asks again: a process may have gone or its pid been reused.
  dravik::BuildNetworkRows(tables, lookup);
  EXPECT_EQ(pathAsks[1234], 2);
}

TEST_F(NetworkRowsTest, ListsAtMost2001RowsPerTable) {
  for (std::uint16_t i = 0; i < 2500; ++i) fake.tcp.push_back(Tcp(5, Ipv4(127, 0, 0, 1), 10000 + i, Ipv4(127, 0, 0, 1), 80, 1));
  for (std::uint16_t i = 0; i < 2001; ++i) fake.udp.push_back(Udp(0, 20000 + i, 1));
  const auto list = rows();
  ASSERT_EQ(list.size(), 4002u);
  EXPECT_EQ(list[2000].columns[dravik::kNetLocalPort], L"12000");
  EXPECT_EQ(list[2000].tag, 2000);
  EXPECT_EQ(list[2001].columns[dravik::kNetProtocol], L"UDP");
  EXPECT_EQ(list[4001].columns[dravik::kNetLocalPort], L"22000");
}

TEST(NetworkMessages, TextsOfTheTabsMessages) {
  dravik::NetworkRowTexts row = {L"app.exe", L"TCP", L"10.0.0.1", L"1050", L"10.0.0.2", L"80", L"ESTABLISHED", L"C:\\app.exe"};
  EXPECT_EQ(dravik::CloseFailureText(L"Unable to close selected connection:", row),
            L"Unable to close selected connection: \r\napp.exe [1050:10.0.0.2:80]");
  EXPECT_EQ(dravik::TerminateTitle(L"Process", L"PID", L"app.exe", 1234), L"Process: app.exe (PID: 1234)");
  EXPECT_EQ(dravik::PathNotFoundTitle(L"Process", L"(4)"), L"Process: (4)");
}

}  // namespace
