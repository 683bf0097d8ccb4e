// The connection tables and the Network list's rows, over tables built in
// memory: what the Wine tests, over the real tables and the same double, do
// not stage.
#include <gtest/gtest.h>

#include "doubles/fake_network_tables.h"
#include "doubles/fake_system.h"
#include "network/network_rows.h"
#include "network/tcp_udp.h"

namespace {

using fakes::Ipv4;
using fakes::Tcp;

TEST(NetworkWords, AnUpperHalfInAPortWordIsIgnoredAndAnUnknownStateHasNoName) {
  EXPECT_EQ(dravik::NetToHostPort(fakes::PortWord(256) | 0xCDAB0000u), 256);
  EXPECT_EQ(dravik::TcpStateName(12) + L"|" + dravik::TcpStateName(13), L"DELETE_TCB|");
}

TEST(NetworkListing, OnlyTheFirst2001RowsAreStoredAndListedAndAFailedReadKeepsThem) {
  fakes::FakeNetworkTables fake;
  dravik::TcpUdp tables{fake};
  const auto noName = [](std::uint32_t) { return std::wstring(); };
  const dravik::ProcessLookup lookup{noName, noName};
  for (std::uint16_t i = 0; i < 2500; ++i) fake.tcp.push_back(Tcp(5, Ipv4(127, 0, 0, 1), 10000 + i, Ipv4(127, 0, 0, 1), 80, i));
  fake.udp = {fakes::Udp(0, 53, 1)};
  EXPECT_EQ(dravik::ReadNetworkListing(tables, lookup).rows.size(), 2002u);
  fake.tcpError = fake.udpError = 31;
  fake.tcp.clear();
  const auto listing = dravik::ReadNetworkListing(tables, lookup);
  ASSERT_EQ(listing.rows.size(), 2002u) << "a failed read keeps the counts and records of the last good one";
  EXPECT_EQ(listing.rows[2000].columns[dravik::kNetLocalPort], L"12000");
  EXPECT_EQ(listing.rows[2001].columns[dravik::kNetProtocol], L"UDP");
}

TEST(NetworkCountWatch, AFailedCountReadIsForgottenAndAMissingHelperIsSaid) {
  fakes::FakeNetworkTables fake;
  dravik::TcpUdp tables{fake};
  fakes::FakeUserInterface ui;
  int rebuilds = 0;
  const auto watch = [&] { tables.WatchTcpCount(ui, [&] { ++rebuilds; }); };
  fake.tcp = {Tcp(2, 0, 135, 0, 0, 4)};
  watch();
  fake.basicError = 31;
  watch();
  fake.basicError = 0;
  watch();
  EXPECT_EQ(rebuilds, 2) << "the first look, and the good read after the failed one";
  fake.basicSizeQueryResult = platform::iphlp::kNotSupported;
  watch();
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text + L"|" + ui.boxes[0].title + std::to_wstring(ui.boxes[0].flags), L"IP Helper not supported!|0");
}

}  // namespace
