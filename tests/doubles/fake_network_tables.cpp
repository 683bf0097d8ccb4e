#include "doubles/fake_network_tables.h"

#include <algorithm>
#include <cstring>

namespace fakes {

namespace {

void PutWord(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}

// The real calls' protocol: a short buffer gets the size needed and 122,
// a big enough one the table and 0 (or the error the test chose).
std::uint32_t Answer(const std::vector<std::uint8_t>& table, std::uint32_t error, std::uint8_t* buffer,
                     std::uint32_t& size) {
  if (size < table.size() || buffer == nullptr) {
    if (size >= table.size() && buffer == nullptr) return platform::iphlp::kInvalidParameter;
    size = static_cast<std::uint32_t>(table.size());
    return platform::iphlp::kInsufficientBuffer;
  }
  if (error != 0) return error;
  std::memcpy(buffer, table.data(), table.size());
  return platform::iphlp::kOk;
}

}  // namespace

FakeTcpRow Tcp(std::uint32_t state, std::uint32_t localAddress, std::uint16_t localPort,
               std::uint32_t remoteAddress, std::uint16_t remotePort, std::uint32_t pid) {
  return {state, localAddress, PortWord(localPort), remoteAddress, PortWord(remotePort), pid};
}

FakeUdpRow Udp(std::uint32_t localAddress, std::uint16_t localPort, std::uint32_t pid) {
  return {localAddress, PortWord(localPort), pid};
}

std::uint32_t FakeNetworkTables::tcpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) {
  ++tcpCalls;
  std::vector<std::uint8_t> table;
  PutWord(table, static_cast<std::uint32_t>(tcp.size()));
  for (const FakeTcpRow& row : tcp) {
    for (std::uint32_t w : {row.state, row.localAddress, row.localPort, row.remoteAddress, row.remotePort, row.pid}) {
      PutWord(table, w);
    }
  }
  const std::uint32_t result = Answer(table, tcpError, buffer, size);
  if (result == platform::iphlp::kOk || (size >= table.size() && buffer)) {
    ++readDepth;
    deepestRead = std::max(deepestRead, readDepth);
    if (duringRead) duringRead();
    --readDepth;
  }
  return result;
}

std::uint32_t FakeNetworkTables::udpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) {
  ++udpCalls;
  std::vector<std::uint8_t> table;
  PutWord(table, static_cast<std::uint32_t>(udp.size()));
  for (const FakeUdpRow& row : udp) {
    for (std::uint32_t w : {row.localAddress, row.localPort, row.pid}) PutWord(table, w);
  }
  return Answer(table, udpError, buffer, size);
}

std::uint32_t FakeNetworkTables::basicTcpTable(std::uint8_t* buffer, std::uint32_t& size) {
  ++basicCalls;
  const std::uint32_t rows = basicRows.value_or(static_cast<std::uint32_t>(tcp.size()));
  if (buffer == nullptr && basicSizeQueryResult) return *basicSizeQueryResult;
  std::vector<std::uint8_t> table;
  PutWord(table, rows);
  table.resize(4 + 20 * static_cast<std::size_t>(rows));  // the rows themselves are never read
  return Answer(table, basicError, buffer, size);
}

std::uint32_t FakeNetworkTables::setTcpEntry(const platform::BasicTcpRow& row) {
  setTcpEntryCalls.push_back(row);
  if (setTcpEntryResult == 0 && closeRemovesRow) {
    auto same = [&](const FakeTcpRow& r) {
      return r.localAddress == row.localAddress && r.localPort == row.localPort &&
             r.remoteAddress == row.remoteAddress && r.remotePort == row.remotePort;
    };
    tcp.erase(std::remove_if(tcp.begin(), tcp.end(), same), tcp.end());
  }
  return setTcpEntryResult;
}

}  // namespace fakes
