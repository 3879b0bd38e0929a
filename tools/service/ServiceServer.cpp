#include "service/ServiceServer.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <semaphore>
#include <vector>

#include <httplib.h>

namespace kestrel::service {

namespace {

// Backlog for bursts of connections: a whole class polls at the same moment.
constexpr int kListenBacklog = 1024;

const char* StatusText(int status) {
  switch (status) {
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 413: return "Payload Too Large";
    case 414: return "URI Too Long";
    case 500: return "Internal Server Error";
    default: return "Error";
  }
}

struct OpenFile {
  explicit OpenFile(int descriptor) : fd(descriptor) {}
  ~OpenFile() {
    if (fd >= 0) ::close(fd);
  }
  int fd;
};

void Apply(const Reply& reply, std::counting_semaphore<>& streams, httplib::Response& res) {
  res.status = reply.status;
  if (reply.file.empty()) {
    res.set_content(reply.body, reply.contentType);
    return;
  }
  auto file = std::make_shared<OpenFile>(::open(reply.file.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (file->fd < 0 || ::fstat(file->fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    const Reply missing = Reply::NotFound();
    res.status = missing.status;
    res.set_content(missing.body, missing.contentType);
    return;
  }
  // A few archives stream at a time: a whole class downloading at once would
  // otherwise crowd out the small page requests. The wait is bounded, so
  // clients that never read cannot hold the others back for long.
  struct Permit {
    bool asked = false;
    bool held = false;
  };
  auto permit = std::make_shared<Permit>();
  res.set_content_provider(
      static_cast<size_t>(info.st_size), reply.contentType,
      [file, permit, &streams](size_t offset, size_t length, httplib::DataSink& sink) {
        if (!permit->asked) {
          permit->asked = true;
          permit->held = streams.try_acquire_for(std::chrono::seconds(2));
        }
        // Large chunks: fewer system calls per archive.
        thread_local std::vector<char> buffer(256 * 1024);
        const size_t wanted = std::min(length, buffer.size());
        const ssize_t got = ::pread(file->fd, buffer.data(), wanted, static_cast<off_t>(offset));
        if (got <= 0) return false;
        return sink.write(buffer.data(), static_cast<size_t>(got));
      },
      [permit, &streams](bool) {
        if (permit->held) streams.release();
      });
}

}  // namespace

// httplib's server with the listen backlog raised after binding (the library
// fixes it at five, too few for a class polling at once).
class ServiceServer::Listener : public httplib::Server {
 public:
  void RaiseBacklog() { ::listen(svr_sock_, kListenBacklog); }
};

ServiceServer::ServiceServer(ServiceRouter& router, ServerOptions options)
    : router_(router),
      options_(std::move(options)),
      streams_(static_cast<std::ptrdiff_t>(std::max<size_t>(options_.streams, 1))),
      server_(std::make_unique<Listener>()) {
  const size_t threads = options_.threads == 0 ? 1 : options_.threads;
  server_->new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  server_->set_keep_alive_timeout(2);
  server_->set_keep_alive_max_count(100);
  server_->set_read_timeout(5);
  server_->set_write_timeout(10);
  server_->set_payload_max_length(8 * 1024);

  server_->set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    if (req.method != "GET" && req.method != "HEAD") {
      res.status = 405;
      res.set_header("Allow", "GET, HEAD");
      res.set_header("Connection", "close");
      res.set_content("Method Not Allowed\n", "text/plain; charset=US-ASCII");
      return httplib::Server::HandlerResponse::Handled;
    }
    Apply(router_.Route(req.target), streams_, res);
    return httplib::Server::HandlerResponse::Handled;
  });
  // Errors the library answers itself (a bad request line, a long URI) get a
  // short text instead of an empty body.
  server_->set_error_handler([](const httplib::Request&, httplib::Response& res) {
    if (res.body.empty() && !res.content_provider_) {
      res.set_content(std::to_string(res.status) + " " + StatusText(res.status) + "\n",
                      "text/plain; charset=US-ASCII");
    }
  });
  if (options_.logRequests && options_.log) {
    server_->set_logger([this](const httplib::Request& req, const httplib::Response& res) {
      options_.log(req.method + " " + req.path + " " + std::to_string(res.status) + " " +
                   std::to_string(res.body.empty() ? res.content_length_ : res.body.size()));
    });
  }
}

ServiceServer::~ServiceServer() {
  Stop();
}

std::string ServiceServer::Bind(const std::string& host, int port) {
  if (port == 0) {
    port_ = server_->bind_to_any_port(host);
    if (port_ <= 0) return "cannot listen on " + host + " (any port)";
  } else {
    if (!server_->bind_to_port(host, port))
      return "cannot listen on " + host + ":" + std::to_string(port);
    port_ = port;
  }
  server_->RaiseBacklog();
  return {};
}

bool ServiceServer::Run() {
  return server_->listen_after_bind();
}

void ServiceServer::Start() {
  thread_ = std::thread([this] { Run(); });
  // The socket already queues connections; wait only so that Stop() finds the
  // loop running (bounded: the loop starts at once).
  for (int i = 0; i < 5000 && !server_->is_running(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void ServiceServer::Stop() {
  if (server_->is_running()) server_->stop();
  if (thread_.joinable()) thread_.join();
}

}  // namespace kestrel::service
