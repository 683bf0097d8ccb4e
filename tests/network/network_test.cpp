// The connection tables and the Network list's rows, over tables built in memory.
#include <gtest/gtest.h>

#include "doubles/fake_network_tables.h"
#include "doubles/fake_system.h"
#include "network/network_rows.h"
#include "network/tcp_udp.h"

namespace {

using fakes::Ipv4;
using fakes::Tcp;
using fakes::Udp;

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

TEST(NetworkWords, TheWordsTheRealTablesDoNotStage) {
  // An upper half in a port word is ignored, an address octet of 128 or more is not a sign, an
  // unknown state has no name.
  EXPECT_EQ(dravik::NetToHostPort(fakes::PortWord(256) | 0xCDAB0000u), 256);
  EXPECT_EQ(dravik::AddressText(Ipv4(255, 255, 255, 200)), L"255.255.255.200");
  EXPECT_EQ(dravik::TcpStateName(12) + L"|" + dravik::TcpStateName(13), L"DELETE_TCB|");
}

TEST_F(NetworkTest, OnlyTheFirst2001RowsAreStoredAndListedAndAFailedReadKeepsThem) {
  for (std::uint16_t i = 0; i < 2500; ++i) fake.tcp.push_back(Tcp(5, Ipv4(127, 0, 0, 1), 10000 + i, Ipv4(127, 0, 0, 1), 80, i));
  fake.udp = {Udp(0, 53, 1), Udp(0, 54, 2)};
  const auto listing = dravik::ReadNetworkListing(tables, lookup);
  EXPECT_EQ(tables.tcpCount(), 2500);
  ASSERT_EQ(listing.rows.size(), 2003u);
  EXPECT_EQ(listing.rows[2000].columns[dravik::kNetLocalPort], L"12000");
  EXPECT_EQ(listing.rows[2001].columns[dravik::kNetProtocol], L"UDP");
  EXPECT_EQ(listing.tcp.size(), 2001u);
  fake.tcpError = fake.udpError = 31;
  fake.tcp.clear();
  EXPECT_EQ(rows().size(), 2003u) << "a failed read keeps the counts and records of the last good one";
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
