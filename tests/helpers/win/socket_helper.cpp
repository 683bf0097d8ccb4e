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
#include <ws2tcpip.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <utility>

namespace {

constexpr std::size_t kMostConnections = 300;

sockaddr_in Loopback(u_short port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return address;
}

u_short PortOf(SOCKET s) {
  sockaddr_in address{};
  int length = sizeof(address);
  if (getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
  return ntohs(address.sin_port);
}

void Abort(SOCKET s) {
  // Linger with a zero time-out: the close resets the connection at once.
  linger off{1, 0};
  setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&off), sizeof(off));
  closesocket(s);
}

void Answer(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
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
    std::string command(line);
    while (!command.empty() && (command.back() == '\n' || command.back() == '\r')) command.pop_back();
    if (command == "quit") break;
    if (command == "listen") {
      if (listener == INVALID_SOCKET) {
        listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = Loopback(0);
        if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(listener, 16) != 0) {
          Answer("error listen " + std::to_string(WSAGetLastError()));
          continue;
        }
      }
      Answer("port " + std::to_string(PortOf(listener)));
    } else if (command == "connect") {
      if (listener == INVALID_SOCKET || connections.size() >= kMostConnections) {
        Answer("error no listener or too many connections");
        continue;
      }
      SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
      sockaddr_in address = Loopback(PortOf(listener));
      if (connect(client, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        Answer("error connect " + std::to_string(WSAGetLastError()));
        closesocket(client);
        continue;
      }
      SOCKET server = accept(listener, nullptr, nullptr);
      connections.emplace_back(client, server);
      Answer("port " + std::to_string(PortOf(client)));
    } else if (command == "drop") {
      if (connections.empty()) {
        Answer("error nothing to drop");
        continue;
      }
      Abort(connections.front().first);
      Abort(connections.front().second);
      connections.pop_front();
      Answer("ok");
    } else if (command == "udp") {
      SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
      sockaddr_in address = Loopback(0);
      if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        Answer("error bind " + std::to_string(WSAGetLastError()));
        closesocket(s);
        continue;
      }
      udp.push_back(s);
      Answer("port " + std::to_string(PortOf(s)));
    } else {
      Answer("error unknown command");
    }
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
