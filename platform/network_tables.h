#pragma once
// The IP helper as the program sees it: the machine's IPv4 TCP and UDP tables
// as raw bytes, and closing a TCP connection. (The port byte swap is plain
// arithmetic and lives with the table parser.)
//
// Every table comes back in the system's own layout: a 32-bit row count, then
// the rows, each a run of 32-bit little-endian words.
//   TCP with owners: state, local address, local port, remote address,
//                    remote port, owning process id (24 bytes a row)
//   UDP with owners: local address, local port, owning process id (12 bytes)
//   TCP, basic:      state, local address, local port, remote address,
//                    remote port (20 bytes)
// Addresses hold their four octets in network order (first octet in the lowest
// byte); ports hold the port in network order in their low 16 bits.
#include <cstdint>

namespace platform {

// Results of the IP-helper calls, by their Win32 values.
namespace iphlp {
constexpr std::uint32_t kOk = 0;
constexpr std::uint32_t kNotSupported = 50;         // ERROR_NOT_SUPPORTED
constexpr std::uint32_t kInvalidParameter = 87;     // ERROR_INVALID_PARAMETER
constexpr std::uint32_t kInsufficientBuffer = 122;  // ERROR_INSUFFICIENT_BUFFER
constexpr std::uint32_t kStateDeleteTcb = 12;       // the state that asks to drop a connection
}  // namespace iphlp

// A row of the basic TCP table, values exactly as the table holds them.
struct BasicTcpRow {
  std::uint32_t state = 0;
  std::uint32_t localAddress = 0;
  std::uint32_t localPort = 0;
  std::uint32_t remoteAddress = 0;
  std::uint32_t remotePort = 0;
};

class NetworkTables {
 public:
  virtual ~NetworkTables() = default;
  // Each read fills `buffer` (of `size` bytes; it may be null when `size` is 0)
  // and returns kOk, or returns an error. On kInsufficientBuffer `size` becomes
  // the bytes needed and the buffer is left alone.
  //
  // All TCP connections of every state with their owning processes, sorted.
  virtual std::uint32_t tcpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) = 0;
  // The UDP listeners with their owning processes, sorted.
  virtual std::uint32_t udpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) = 0;
  // The basic TCP table, unsorted: cheap, used for its row count.
  virtual std::uint32_t basicTcpTable(std::uint8_t* buffer, std::uint32_t& size) = 0;
  // Changes a TCP entry; with state kStateDeleteTcb it drops the connection.
  // 0 on success, else the Win32 error.
  virtual std::uint32_t setTcpEntry(const BasicTcpRow& row) = 0;
};

}  // namespace platform
