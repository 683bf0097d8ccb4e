#include "platform/win32/win32_network_tables.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include "platform/win32/system_library.h"

namespace platform::win32 {

namespace {

constexpr int kAddressFamilyIpv4 = AF_INET;
constexpr unsigned long kTcpOwnerPidAll = 5;  // TCP_TABLE_OWNER_PID_ALL
constexpr unsigned long kUdpOwnerPid = 1;     // UDP_TABLE_OWNER_PID

// One read of GetExtendedTcpTable or GetExtendedUdpTable (IPv4, sorted);
// not supported when iphlpapi lacks the function.
template <class Read, class TableClass>
std::uint32_t ReadOwnerTable(Read* read, std::uint8_t* buffer, std::uint32_t& size, TableClass tableClass) {
  if (!read) return iphlp::kNotSupported;
  DWORD bytes = size;
  const DWORD result = read(buffer, &bytes, TRUE, kAddressFamilyIpv4, tableClass, 0);
  size = static_cast<std::uint32_t>(bytes);
  return static_cast<std::uint32_t>(result);
}

}  // namespace

struct Win32NetworkTables::IpHelper {
  SystemLibrary library{L"iphlpapi.dll"};
  decltype(::GetExtendedTcpTable)* extendedTcp =
      library.find<decltype(::GetExtendedTcpTable)>("GetExtendedTcpTable");
  decltype(::GetExtendedUdpTable)* extendedUdp =
      library.find<decltype(::GetExtendedUdpTable)>("GetExtendedUdpTable");
  decltype(::GetTcpTable)* tcpTable = library.find<decltype(::GetTcpTable)>("GetTcpTable");
  decltype(::SetTcpEntry)* setTcpEntry = library.find<decltype(::SetTcpEntry)>("SetTcpEntry");
};

Win32NetworkTables::Win32NetworkTables() = default;
Win32NetworkTables::~Win32NetworkTables() = default;

const Win32NetworkTables::IpHelper& Win32NetworkTables::ipHelper() {
  if (!ipHelper_) ipHelper_ = std::make_unique<IpHelper>();
  return *ipHelper_;
}

std::uint32_t Win32NetworkTables::tcpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) {
  return ReadOwnerTable(ipHelper().extendedTcp, buffer, size, static_cast<TCP_TABLE_CLASS>(kTcpOwnerPidAll));
}

std::uint32_t Win32NetworkTables::udpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) {
  return ReadOwnerTable(ipHelper().extendedUdp, buffer, size, static_cast<UDP_TABLE_CLASS>(kUdpOwnerPid));
}

std::uint32_t Win32NetworkTables::basicTcpTable(std::uint8_t* buffer, std::uint32_t& size) {
  const auto read = ipHelper().tcpTable;
  if (!read) return iphlp::kNotSupported;
  ULONG bytes = size;
  const DWORD result = read(reinterpret_cast<PMIB_TCPTABLE>(buffer), &bytes, FALSE);
  size = static_cast<std::uint32_t>(bytes);
  return static_cast<std::uint32_t>(result);
}

std::uint32_t Win32NetworkTables::setTcpEntry(const BasicTcpRow& row) {
  const auto set = ipHelper().setTcpEntry;
  if (!set) return iphlp::kNotSupported;
  MIB_TCPROW entry{};
  entry.dwState = row.state;
  entry.dwLocalAddr = row.localAddress;
  entry.dwLocalPort = row.localPort;
  entry.dwRemoteAddr = row.remoteAddress;
  entry.dwRemotePort = row.remotePort;
  return static_cast<std::uint32_t>(set(&entry));
}

}  // namespace platform::win32
