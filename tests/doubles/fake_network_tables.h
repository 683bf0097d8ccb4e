#pragma once
// A double of the IP helper: tables built in memory, in the system's byte
// layout, with the size-then-data protocol of the real calls. Under Wine the
// real tables give almost every row the owner pid 0 and SetTcpEntry closes
// nothing, so the owner and close paths are proved over this double.
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "platform/network_tables.h"

namespace fakes {

// An address word: octet a in the lowest byte, as the tables hold it.
constexpr std::uint32_t Ipv4(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
  return a | b << 8 | c << 16 | d << 24;
}
// A port word: the port in network order in the low 16 bits.
constexpr std::uint32_t PortWord(std::uint16_t port) { return static_cast<std::uint32_t>((port & 0xFF) << 8 | port >> 8); }

// A TCP row in the table's words: state, local address and port, remote address and port, pid.
using FakeTcpRow = std::array<std::uint32_t, 6>;
using FakeUdpRow = std::array<std::uint32_t, 3>;  // local address and port, pid
inline FakeTcpRow Tcp(std::uint32_t state, std::uint32_t localAddress, std::uint16_t localPort,
                      std::uint32_t remoteAddress, std::uint16_t remotePort, std::uint32_t pid) {
  return {state, localAddress, PortWord(localPort), remoteAddress, PortWord(remotePort), pid};
}
inline FakeUdpRow Udp(std::uint32_t localAddress, std::uint16_t localPort, std::uint32_t pid) {
  return {localAddress, PortWord(localPort), pid};
}

class FakeNetworkTables final : public platform::NetworkTables {
 public:
  std::uint32_t tcpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) override {
    const std::uint32_t result = Answer(tcp, tcpError, buffer, size);
    if (buffer && result != platform::iphlp::kInsufficientBuffer && duringRead) duringRead();
    return result;
  }
  std::uint32_t udpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) override {
    return Answer(udp, udpError, buffer, size);
  }
  std::uint32_t basicTcpTable(std::uint8_t* buffer, std::uint32_t& size) override {
    if (buffer == nullptr && basicSizeQueryResult) return *basicSizeQueryResult;
    // Only the count of this table is ever read: its rows are left blank.
    return Answer(std::vector<std::array<std::uint32_t, 5>>(tcp.size()), basicError, buffer, size);
  }
  // Succeeding, it removes the closed row from `tcp`, as Windows does.
  std::uint32_t setTcpEntry(const platform::BasicTcpRow& row) override {
    setTcpEntryCalls.push_back(row);
    if (setTcpEntryResult == 0) {
      std::erase_if(tcp, [&](const FakeTcpRow& r) {
        return r[1] == row.localAddress && r[2] == row.localPort && r[3] == row.remoteAddress && r[4] == row.remotePort;
      });
    }
    return setTcpEntryResult;
  }

  std::vector<FakeTcpRow> tcp;
  std::vector<FakeUdpRow> udp;
  // Errors the data calls return (the size queries still answer), 0 = none.
  std::uint32_t tcpError = 0, udpError = 0, basicError = 0;
  // What the basic table's size query returns instead of its normal answer.
  std::optional<std::uint32_t> basicSizeQueryResult;
  std::uint32_t setTcpEntryResult = 0;
  std::vector<platform::BasicTcpRow> setTcpEntryCalls;
  // Runs inside every data call of the TCP owner table, on the thread that reads.
  std::function<void()> duringRead;

 private:
  // The real calls' protocol: a short buffer gets the size needed and 122,
  // a big enough one the table and 0 (or the error the test chose).
  template <std::size_t N>
  static std::uint32_t Answer(const std::vector<std::array<std::uint32_t, N>>& rows, std::uint32_t error,
                              std::uint8_t* buffer, std::uint32_t& size) {
    std::vector<std::uint32_t> words{static_cast<std::uint32_t>(rows.size())};
    for (const auto& row : rows) words.insert(words.end(), row.begin(), row.end());
    const auto bytes = static_cast<std::uint32_t>(words.size() * 4);
    if (buffer == nullptr || size < bytes) {
      size = bytes;
      return platform::iphlp::kInsufficientBuffer;
    }
    if (error != 0) return error;
    std::memcpy(buffer, words.data(), bytes);  // little-endian, as the system's tables
    return platform::iphlp::kOk;
  }
};

// Tables read through another object, as a worker thread reads through one of
// its own: the double (or the real tables) stays the test's.
class BorrowedTables final : public platform::NetworkTables {
 public:
  explicit BorrowedTables(platform::NetworkTables& tables) : tables_(tables) {}
  std::uint32_t tcpTableWithOwners(std::uint8_t* b, std::uint32_t& s) override { return tables_.tcpTableWithOwners(b, s); }
  std::uint32_t udpTableWithOwners(std::uint8_t* b, std::uint32_t& s) override { return tables_.udpTableWithOwners(b, s); }
  std::uint32_t basicTcpTable(std::uint8_t* b, std::uint32_t& s) override { return tables_.basicTcpTable(b, s); }
  std::uint32_t setTcpEntry(const platform::BasicTcpRow& r) override { return tables_.setTcpEntry(r); }

 private:
  platform::NetworkTables& tables_;
};

}  // namespace fakes
