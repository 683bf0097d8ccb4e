// The connection tables and the Network list's rows, over tables built in memory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "doubles/fake_network_tables.h"
#include "doubles/fake_system.h"
#include "network/network_rows.h"
#include "network/tcp_udp.h"

namespace {

using fakes::Ipv4;
using fakes::Tcp;
using fakes::Udp;
using ::testing::ElementsAre;

class NetworkTest : public ::testing::Test {
 protected:
  std::vector<dravik::NetworkRow> rows() { return dravik::ReadNetworkListing(tables, lookup).rows; }
  fakes::FakeNetworkTables fake;
  fakes::FakeUserInterface ui;
  dravik::TcpUdp tables{fake};
  dravik::ProcessLookup lookup{
      [](std::uint32_t pid) { return std::wstring(pid == 1234 ? L"C:\\Apps\\app.exe" : L""); },
      [](std::uint32_t pid) { return pid == 4 ? L"(System)" : L"(" + std::to_wstring(pid) + L")"; }};
};

TEST(NetworkWords, PortAndAddressWordsStateNamesAndFileNames) {
  // The real tables' byte order is proved by the Wine test's loopback sockets; here the words it cannot stage:
  // a port word's upper half is ignored, and an address octet of 128 or more is not a sign.
  EXPECT_EQ(dravik::NetToHostPort(fakes::PortWord(256) | 0xCDAB0000u), 256);
  EXPECT_EQ(dravik::AddressText(Ipv4(255, 255, 255, 200)), L"255.255.255.200");

  EXPECT_THAT((std::vector{dravik::TcpStateName(0), dravik::TcpStateName(2), dravik::TcpStateName(5),
                           dravik::TcpStateName(11), dravik::TcpStateName(12), dravik::TcpStateName(13),
                           dravik::TcpStateName(0xFFFFFFFFu)}),
              ElementsAre(L"UNKNOWN", L"LISTENING", L"ESTABLISHED", L"TIME_WAIT", L"DELETE_TCB", L"", L""));
  EXPECT_THAT((std::vector{dravik::FileNameOfPath(L"C:\\Program Files\\App\\app.exe"), dravik::FileNameOfPath(L"app.exe"),
                           dravik::FileNameOfPath(L""), dravik::FileNameOfPath(L"C:\\Windows\\"),
                           dravik::FileNameOfPath(L"\\\\server\\share\\tool.com")}),
              ElementsAre(L"app.exe", L"", L"", L"", L"tool.com"));
}

TEST_F(NetworkTest, SkippedRowsAndFailedReadsKeepTheRecordsOfTheEarlierRead) {
  fake.tcp = {Tcp(5, Ipv4(127, 0, 0, 1), 5000, Ipv4(127, 0, 0, 1), 5001, 77)};
  fake.udp = {Udp(0, 0, 42), Udp(0, 137, 88)};
  rows();
  EXPECT_EQ(tables.udpEndpoint(0).localPort, L"") << "on a first read a skipped UDP row (0.0.0.0:0) stays empty";
  // Second read: the same positions hold rows the zero test skips.
  fake.tcp = {Tcp(2, Ipv4(127, 0, 0, 1), 0, 0, 0, 99)};
  fake.udp = {Udp(0, 0, 99), Udp(0, 0, 99)};
  const auto list = rows();
  EXPECT_EQ(tables.tcpConnection(0).localPort + L"/" + std::to_wstring(tables.tcpConnection(0).owningPid), L"5000/77");
  EXPECT_EQ(tables.udpEndpoint(1).localPort + L"/" + std::to_wstring(tables.udpEndpoint(1).owningPid), L"137/88");
  EXPECT_EQ(list.size(), 3u);
  fake.tcpError = fake.udpError = 31;
  fake.tcp.clear();
  EXPECT_EQ(rows().size(), 3u) << "a failed read keeps the counts and records of the last good one";
}

TEST_F(NetworkTest, OnlyTheFirst2001RowsAreStoredAndListedWithTheirRecords) {
  for (std::uint16_t i = 0; i < 2500; ++i) fake.tcp.push_back(Tcp(5, Ipv4(127, 0, 0, 1), 10000 + i, Ipv4(127, 0, 0, 1), 80, i));
  fake.udp = {Udp(0, 53, 1), Udp(0, 54, 2)};
  const auto listing = dravik::ReadNetworkListing(tables, lookup);
  EXPECT_EQ(tables.tcpCount(), 2500);
  ASSERT_EQ(listing.rows.size(), 2003u);
  EXPECT_EQ(listing.rows[2000].columns[dravik::kNetLocalPort], L"12000");
  EXPECT_EQ(listing.rows[2001].columns[dravik::kNetProtocol], L"UDP");
  // A row's tag finds its own record in the listing.
  ASSERT_EQ(listing.tcp.size(), 2001u);
  EXPECT_EQ(listing.tcp[static_cast<std::size_t>(listing.rows[2000].tag)].localPort, L"12000");
  EXPECT_EQ(listing.udp.at(static_cast<std::size_t>(listing.rows[2002].tag)).localPort, L"54");
}

// The Wine tests tick the watch and close over this double; here what they do not stage.
TEST_F(NetworkTest, AFailedCountReadIsForgottenAndAMissingHelperIsSaid) {
  int rebuilds = 0;
  fake.tcp = {Tcp(2, 0, 135, 0, 0, 4), Tcp(5, Ipv4(127, 0, 0, 1), 5000, Ipv4(127, 0, 0, 1), 5001, 7)};
  tables.WatchTcpCount(ui, [&] { ++rebuilds; });
  fake.basicError = 31;
  tables.WatchTcpCount(ui, [&] { ++rebuilds; });
  EXPECT_EQ(tables.lastTcpCount(), 0);
  fake.basicError = 0;
  tables.WatchTcpCount(ui, [&] { ++rebuilds; });
  EXPECT_EQ(rebuilds, 2) << "the first look, and the good read after the failed one";
  EXPECT_TRUE(ui.boxes.empty());
  fake.basicSizeQueryResult = platform::iphlp::kNotSupported;
  tables.WatchTcpCount(ui, [&] { ++rebuilds; });
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text + L"|" + ui.boxes[0].title + std::to_wstring(ui.boxes[0].flags), L"IP Helper not supported!|0");
}

}  // namespace
