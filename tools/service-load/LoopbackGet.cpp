#include "LoopbackGet.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace kestrel::service::load {

namespace {

constexpr int kTimeoutMs = 10000;

struct Socket {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ~Socket() {
    if (fd >= 0) ::close(fd);
  }
};

bool WaitFor(int fd, short events) {
  pollfd watch{fd, events, 0};
  return ::poll(&watch, 1, kTimeoutMs) == 1;
}

}  // namespace

GetResult LoopbackGet(int port, const std::string& target, bool keepBody) {
  GetResult result;
  Socket socket;
  if (socket.fd < 0) return result;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(socket.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    return result;
  const int one = 1;
  ::setsockopt(socket.fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  const std::string request = "GET " + target +
                              " HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: DEMO\r\n"
                              "Connection: close\r\n\r\n";
  for (size_t sent = 0; sent < request.size();) {
    const ssize_t n = ::send(socket.fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return result;
    sent += static_cast<size_t>(n);
  }
  // Headers first, then the body counted (and kept when asked) to the end.
  thread_local std::vector<char> buffer(256 * 1024);
  std::string head;
  size_t headerEnd = std::string::npos;
  while (true) {
    if (!WaitFor(socket.fd, POLLIN)) return result;
    const ssize_t n = ::recv(socket.fd, buffer.data(), buffer.size(), 0);
    if (n < 0) return result;
    if (n == 0) break;
    if (headerEnd == std::string::npos) {
      head.append(buffer.data(), static_cast<size_t>(n));
      headerEnd = head.find("\r\n\r\n");
      if (headerEnd == std::string::npos) continue;
      const size_t bodyStart = headerEnd + 4;
      result.bodyLength = static_cast<int64_t>(head.size() - bodyStart);
      if (keepBody) result.body = head.substr(bodyStart);
      head.resize(bodyStart);
    } else {
      result.bodyLength += n;
      if (keepBody) result.body.append(buffer.data(), static_cast<size_t>(n));
    }
  }
  if (headerEnd == std::string::npos || head.compare(0, 9, "HTTP/1.1 ") != 0) return result;
  result.status = std::atoi(head.c_str() + 9);
  result.ok = true;
  return result;
}

}  // namespace kestrel::service::load
