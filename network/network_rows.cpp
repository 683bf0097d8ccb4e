#include "network/network_rows.h"

#include <algorithm>
#include <unordered_map>

namespace dravik {

namespace {

struct ProcessTexts {
  std::wstring name;
  std::wstring path;
};

// A machine with 2,000 connections usually has a handful of owners: asking
// each once keeps the rebuild from opening the same process 2,000 times.
class ProcessCache {
 public:
  explicit ProcessCache(const ProcessLookup& lookup) : lookup_(lookup) {}
  const ProcessTexts& of(std::int32_t pid) {
    auto found = cache_.find(pid);
    if (found != cache_.end()) return found->second;
    const auto id = static_cast<std::uint32_t>(pid);
    ProcessTexts texts;
    if (lookup_.placeholderName) texts.name = lookup_.placeholderName(id);
    if (lookup_.path) texts.path = lookup_.path(id);
    if (!texts.path.empty()) texts.name = FileNameOfPath(texts.path);
    return cache_.emplace(pid, std::move(texts)).first->second;
  }

 private:
  const ProcessLookup& lookup_;
  std::unordered_map<std::int32_t, ProcessTexts> cache_;
};

int Listed(std::int32_t count) { return std::clamp<std::int32_t>(count, 0, kNetworkRecords); }

}  // namespace

std::vector<NetworkRow> BuildNetworkRows(const TcpUdp& tables, const ProcessLookup& lookup) {
  ProcessCache processes(lookup);
  std::vector<NetworkRow> rows;
  const int tcp = Listed(tables.tcpCount());
  const int udp = Listed(tables.udpCount());
  rows.reserve(static_cast<std::size_t>(tcp + udp));
  // The columns a TCP row and a UDP row share; tags index each protocol's own records.
  auto add = [&](int tag, std::int32_t pid, const wchar_t* protocol, const std::wstring& address,
                 const std::wstring& port) -> NetworkRow& {
    const ProcessTexts& process = processes.of(pid);
    NetworkRow& row = rows.emplace_back();
    row.tag = tag;
    row.columns[kNetProcess] = process.name;
    row.columns[kNetProtocol] = protocol;
    row.columns[kNetLocalAddress] = address;
    row.columns[kNetLocalPort] = port;
    row.columns[kNetPath] = process.path;
    return row;
  };
  for (int i = 0; i < tcp; ++i) {
    const TcpConnection& record = tables.tcpConnection(i);
    NetworkRow& row = add(i, record.owningPid, kProtocolTcp, record.localAddress, record.localPort);
    row.columns[kNetRemoteAddress] = record.remoteAddress;
    // A listening socket has no far end: its remote port means nothing.
    if (record.remoteAddress != L"0.0.0.0") row.columns[kNetRemotePort] = record.remotePort;
    row.columns[kNetStatus] = record.state;
  }
  for (int j = 0; j < udp; ++j) {
    const UdpEndpoint& record = tables.udpEndpoint(j);
    add(j, record.owningPid, kProtocolUdp, record.localAddress, record.localPort);
  }
  return rows;
}

NetworkListing ReadNetworkListing(TcpUdp& tables, const ProcessLookup& lookup) {
  tables.LoadTcpTable();
  tables.ParseTcpTable();
  tables.LoadUdpTable();
  tables.ParseUdpTable();
  NetworkListing listing;
  listing.rows = BuildNetworkRows(tables, lookup);
  for (int i = 0; i < Listed(tables.tcpCount()); ++i) listing.tcp.push_back(tables.tcpConnection(i));
  for (int j = 0; j < Listed(tables.udpCount()); ++j) listing.udp.push_back(tables.udpEndpoint(j));
  return listing;
}

std::wstring CloseFailureText(const std::wstring& unableText, const NetworkRowTexts& row) {
  return unableText + L" \r\n" + row[kNetProcess] + L" [" + row[kNetLocalPort] + L":" +
         row[kNetRemoteAddress] + L":" + row[kNetRemotePort] + L"]";
}

bool SameConnection(const NetworkRowTexts& a, const NetworkRowTexts& b) {
  for (const int column : {kNetProtocol, kNetLocalAddress, kNetLocalPort, kNetRemoteAddress, kNetRemotePort}) {
    if (a[column] != b[column]) return false;
  }
  return true;
}

}  // namespace dravik
