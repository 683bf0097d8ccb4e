#include "support/win/loopback_server.h"

#include <algorithm>

namespace testsupport {

namespace {

constexpr char kUpdateFile[] = "/draviktm_free.txt";

void Reset(SOCKET s) {
  const linger off{1, 0};
  ::setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&off), sizeof(off));
  ::closesocket(s);
}

sockaddr_in Loopback(unsigned short port) {
  sockaddr_in address{.sin_family = AF_INET, .sin_port = htons(port), .sin_addr = {}, .sin_zero = {}};
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// Starts the socket library and listens on a free loopback port.
SOCKET Listen(int backlog) {
  WSADATA data;
  ::WSAStartup(MAKEWORD(2, 2), &data);
  const SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  const sockaddr_in address = Loopback(0);
  ::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
  ::listen(listener, backlog);
  return listener;
}

}  // namespace

LoopbackConnections::LoopbackConnections(int count) : listener_(Listen(64)) {
  const sockaddr_in address = Loopback(listenerPort());
  for (int i = 0; i < count; ++i) {
    const SOCKET client = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (::connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
      ::closesocket(client);
      break;
    }
    ends_.push_back(client);
    ends_.push_back(::accept(listener_, nullptr, nullptr));
  }
}

unsigned short LoopbackConnections::LocalPort(SOCKET socket) {
  sockaddr_in address{};
  int length = sizeof(address);
  ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.sin_port);
}

LoopbackConnections::~LoopbackConnections() {
  close(count());
  ::closesocket(listener_);
  ::WSACleanup();
}

void LoopbackConnections::close(int count) {
  for (int i = 0; i < 2 * count && !ends_.empty(); ++i) {
    Reset(ends_.back());
    ends_.pop_back();
  }
}

LoopbackServer::LoopbackServer(Body body)
    : body_(std::move(body)), listener_(Listen(4)), thread_([this] { serve(); }) {
  site = L"http://127.0.0.1:" + std::to_wstring(LoopbackConnections::LocalPort(listener_));
}

LoopbackServer::~LoopbackServer() {
  ::closesocket(listener_);  // ends the wait in accept
  thread_.join();
  ::WSACleanup();
}

std::vector<std::string> LoopbackServer::requests() const {
  const platform::win32::Locked held(lock_);
  return requests_;
}

void LoopbackServer::serve() {
  for (SOCKET client; (client = ::accept(listener_, nullptr, nullptr)) != INVALID_SOCKET;) {
    std::string request(1024, '\0');
    request.resize(static_cast<std::size_t>(std::max(0, ::recv(client, request.data(), 1024, 0))));
    const std::string line = request.substr(0, request.find("\r\n"));
    {
      const platform::win32::Locked held(lock_);
      requests_.push_back(line);
    }
    // "GET <target> HTTP/1.1", the target ending in the update file's path.
    const std::string suffix = std::string(kUpdateFile) + " HTTP/1.1";
    const bool updateFile = line.rfind("GET ", 0) == 0 && line.size() > suffix.size() &&
                            line.compare(line.size() - suffix.size(), suffix.size(), suffix) == 0;
    std::string reply = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n";
    if (updateFile) {
      reply = body_ ? "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body_->size()) +
                          "\r\n\r\n" + *body_
                    : "";
    }
    ::send(client, reply.data(), static_cast<int>(reply.size()), 0);
    ::shutdown(client, SD_BOTH);
    ::closesocket(client);
  }
}

}  // namespace testsupport
