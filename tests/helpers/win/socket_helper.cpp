// Opens and closes loopback sockets when told to, one command a line on
// standard input, one answer a line on standard output:
//   listen   -> "port N"     a TCP listener on 127.0.0.1
//   connect  -> "port N"     a connection to the listener (N: the client's port)
//   drop     -> "ok"         aborts the oldest connection, both ends, leaving no TIME_WAIT row
//   udp      -> "port N"     a UDP socket bound on 127.0.0.1
//   quit     -> ends
// Anything else, or a failure, answers "error ...". Only 127.0.0.1 is used,
// and the number of sockets is bounded.
#include <winsock2.h>

#include <cstdio>
#include <deque>
#include <string>
#include <utility>

namespace {

// A socket bound to 127.0.0.1 on a port the system picks; INVALID_SOCKET when that fails.
SOCKET Bound(int type, int protocol) {
  SOCKET s = socket(AF_INET, type, protocol);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (s != INVALID_SOCKET && bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) return s;
  closesocket(s);
  return INVALID_SOCKET;
}

sockaddr_in AddressOf(SOCKET s) {
  sockaddr_in address{};
  int length = sizeof(address);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  return address;
}

std::string PortAnswer(SOCKET s) { return "port " + std::to_string(ntohs(AddressOf(s).sin_port)); }

// Linger with a zero time-out: the close resets the connection at once.
void Abort(SOCKET s) {
  linger off{1, 0};
  setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&off), sizeof(off));
  closesocket(s);
}

}  // namespace

int wmain() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 2;
  SOCKET listener = INVALID_SOCKET;
  std::deque<std::pair<SOCKET, SOCKET>> connections;
  std::deque<SOCKET> udp;
  char line[256];
  while (std::fgets(line, sizeof(line), stdin)) {
    const std::string command(line, std::string(line).find_first_of("\r\n"));
    std::string answer = "error " + command;
    if (command == "quit") break;
    if (command == "listen") {
      if (listener == INVALID_SOCKET && (listener = Bound(SOCK_STREAM, IPPROTO_TCP)) != INVALID_SOCKET) listen(listener, 16);
      if (listener != INVALID_SOCKET) answer = PortAnswer(listener);
    } else if (command == "connect" && listener != INVALID_SOCKET && connections.size() < 300) {
      SOCKET client = Bound(SOCK_STREAM, IPPROTO_TCP);
      sockaddr_in to = AddressOf(listener);
      if (client != INVALID_SOCKET && connect(client, reinterpret_cast<sockaddr*>(&to), sizeof(to)) == 0) {
        connections.emplace_back(client, accept(listener, nullptr, nullptr));
        answer = PortAnswer(client);
      } else {
        closesocket(client);
      }
    } else if (command == "drop" && !connections.empty()) {
      Abort(connections.front().first);
      Abort(connections.front().second);
      connections.pop_front();
      answer = "ok";
    } else if (command == "udp") {
      SOCKET s = Bound(SOCK_DGRAM, IPPROTO_UDP);
      if (s != INVALID_SOCKET) answer = PortAnswer(udp.emplace_back(s));
    }
    std::printf("%s\n", answer.c_str());
    std::fflush(stdout);
  }
  for (auto& [client, server] : connections) {
    Abort(client);
    Abort(server);
  }
  for (SOCKET s : udp) closesocket(s);
  if (listener != INVALID_SOCKET) closesocket(listener);
  WSACleanup();
  return 0;
}
