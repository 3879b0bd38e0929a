#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <semaphore>
#include <string>
#include <thread>

#include "service/ServiceRouter.h"

namespace kestrel::service {

struct ServerOptions {
  size_t threads = 64;        // connections served at once
  size_t streams = 4;         // files sent at once (the others wait their turn)
  bool logRequests = false;   // method, path (never the query), status, size
  WarningSink log = nullptr;  // where request lines go
};

// The HTTP side: accepts GET and HEAD requests and answers them through the
// router; files are streamed with their Content-Length. Other methods get 405,
// oversized requests 414 or 400.
class ServiceServer {
 public:
  explicit ServiceServer(ServiceRouter& router, ServerOptions options = {});
  ~ServiceServer();

  // Binds to host:port; port 0 takes any free port. Returns an error text,
  // empty on success.
  std::string Bind(const std::string& host, int port);
  int port() const { return port_; }

  // Serves on this thread until Stop(). False when it could not listen.
  bool Run();
  // Serves on a thread of its own; returns once requests are being accepted.
  void Start();
  // Stops accepting, finishes the requests in progress and returns.
  void Stop();

 private:
  class Listener;

  ServiceRouter& router_;
  ServerOptions options_;
  std::counting_semaphore<> streams_;
  std::unique_ptr<Listener> server_;
  int port_ = 0;
  std::thread thread_;
};

}  // namespace kestrel::service
