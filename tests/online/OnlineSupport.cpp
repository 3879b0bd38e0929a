#include "OnlineSupport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <regex>

#include "tradingday/ArchiveWriter.h"

namespace kestrel::test {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDaysVersion = "days-v1";

// The generated days, made once and shared by every test process (each test
// may run as a process of its own); a lock file keeps two from generating.
std::string GeneratedDays(fs::path* days) {
  const fs::path root = KESTREL_TEST_TMP;
  std::error_code ec;
  fs::create_directories(root, ec);
  *days = root / kDaysVersion;
  const fs::path lockPath = root / (std::string(kDaysVersion) + ".lock");
  const int lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (lock < 0 || ::flock(lock, LOCK_EX) != 0) return "cannot lock " + lockPath.string();
  std::string error;
  if (!fs::exists(*days / ".complete")) {
    fs::remove_all(*days, ec);
    std::string output;
    const int code = RunProgram(KESTREL_DAYGEN_BIN,
                                {"generate", "--from", "2013-05-06", "--to", "2013-05-08", "--seed",
                                 "7", "--out", days->string(), "--training", "1"},
                                &output);
    if (code != 0) {
      error = "kestrel-daygen failed: " + output;
    } else {
      std::ofstream(*days / ".complete") << "ok\n";
    }
  }
  ::flock(lock, LOCK_UN);
  ::close(lock);
  return error;
}

}  // namespace

PracticeServer& PracticeServer::Shared() {
  static PracticeServer server;
  return server;
}

PracticeServer::PracticeServer() {
  error_ = Start();
}

std::string PracticeServer::Start() {
  fs::path days;
  if (std::string error = GeneratedDays(&days); !error.empty()) return error;

  data_ = fs::path(KESTREL_TEST_TMP) / ("service-" + std::to_string(::getpid()));
  std::error_code ec;
  fs::remove_all(data_, ec);
  fs::copy(days, data_, fs::copy_options::recursive, ec);
  if (ec) return "cannot copy the generated days: " + ec.message();

  std::string output;
  if (RunProgram(KESTREL_SERVICE_BIN, {"init", "--data", data_.string(), "--cheap-hash"},
                 &output) != 0)
    return "kestrel-service init failed: " + output;
  // Accounts of their own for the tests that log in and out.
  for (const char* id : {"trader1", "trader2", "trader3", "trader4"}) {
    if (RunProgram(KESTREL_SERVICE_BIN,
                   {"user", "add", "--data", data_.string(), id, kTraderPassword, "--rights", "1",
                    "--cheap-hash"},
                   &output) != 0)
      return "kestrel-service user add failed: " + output;
  }

  // A newer version with its update archive.
  std::ofstream(data_ / "service.conf")
      << "version=" << kLatestVersion << "\nupdate=" << kUpdateArchive << "\n";
  std::ofstream(data_ / "DB" / kUpdateArchive, std::ios::binary)
      << ArchiveWriter::Zip({{"Kestrel.exe", "new program"}, {"Readme.txt", "what is new"}});

  pid_ = SpawnWithPipe(KESTREL_SERVICE_BIN,
                       {"serve", "--data", data_.string(), "--listen", "127.0.0.1:0"}, &output_);
  if (pid_ < 0) return "cannot start kestrel-service";
  std::string text;
  port_ = AwaitServicePort(output_, std::chrono::seconds(30), &text);
  if (port_ == 0) return "kestrel-service did not come up on a usable port: " + text;
  return "";
}

PracticeServer::~PracticeServer() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);  // its data is thrown away: no orderly stop needed
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  if (output_ >= 0) ::close(output_);
  std::error_code ec;
  if (!data_.empty()) fs::remove_all(data_, ec);
}

ServiceBases PracticeServer::Bases() const {
  const std::string base = "http://127.0.0.1:" + std::to_string(port_);
  return ServiceBases{base, base, base};
}

CannedHttpServer::CannedHttpServer(std::vector<std::string> replies)
    : replies_(std::move(replies)) {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(listener_, 8);
  socklen_t length = sizeof address;
  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread(&CannedHttpServer::Serve, this);
}

CannedHttpServer::~CannedHttpServer() {
  ::shutdown(listener_, SHUT_RDWR);
  thread_.join();
  ::close(listener_);
}

std::string CannedHttpServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> CannedHttpServer::Requests() {
  std::lock_guard lock(mutex_);
  return requests_;
}

void CannedHttpServer::Serve() {
  for (const std::string& reply : replies_) {
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) return;
    std::string head;
    char buffer[1024];
    while (head.find("\r\n\r\n") == std::string::npos) {
      const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      head.append(buffer, static_cast<size_t>(n));
    }
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(head);
    }
    size_t sent = 0;
    while (sent < reply.size()) {
      const ssize_t n = ::send(client, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) break;
      sent += static_cast<size_t>(n);
    }
    ::shutdown(client, SHUT_WR);
    while (::recv(client, buffer, sizeof buffer, 0) > 0) {
    }
    ::close(client);
  }
}

int ClosedPort() {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(s);
  return ntohs(address.sin_port);
}

void RoundSleeper::SleepMs(uint32_t ms) {
  if (clock_ != nullptr) clock_->Advance(ms);
  if (ms < blockFromMs_) return;
  std::unique_lock lock(mutex_);
  if (open_) return;
  const uint64_t round = round_;
  ++waiting_;
  mostWaiting_ = std::max(mostWaiting_, waiting_);
  queue_.Wake();
  released_.wait(lock, [&] { return round_ != round || open_; });
}

bool RoundSleeper::Waiting() const {
  std::lock_guard lock(mutex_);
  return waiting_ > 0;
}

int RoundSleeper::MostWaiting() const {
  std::lock_guard lock(mutex_);
  return mostWaiting_;
}

void RoundSleeper::Release() {
  {
    std::lock_guard lock(mutex_);
    ++round_;
    waiting_ = 0;
  }
  released_.notify_all();
}

void RoundSleeper::Open() {
  {
    std::lock_guard lock(mutex_);
    open_ = true;
    waiting_ = 0;
  }
  released_.notify_all();
}

}  // namespace kestrel::test
