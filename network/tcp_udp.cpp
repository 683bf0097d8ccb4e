#include "network/tcp_udp.h"

#include <algorithm>
#include <new>
#include <optional>

namespace dravik {

namespace {

constexpr std::size_t kTcpRowBytes = 24;
constexpr std::size_t kUdpRowBytes = 12;
constexpr std::size_t kCountBytes = 4;

std::wstring SignedText(std::uint32_t value) {
  return std::to_wstring(static_cast<std::int32_t>(value));
}

// The decimal text of a signed 32-bit value back to its word; nothing for
// anything else (empty, stray characters, out of range).
std::optional<std::uint32_t> WordOfSignedText(const std::wstring& text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < L'0' || text[i] > L'9') return std::nullopt;
    value = value * 10 + (text[i] - L'0');
    if (value > 2147483648LL) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return std::nullopt;
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
}

// Rows worth reading: never more than there are records, never a negative count.
std::size_t RowsToRead(std::int32_t count) {
  return count <= 0 ? 0 : static_cast<std::size_t>(std::min<std::int32_t>(count, kNetworkRecords));
}

}  // namespace

std::uint16_t NetToHostPort(std::uint32_t value) {
  const std::uint32_t low = value & 0xFFFFu;
  return static_cast<std::uint16_t>(((low & 0xFFu) << 8) | (low >> 8));
}

std::wstring AddressText(std::uint32_t value) {
  return std::to_wstring(value & 0xFFu) + L"." + std::to_wstring((value >> 8) & 0xFFu) + L"." +
         std::to_wstring((value >> 16) & 0xFFu) + L"." + std::to_wstring(value >> 24);
}

std::wstring TcpStateName(std::uint32_t code) {
  static constexpr const wchar_t* kNames[] = {
      L"UNKNOWN",  L"CLOSED",    L"LISTENING", L"SYN_SENT", L"SYN_RCVD",
      L"ESTABLISHED", L"FIN_WAIT1", L"FIN_WAIT2", L"CLOSE_WAIT", L"CLOSING",
      L"LAST_ACK", L"TIME_WAIT", L"DELETE_TCB"};
  return code < std::size(kNames) ? kNames[code] : L"";
}

std::wstring FileNameOfPath(const std::wstring& path) {
  const std::size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(slash + 1);
}

TcpUdp::TcpUdp(platform::NetworkTables& tables) : tables_(tables) {}

const TcpConnection& TcpUdp::tcpConnection(int index) const {
  static const TcpConnection none;
  return tcp_ ? tcp_->at(static_cast<std::size_t>(index)) : none;
}

const UdpEndpoint& TcpUdp::udpEndpoint(int index) const {
  static const UdpEndpoint none;
  return udp_ ? udp_->at(static_cast<std::size_t>(index)) : none;
}

std::uint32_t TcpUdp::word(std::size_t offset, bool& inside) const {
  if (offset + 4 > tableBuffer_.size()) {
    inside = false;
    return 0;
  }
  const std::uint8_t* p = tableBuffer_.data() + offset;
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool TcpUdp::loadTable(Reader read, std::int32_t& count) {
  // The first call only learns the size: an empty table fits the scratch
  // words and leaves the size as it was.
  std::uint8_t scratch[kCountBytes] = {};
  std::uint32_t size = kCountBytes;
  (tables_.*read)(scratch, size);
  try {
    tableBuffer_.assign(size, 0);
  } catch (const std::bad_alloc&) {
    tableBuffer_.clear();
    return false;
  }
  std::uint32_t filled = size;
  if ((tables_.*read)(tableBuffer_.empty() ? nullptr : tableBuffer_.data(), filled) !=
      platform::iphlp::kOk) {
    return false;
  }
  bool inside = true;
  const std::uint32_t rows = word(0, inside);
  if (!inside) return false;
  count = static_cast<std::int32_t>(rows);
  return true;
}

bool TcpUdp::LoadTcpTable() { return loadTable(&platform::NetworkTables::tcpTableWithOwners, tcpCount_); }

bool TcpUdp::LoadUdpTable() { return loadTable(&platform::NetworkTables::udpTableWithOwners, udpCount_); }

bool TcpUdp::rowWords(std::size_t offset, std::uint32_t* words, std::size_t count) const {
  bool inside = true;
  for (std::size_t i = 0; i < count; ++i) words[i] = word(offset + 4 * i, inside);
  return inside;
}

void TcpUdp::ParseTcpTable() {
  if (!tcp_) tcp_ = std::make_unique<std::array<TcpConnection, kNetworkRecords>>();
  const std::size_t rows = RowsToRead(tcpCount_);
  for (std::size_t i = 0; i < rows; ++i) {
    enum { kState, kLocalAddress, kLocalPort, kRemoteAddress, kRemotePort, kPid, kWords };
    std::uint32_t w[kWords];
    const bool inside = rowWords(kCountBytes + kTcpRowBytes * i, w, kWords);
    // A row past the end of what was read, or an all-zero one, keeps the
    // record an earlier read left at this position.
    const bool empty = NetToHostPort(w[kLocalPort]) == 0 && w[kRemoteAddress] == 0 && NetToHostPort(w[kRemotePort]) == 0;
    if (inside && !empty) {
      TcpConnection& record = (*tcp_)[i];
      record.owningPid = static_cast<std::int32_t>(w[kPid]);
      record.localPort = std::to_wstring(NetToHostPort(w[kLocalPort]));
      record.remotePort = std::to_wstring(NetToHostPort(w[kRemotePort]));
      record.localAddress = AddressText(w[kLocalAddress]);
      record.remoteAddress = AddressText(w[kRemoteAddress]);
      record.rawLocalPort = SignedText(w[kLocalPort]);
      record.rawRemotePort = SignedText(w[kRemotePort]);
      record.rawLocalAddress = SignedText(w[kLocalAddress]);
      record.rawRemoteAddress = SignedText(w[kRemoteAddress]);
      record.state = TcpStateName(w[kState]);
    }
  }
}

void TcpUdp::ParseUdpTable() {
  if (!udp_) udp_ = std::make_unique<std::array<UdpEndpoint, kNetworkRecords>>();
  const std::size_t rows = RowsToRead(udpCount_);
  for (std::size_t i = 0; i < rows; ++i) {
    enum { kLocalAddress, kLocalPort, kPid, kWords };
    std::uint32_t w[kWords];
    const bool inside = rowWords(kCountBytes + kUdpRowBytes * i, w, kWords);
    if (inside && !(NetToHostPort(w[kLocalPort]) == 0 && w[kLocalAddress] == 0)) {
      UdpEndpoint& record = (*udp_)[i];
      record.owningPid = static_cast<std::int32_t>(w[kPid]);
      record.localPort = std::to_wstring(NetToHostPort(w[kLocalPort]));
      record.localAddress = AddressText(w[kLocalAddress]);
    }
  }
}

bool TcpUdp::readBasicCount(std::int32_t& count, std::uint32_t* sizeQueryResult) {
  std::uint32_t size = 0;
  const std::uint32_t query = tables_.basicTcpTable(nullptr, size);
  if (sizeQueryResult) *sizeQueryResult = query;
  if (query == platform::iphlp::kNotSupported) return false;
  std::vector<std::uint8_t> buffer;
  try {
    buffer.assign(size, 0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  std::uint32_t filled = size;
  if (tables_.basicTcpTable(buffer.empty() ? nullptr : buffer.data(), filled) != platform::iphlp::kOk ||
      buffer.size() < kCountBytes) {
    return false;
  }
  count = static_cast<std::int32_t>(static_cast<std::uint32_t>(buffer[0]) | buffer[1] << 8 |
                                    buffer[2] << 16 | static_cast<std::uint32_t>(buffer[3]) << 24);
  return true;
}

void TcpUdp::WatchTcpCount(platform::UserInterface& ui, const std::function<void()>& rebuild) {
  std::uint32_t sizeQuery = platform::iphlp::kOk;
  std::int32_t count = 0;
  const bool read = readBasicCount(count, &sizeQuery);
  if (sizeQuery == platform::iphlp::kNotSupported) {
    ui.messageBox(L"IP Helper not supported!", L"", platform::mb::kOk);
    return;
  }
  // A failed read keeps the latest good count for the comparison, but the
  // count seen last becomes 0, so the next good read rebuilds for certain.
  if (read) watchedCount_ = count;
  if (watchedCount_ != lastTcpCount_ && rebuild) rebuild();
  lastTcpCount_ = read ? count : 0;
}

bool TcpUdp::TcpCountChanged() {
  std::int32_t count = 0;
  if (!readBasicCount(count, nullptr)) count = 0;
  const bool changed = count != lastTcpCount_;
  lastTcpCount_ = count;
  return changed;
}

bool CloseTcpConnection(platform::NetworkTables& tables, const TcpConnection& record) {
  const auto localAddress = WordOfSignedText(record.rawLocalAddress);
  const auto localPort = WordOfSignedText(record.rawLocalPort);
  const auto remoteAddress = WordOfSignedText(record.rawRemoteAddress);
  const auto remotePort = WordOfSignedText(record.rawRemotePort);
  if (!localAddress || !localPort || !remoteAddress || !remotePort) return false;
  platform::BasicTcpRow row;
  row.state = platform::iphlp::kStateDeleteTcb;
  row.localAddress = *localAddress;
  row.localPort = *localPort;
  row.remoteAddress = *remoteAddress;
  row.remotePort = *remotePort;
  return tables.setTcpEntry(row) == platform::iphlp::kOk;
}

}  // namespace dravik
