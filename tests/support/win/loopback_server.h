#pragma once
// A tiny web server on a free loopback port for the update check: it gives
// `body` to a GET of the update file (404 to anything else) and, without a
// body, hangs up without a word. The file may be asked for directly
// ("GET /draviktm_free.txt") or through the server as a proxy
// ("GET http://host/draviktm_free.txt").
#include <winsock2.h>

#include <optional>
#include <string>
#include <vector>

#include "support/win/test_support.h"

namespace testsupport {

// TCP connections on 127.0.0.1 with both ends in this process (two rows of
// the TCP table each, beside the listener's). A closed end is reset, so no
// TIME_WAIT row is left behind to slow later table reads.
class LoopbackConnections {
 public:
  explicit LoopbackConnections(int count);
  ~LoopbackConnections();
  LoopbackConnections(const LoopbackConnections&) = delete;
  LoopbackConnections& operator=(const LoopbackConnections&) = delete;

  int count() const { return static_cast<int>(ends_.size() / 2); }
  // Resets the newest `count` connections, both ends.
  void close(int count);
  // Local ports, in host order.
  unsigned short listenerPort() const { return LocalPort(listener_); }
  static unsigned short LocalPort(SOCKET socket);

 private:
  SOCKET listener_ = INVALID_SOCKET;
  std::vector<SOCKET> ends_;  // client, then the accepted end, per connection
};

class LoopbackServer {
 public:
  using Body = std::optional<std::string>;
  explicit LoopbackServer(Body body);  // not copied: its thread is not
  ~LoopbackServer();

  std::wstring site;  // http://127.0.0.1:<port>
  // The first line of every request received so far.
  std::vector<std::string> requests() const;

 private:
  void serve();

  Body body_;
  SOCKET listener_ = INVALID_SOCKET;
  mutable platform::win32::CriticalSection lock_;  // over requests_
  std::vector<std::string> requests_;
  Thread thread_;  // last: it serves with the members above
};

}  // namespace testsupport
