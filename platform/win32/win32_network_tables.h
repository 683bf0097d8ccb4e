#pragma once
#include <memory>

#include "platform/network_tables.h"

namespace platform::win32 {

// The IP helper of the running system, loaded from the system folder at the
// first read. The owner tables came with XP SP2; without them every owner
// read answers "not supported", and without the library every read does.
class Win32NetworkTables final : public NetworkTables {
 public:
  Win32NetworkTables();
  ~Win32NetworkTables() override;
  std::uint32_t tcpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) override;
  std::uint32_t udpTableWithOwners(std::uint8_t* buffer, std::uint32_t& size) override;
  std::uint32_t basicTcpTable(std::uint8_t* buffer, std::uint32_t& size) override;
  std::uint32_t setTcpEntry(const BasicTcpRow& row) override;

 private:
  struct IpHelper;
  const IpHelper& ipHelper();

  std::unique_ptr<IpHelper> ipHelper_;
};

}  // namespace platform::win32
