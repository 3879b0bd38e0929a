#include "ServiceProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <regex>

namespace kestrel::service::test {

namespace {

// Starts the binary with the arguments, its standard output and error on a pipe.
pid_t Spawn(const std::vector<std::string>& args, int* readEnd) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipeFds[1], STDOUT_FILENO);
    ::dup2(pipeFds[1], STDERR_FILENO);
    const int devNull = ::open("/dev/null", O_RDONLY);
    ::dup2(devNull, STDIN_FILENO);
    std::vector<char*> argv;
    std::string binary = KESTREL_SERVICE_BIN;
    argv.push_back(binary.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    ::execv(binary.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  *readEnd = pipeFds[0];
  return pid;
}

}  // namespace

ServiceProcess::~ServiceProcess() {
  if (pid_ > 0) Stop(SIGKILL);
}

int ServiceProcess::Run(const std::vector<std::string>& args, std::string* output) {
  int fd = -1;
  const pid_t pid = Spawn(args, &fd);
  if (pid < 0) return -1;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
    if (output != nullptr) output->append(buffer, static_cast<size_t>(n));
  ::close(fd);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ServiceProcess::Serve(const std::string& folder, const std::string& listen) {
  pid_ = Spawn({"serve", "--data", folder, "--listen", listen}, &output_);
  if (pid_ < 0) return false;
  const std::regex announced("http://127\\.0\\.0\\.1:([0-9]+)");
  std::string& text = startOutput_;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd watch{output_, POLLIN, 0};
    if (::poll(&watch, 1, 100) <= 0) continue;
    char buffer[512];
    const ssize_t n = ::read(output_, buffer, sizeof buffer);
    if (n <= 0) return false;
    text.append(buffer, static_cast<size_t>(n));
    std::smatch match;
    if (std::regex_search(text, match, announced)) {
      port_ = std::stoi(match[1]);
      return true;
    }
  }
  return false;
}

int ServiceProcess::Stop(int signal) {
  if (pid_ <= 0) return -1;
  ::kill(pid_, signal);
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
  if (output_ >= 0) ::close(output_);
  output_ = -1;
  return status;
}

}  // namespace kestrel::service::test
