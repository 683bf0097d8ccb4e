#pragma once
// The machine's TCP connections and UDP endpoints as display-ready records,
// closing a TCP connection, and the cheap count watch that decides when the
// Network list is worth rebuilding.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/network_tables.h"
#include "platform/window_manager.h"

namespace dravik {

// Records kept per table: rows past the last one have no record.
inline constexpr int kNetworkRecords = 2001;

struct TcpConnection {
  std::int32_t owningPid = 0;
  std::wstring localPort;   // host order, decimal
  std::wstring remotePort;
  std::wstring localAddress;  // dotted decimal
  std::wstring remoteAddress;
  // The table's own words as signed decimals, so a close can hand the very
  // same row back to the system.
  std::wstring rawLocalPort;
  std::wstring rawRemotePort;
  std::wstring rawLocalAddress;
  std::wstring rawRemoteAddress;
  std::wstring state;
};

struct UdpEndpoint {
  std::int32_t owningPid = 0;
  std::wstring localPort;
  std::wstring localAddress;
};

// The port in host order from a table port word (its low 16 bits hold the
// port in network order): bytes 00 50 in memory give 80.
std::uint16_t NetToHostPort(std::uint32_t value);
// The four bytes of an address word in memory order, dotted: 7F 00 00 01 gives 127.0.0.1.
std::wstring AddressText(std::uint32_t value);
// The fixed English name of a TCP state code; empty for an unknown code.
std::wstring TcpStateName(std::uint32_t code);
// The part after the last backslash; empty without a backslash.
std::wstring FileNameOfPath(const std::wstring& path);

// Drops the connection of a record, handing the system back the very words
// it was read from; true when the system did.
bool CloseTcpConnection(platform::NetworkTables& tables, const TcpConnection& record);

class TcpUdp {
 public:
  explicit TcpUdp(platform::NetworkTables& tables);

  // Reads a table into the shared buffer; the count changes only on success.
  // Each parse must follow its own load: the two loads share the buffer.
  bool LoadTcpTable();
  void ParseTcpTable();
  bool LoadUdpTable();
  void ParseUdpTable();

  // Reads the TCP row count and runs `rebuild` when it differs from the count
  // seen last. Shows "IP Helper not supported!" when the system lacks the call.
  void WatchTcpCount(platform::UserInterface& ui, const std::function<void()>& rebuild);
  // After a close: true when the TCP row count moved; remembers the new count.
  bool TcpCountChanged();
  // The next watch rebuilds whatever it reads: the rebuild of the count seen
  // last never showed.
  void ForgetTcpCount() { lastTcpCount_ = 0; }

  std::int32_t tcpCount() const { return tcpCount_; }
  std::int32_t udpCount() const { return udpCount_; }
  std::int32_t lastTcpCount() const { return lastTcpCount_; }
  // Records by row position, 0 to kNetworkRecords - 1; never cleared. Empty
  // ones before the first parse.
  const TcpConnection& tcpConnection(int index) const;
  const UdpEndpoint& udpEndpoint(int index) const;

 private:
  using Reader = std::uint32_t (platform::NetworkTables::*)(std::uint8_t*, std::uint32_t&);
  bool loadTable(Reader read, std::int32_t& count);
  // The basic table's row count; nothing when the read failed.
  bool readBasicCount(std::int32_t& count, std::uint32_t* sizeQueryResult);
  std::uint32_t word(std::size_t offset, bool& inside) const;
  // `count` words of the table from `offset`; false when any lies past its end.
  bool rowWords(std::size_t offset, std::uint32_t* words, std::size_t count) const;

  platform::NetworkTables& tables_;
  std::vector<std::uint8_t> tableBuffer_;
  std::int32_t tcpCount_ = 0;
  std::int32_t udpCount_ = 0;
  std::int32_t lastTcpCount_ = 0;
  std::int32_t watchedCount_ = 0;  // the latest count a successful watch read
  // Made by the first parse: an object that only watches the count needs none.
  std::unique_ptr<std::array<TcpConnection, kNetworkRecords>> tcp_;
  std::unique_ptr<std::array<UdpEndpoint, kNetworkRecords>> udp_;
};

}  // namespace dravik
