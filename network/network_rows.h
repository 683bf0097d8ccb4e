#pragma once
// The rows of the Network list, built from the connection records, and the
// texts of the Network tab's messages.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "network/tcp_udp.h"

namespace dravik {

// The list's columns, 0-based.
enum NetworkColumn : int {
  kNetProcess = 0,
  kNetProtocol,
  kNetLocalAddress,
  kNetLocalPort,
  kNetRemoteAddress,
  kNetRemotePort,
  kNetStatus,
  kNetPath,
  kNetColumnCount
};

inline constexpr const wchar_t* kProtocolTcp = L"TCP";
inline constexpr const wchar_t* kProtocolUdp = L"UDP";

using NetworkRowTexts = std::array<std::wstring, kNetColumnCount>;

struct NetworkRow {
  NetworkRowTexts columns;
  // Index of the row's record: into the TCP records for a "TCP" row, into
  // the UDP records for a "UDP" row.
  int tag = 0;
};

// What a row needs to know about the process that owns it.
struct ProcessLookup {
  // The executable's path with a drive letter; empty when it cannot be read.
  std::function<std::wstring(std::uint32_t pid)> path;
  // The name shown when there is no path: "(System)", "(1234)"...
  std::function<std::wstring(std::uint32_t pid)> placeholderName;
};

// One row per TCP record up to the last count read, then one per UDP record.
// Each process is looked up once per call, however many rows it owns.
std::vector<NetworkRow> BuildNetworkRows(const TcpUdp& tables, const ProcessLookup& lookup);

// One full read as the list is built from it: the rows, and the records
// their tags index, as they were when the rows were made.
struct NetworkListing {
  std::vector<NetworkRow> rows;
  std::vector<TcpConnection> tcp;
  std::vector<UdpEndpoint> udp;
};

// Loads and parses both tables, TCP first (each parse follows its own load),
// and builds the rows.
NetworkListing ReadNetworkListing(TcpUdp& tables, const ProcessLookup& lookup);

// "Unable to close selected connection: " CR LF "app.exe [1050:10.0.0.2:80]"
std::wstring CloseFailureText(const std::wstring& unableText, const NetworkRowTexts& row);
// True when two rows show the same connection or endpoint: the protocol and
// both ends agree, whatever its state, process name or path read then.
bool SameConnection(const NetworkRowTexts& a, const NetworkRowTexts& b);

}  // namespace dravik
