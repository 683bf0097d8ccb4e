// The connection tables over tables built in memory.
#include "network/tcp_udp.h"

#include <gtest/gtest.h>

#include "doubles/fake_network_tables.h"
#include "doubles/fake_system.h"

namespace {

using fakes::Ipv4;
using fakes::Tcp;
using fakes::Udp;

constexpr std::uint32_t kListen = 2;
constexpr std::uint32_t kEstablished = 5;

class TcpUdpTest : public ::testing::Test {
 protected:
  void readAll() {
    tables.LoadTcpTable();
    tables.ParseTcpTable();
    tables.LoadUdpTable();
    tables.ParseUdpTable();
  }
  fakes::FakeNetworkTables fake;
  fakes::FakeUserInterface ui;
  dravik::TcpUdp tables{fake, ui};
};

TEST(NetworkWords, PortsAndAddressesAreReadInNetworkOrder) {
  // Bytes 00 50 in memory are port 80; the upper half of the word is ignored.
  const std::uint8_t port80[4] = {0x00, 0x50, 0x00, 0x00};
  std::uint32_t word = port80[0] | port80[1] << 8 | port80[2] << 16 | static_cast<std::uint32_t>(port80[3]) << 24;
  EXPECT_EQ(dravik::NetToHostPort(word), 80);
  EXPECT_EQ(dravik::NetToHostPort(word | 0xABCD0000u), 80);
  EXPECT_EQ(dravik::NetToHostPort(fakes::PortWord(65535)), 65535);
  EXPECT_EQ(dravik::NetToHostPort(fakes::PortWord(1050)), 1050);
  EXPECT_EQ(dravik::NetToHostPort(fakes::PortWord(256)), 256);
  EXPECT_EQ(dravik::NetToHostPort(0), 0);

  const std::uint8_t loopback[4] = {0x7F, 0x00, 0x00, 0x01};
  word = loopback[0] | loopback[1] << 8 | loopback[2] << 16 | static_cast<std::uint32_t>(loopback[3]) << 24;
  EXPECT_EQ(dravik::AddressText(word), L"127.0.0.1");
  EXPECT_EQ(dravik::AddressText(Ipv4(10, 0, 0, 200)), L"10.0.0.200");
  EXPECT_EQ(dravik::AddressText(Ipv4(255, 255, 255, 255)), L"255.255.255.255");
  EXPECT_EQ(dravik::AddressText(0), L"0.0.0.0");
}

TEST(NetworkWords, StateNamesAndFileNames) {
  EXPECT_EQ(dravik::TcpStateName(0), L"UNKNOWN");
  EXPECT_EQ(dravik::TcpStateName(2), L"LISTENING");
  EXPECT_EQ(dravik::TcpStateName(5), L"ESTABLISHED");
  EXPECT_EQ(dravik::TcpStateName(11), L"TIME_WAIT");
  EXPECT_EQ(dravik::TcpStateName(12), L"DELETE_TCB");
  EXPECT_EQ(dravik::TcpStateName(13), L"");
  EXPECT_EQ(dravik::TcpStateName(0xFFFFFFFFu), L"");

  EXPECT_EQ(dravik::FileNameOfPath(L"C:\\Program Files\\App\\app.exe"), L"app.exe");
  EXPECT_EQ(dravik::FileNameOfPath(L"app.exe"), L"");
  EXPECT_EQ(dravik::FileNameOfPath(L""), L"");
  EXPECT_EQ(dravik::FileNameOfPath(L"C:\\Windows\\"), L"");
  EXPECT_EQ(dravik::FileNameOfPath(L"\\\\server\\share\\tool.com"), L"tool.com");
}

TEST_F(TcpUdpTest, ListeningSocketAndEstablishedConnectionBecomeRecords) {
  fake.tcp = {Tcp(kListen, 0, 135, 0, 0, 4), Tcp(kEstablished, Ipv4(192, 168, 1, 5), 1050, Ipv4(10, 0, 0, 2), 80, 1234)};
  fake.udp = {Udp(Ipv4(127, 0, 0, 1), 53, 900)};
  readAll();
  ASSERT_EQ(tables.tcpCount(), 2);
  ASSERT_EQ(tables.udpCount(), 1);

  const auto& listening = tables.tcpConnection(0);
  EXPECT_EQ(listening.owningPid, 4);
  EXPECT_EQ(listening.localAddress, L"0.0.0.0");
  EXPECT_EQ(listening.localPort, L"135");
  EXPECT_EQ(listening.remoteAddress, L"0.0.0.0");
  EXPECT_EQ(listening.remotePort, L"0");
  EXPECT_EQ(listening.state, L"LISTENING");
  EXPECT_EQ(listening.rawLocalPort, std::to_wstring(0x8700));  // 00 87 in memory

  const auto& established = tables.tcpConnection(1);
  EXPECT_EQ(established.owningPid, 1234);
  EXPECT_EQ(established.localAddress, L"192.168.1.5");
  EXPECT_EQ(established.localPort, L"1050");
  EXPECT_EQ(established.remoteAddress, L"10.0.0.2");
  EXPECT_EQ(established.remotePort, L"80");
  EXPECT_EQ(established.state, L"ESTABLISHED");

  const auto& udp = tables.udpEndpoint(0);
  EXPECT_EQ(udp.owningPid, 900);
  EXPECT_EQ(udp.localAddress, L"127.0.0.1");
  EXPECT_EQ(udp.localPort, L"53");
  EXPECT_EQ(udp.unused, L"");
}

TEST_F(TcpUdpTest, AddressEndingIn200HasNegativeRawTextAndClosesWithTheExactWords) {
  const std::uint32_t remote = Ipv4(10, 0, 0, 200);
  fake.tcp = {Tcp(kEstablished, Ipv4(10, 0, 0, 1), 1050, remote, 80, 1234)};
  readAll();
  const auto& record = tables.tcpConnection(0);
  EXPECT_EQ(record.rawRemoteAddress, std::to_wstring(static_cast<std::int32_t>(remote)));
  EXPECT_EQ(record.rawRemoteAddress.front(), L'-');

  EXPECT_TRUE(tables.CloseTcpConnection(0));
  ASSERT_EQ(fake.setTcpEntryCalls.size(), 1u);
  const platform::BasicTcpRow& row = fake.setTcpEntryCalls[0];
  EXPECT_EQ(row.state, 12u);
  EXPECT_EQ(row.remoteAddress, remote);
  EXPECT_EQ(row.localAddress, Ipv4(10, 0, 0, 1));
  EXPECT_EQ(row.localPort, fakes::PortWord(1050));
  EXPECT_EQ(row.remotePort, fakes::PortWord(80));
}

TEST_F(TcpUdpTest, CloseFailsForRefusalsBadIndexesAndRecordsNeverFilled) {
  fake.tcp = {Tcp(kListen, 0, 135, 0, 0, 4)};
  readAll();
  fake.setTcpEntryResult = 5;  // the system refuses: a listening socket, access denied
  EXPECT_FALSE(tables.CloseTcpConnection(0));
  EXPECT_EQ(fake.setTcpEntryCalls.size(), 1u);
  // No record behind these: nothing is asked of the system.
  EXPECT_FALSE(tables.CloseTcpConnection(1));
  EXPECT_FALSE(tables.CloseTcpConnection(2001));
  EXPECT_FALSE(tables.CloseTcpConnection(-1));
  EXPECT_EQ(fake.setTcpEntryCalls.size(), 1u);
}

TEST_F(TcpUdpTest, AllZeroRowsKeepTheRecordOfTheEarlierRead) {
  fake.tcp = {Tcp(kEstablished, Ipv4(127, 0, 0, 1), 5000, Ipv4(127, 0, 0, 1), 5001, 77)};
  fake.udp = {Udp(Ipv4(0, 0, 0, 0), 137, 88)};
  readAll();
  // Second read: the same positions hold rows the zero test skips
  // (a UDP row on port 0 of 0.0.0.0 included).
  fake.tcp = {Tcp(kListen, Ipv4(127, 0, 0, 1), 0, 0, 0, 99)};
  fake.udp = {Udp(0, 0, 99)};
  readAll();
  EXPECT_EQ(tables.tcpConnection(0).localPort, L"5000");
  EXPECT_EQ(tables.tcpConnection(0).owningPid, 77);
  EXPECT_EQ(tables.udpEndpoint(0).localPort, L"137");
  EXPECT_EQ(tables.udpEndpoint(0).owningPid, 88);

  // On a first read a skipped UDP row leaves an empty record.
  fakes::FakeNetworkTables fresh;
  fresh.udp = {Udp(0, 0, 42)};
  dravik::TcpUdp other(fresh, ui);
  other.LoadUdpTable();
  other.ParseUdpTable();
  EXPECT_EQ(other.udpCount(), 1);
  EXPECT_EQ(other.udpEndpoint(0).localPort, L"");
  EXPECT_EQ(other.udpEndpoint(0).owningPid, 0);
}

TEST_F(TcpUdpTest, OnlyTheFirst2001RowsAreStoredAndMessagesArePumpedPerRow) {
  for (std::uint16_t i = 0; i < 2500; ++i) {
    fake.tcp.push_back(Tcp(kEstablished, Ipv4(127, 0, 0, 1), static_cast<std::uint16_t>(10000 + i), Ipv4(127, 0, 0, 1), 80, i));
  }
  fake.udp = {Udp(0, 53, 1), Udp(0, 54, 2)};
  readAll();
  EXPECT_EQ(tables.tcpCount(), 2500);
  EXPECT_EQ(tables.tcpConnection(2000).localPort, L"12000");
  EXPECT_EQ(tables.tcpConnection(2000).owningPid, 2000);
  EXPECT_THROW(tables.tcpConnection(2001), std::out_of_range);
  // The window stays alive through a long parse: one pump per stored row.
  EXPECT_EQ(ui.pumps, 2001 + 2);

  // Exactly 2,001 rows: the last one has its record too.
  fake.tcp.resize(2001);
  fake.tcp[2000].localPort = fakes::PortWord(4242);
  readAll();
  EXPECT_EQ(tables.tcpCount(), 2001);
  EXPECT_EQ(tables.tcpConnection(2000).localPort, L"4242");
}

TEST_F(TcpUdpTest, WatchRebuildsOnlyWhenTheCountMoves) {
  int rebuilds = 0;
  auto rebuild = [&] { ++rebuilds; };
  fake.tcp = {Tcp(kListen, 0, 135, 0, 0, 4)};
  tables.WatchTcpCount(rebuild);  // 0 -> 1: the first look fills the list
  EXPECT_EQ(rebuilds, 1);
  EXPECT_EQ(tables.lastTcpCount(), 1);
  EXPECT_EQ(fake.tcpCalls, 0) << "the watch reads only the cheap table";

  // One connection replaced by another: same number, no rebuild.
  fake.tcp = {Tcp(kEstablished, Ipv4(127, 0, 0, 1), 5000, Ipv4(127, 0, 0, 1), 5001, 7)};
  tables.WatchTcpCount(rebuild);
  EXPECT_EQ(rebuilds, 1);

  fake.tcp.push_back(Tcp(kListen, 0, 445, 0, 0, 4));
  tables.WatchTcpCount(rebuild);
  EXPECT_EQ(rebuilds, 2);
  tables.WatchTcpCount(rebuild);
  EXPECT_EQ(rebuilds, 2);

  // A failed read compares the last good count, then forgets what it saw,
  // so the next good read rebuilds.
  fake.basicError = 31;
  tables.WatchTcpCount(rebuild);
  EXPECT_EQ(rebuilds, 2);
  EXPECT_EQ(tables.lastTcpCount(), 0);
  fake.basicError = 0;
  tables.WatchTcpCount(rebuild);
  EXPECT_EQ(rebuilds, 3);
  EXPECT_TRUE(ui.boxes.empty());
}

TEST_F(TcpUdpTest, WatchWithoutIpHelperSaysSoAndDoesNothingElse) {
  fake.basicSizeQueryResult = platform::iphlp::kNotSupported;
  fake.tcp = {Tcp(kListen, 0, 135, 0, 0, 4)};
  int rebuilds = 0;
  tables.WatchTcpCount([&] { ++rebuilds; });
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, L"IP Helper not supported!");
  EXPECT_EQ(ui.boxes[0].title, L"");
  EXPECT_EQ(ui.boxes[0].flags, 0u);
  EXPECT_EQ(rebuilds, 0);
  EXPECT_EQ(tables.lastTcpCount(), 0);
}

TEST_F(TcpUdpTest, CountChangedAfterACloseComparesAndRemembers) {
  fake.tcp = {Tcp(kEstablished, Ipv4(127, 0, 0, 1), 5000, Ipv4(127, 0, 0, 1), 5001, 7),
              Tcp(kEstablished, Ipv4(127, 0, 0, 1), 5001, Ipv4(127, 0, 0, 1), 5000, 7)};
  tables.WatchTcpCount([] {});
  readAll();
  EXPECT_FALSE(tables.TcpCountChanged());
  ASSERT_TRUE(tables.CloseTcpConnection(0));
  EXPECT_TRUE(tables.TcpCountChanged());
  EXPECT_EQ(tables.lastTcpCount(), 1);
  EXPECT_FALSE(tables.TcpCountChanged());
  fake.basicError = 31;
  EXPECT_TRUE(tables.TcpCountChanged()) << "a failed read counts as 0";
  EXPECT_EQ(tables.lastTcpCount(), 0);
  EXPECT_TRUE(ui.boxes.empty());
}

}  // namespace
