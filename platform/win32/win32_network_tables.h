#pragma once
#include "platform/network_tables.h"

namespace platform::win32 {

// The IP helper of the running system. The owner tables came with XP SP2, so
// their entry points are looked up once; without them every owner read
// answers "not supported".
class Win32NetworkTables final : public NetworkTables {
 public:
  Win32NetworkTables();
  std::uint32_t tcpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) override;
  std::uint32_t udpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) override;
  std::uint32_t basicTcpTable(std::uint8_t* buffer, std::uint32_t& size) override;
  std::uint32_t setTcpEntry(const BasicTcpRow& row) override;

 private:
  using ExtendedTable = unsigned long(__stdcall*)(void*, unsigned long*, int, unsigned long, int,
                                                  unsigned long);
  ExtendedTable extendedTcp_ = nullptr;
  ExtendedTable extendedUdp_ = nullptr;
};

}  // namespace platform::win32
