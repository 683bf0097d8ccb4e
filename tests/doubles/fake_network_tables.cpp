#include "doubles/fake_network_tables.h"

#include <algorithm>
#include <cstring>

namespace fakes {

namespace {

// The real calls' protocol: a short buffer gets the size needed and 122,
// a big enough one the table and 0 (or the error the test chose).
template <std::size_t N>
std::uint32_t Answer(const std::vector<std::array<std::uint32_t, N>>& rows, std::uint32_t count, std::uint32_t error,
                     std::uint8_t* buffer, std::uint32_t& size) {
  std::vector<std::uint32_t> words(1 + N * static_cast<std::size_t>(count));
  words[0] = count;
  for (std::size_t i = 0; i < rows.size() && i < count; ++i) std::copy(rows[i].begin(), rows[i].end(), &words[1 + N * i]);
  const auto bytes = static_cast<std::uint32_t>(words.size() * 4);
  if (size < bytes || buffer == nullptr) {
    if (buffer == nullptr && size >= bytes) return platform::iphlp::kInvalidParameter;
    size = bytes;
    return platform::iphlp::kInsufficientBuffer;
  }
  if (error != 0) return error;
  std::memcpy(buffer, words.data(), bytes);  // little-endian, as the system's tables
  return platform::iphlp::kOk;
}

}  // namespace

std::uint32_t FakeNetworkTables::tcpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) {
  ++tcpCalls;
  const std::uint32_t result = Answer(tcp, static_cast<std::uint32_t>(tcp.size()), tcpError, buffer, size);
  if (buffer && result != platform::iphlp::kInsufficientBuffer) {
    deepestRead = std::max(deepestRead, ++readDepth);
    if (duringRead) duringRead();
    --readDepth;
  }
  return result;
}

std::uint32_t FakeNetworkTables::udpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) {
  ++udpCalls;
  return Answer(udp, static_cast<std::uint32_t>(udp.size()), udpError, buffer, size);
}

std::uint32_t FakeNetworkTables::basicTcpTable(std::uint8_t* buffer, std::uint32_t& size) {
  ++basicCalls;
  if (buffer == nullptr && basicSizeQueryResult) return *basicSizeQueryResult;
  // Five words a row; only the count is ever read.
  return Answer(std::vector<std::array<std::uint32_t, 5>>{}, basicRows.value_or(static_cast<std::uint32_t>(tcp.size())),
                basicError, buffer, size);
}

std::uint32_t FakeNetworkTables::setTcpEntry(const platform::BasicTcpRow& row) {
  setTcpEntryCalls.push_back(row);
  if (setTcpEntryResult == 0) {
    std::erase_if(tcp, [&](const FakeTcpRow& r) {
      return r[1] == row.localAddress && r[2] == row.localPort && r[3] == row.remoteAddress && r[4] == row.remotePort;
    });
  }
  return setTcpEntryResult;
}

}  // namespace fakes
