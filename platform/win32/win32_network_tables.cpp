#include "platform/win32/win32_network_tables.h"

#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

namespace platform::win32 {

namespace {

constexpr int kAddressFamilyIpv4 = AF_INET;
constexpr unsigned long kTcpOwnerPidAll = 5;  // TCP_TABLE_OWNER_PID_ALL
constexpr unsigned long kUdpOwnerPid = 1;     // UDP_TABLE_OWNER_PID

template <typename Function>
Function Entry(const char* name) {
  HMODULE library = ::GetModuleHandleW(L"iphlpapi.dll");
  if (!library) library = ::LoadLibraryW(L"iphlpapi.dll");
  return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(library, name)))
                 : nullptr;
}

std::uint32_t ReadExtended(unsigned long(__stdcall* read)(void*, unsigned long*, int, unsigned long, int,
                                                          unsigned long),
                           unsigned long tableClass, std::uint8_t* buffer, std::uint32_t& size) {
  if (!read) return iphlp::kNotSupported;
  unsigned long bytes = size;
  const unsigned long result = read(buffer, &bytes, TRUE, kAddressFamilyIpv4, static_cast<int>(tableClass), 0);
  size = static_cast<std::uint32_t>(bytes);
  return static_cast<std::uint32_t>(result);
}

}  // namespace

Win32NetworkTables::Win32NetworkTables()
    : extendedTcp_(Entry<ExtendedTable>("GetExtendedTcpTable")),
      extendedUdp_(Entry<ExtendedTable>("GetExtendedUdpTable")) {}

std::uint32_t Win32NetworkTables::tcpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) {
  return ReadExtended(extendedTcp_, kTcpOwnerPidAll, buffer, size);
}

std::uint32_t Win32NetworkTables::udpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) {
  return ReadExtended(extendedUdp_, kUdpOwnerPid, buffer, size);
}

std::uint32_t Win32NetworkTables::basicTcpTable(std::uint8_t* buffer, std::uint32_t& size) {
  ULONG bytes = size;
  const DWORD result = ::GetTcpTable(reinterpret_cast<PMIB_TCPTABLE>(buffer), &bytes, FALSE);
  size = static_cast<std::uint32_t>(bytes);
  return static_cast<std::uint32_t>(result);
}

std::uint32_t Win32NetworkTables::setTcpEntry(const BasicTcpRow& row) {
  MIB_TCPROW entry{};
  entry.dwState = row.state;
  entry.dwLocalAddr = row.localAddress;
  entry.dwLocalPort = row.localPort;
  entry.dwRemoteAddr = row.remoteAddress;
  entry.dwRemotePort = row.remotePort;
  return static_cast<std::uint32_t>(::SetTcpEntry(&entry));
}

}  // namespace platform::win32
