#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>

namespace kestrel::test {

pid_t SpawnWithPipe(const std::string& binary, const std::vector<std::string>& args,
                    int* readEnd) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipeFds[1], STDOUT_FILENO);
    ::dup2(pipeFds[1], STDERR_FILENO);
    const int devNull = ::open("/dev/null", O_RDONLY);
    ::dup2(devNull, STDIN_FILENO);
    std::vector<std::string> copies = args;
    std::string program = binary;
    std::vector<char*> argv{program.data()};
    for (std::string& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  if (pid < 0) {
    ::close(pipeFds[0]);
    return -1;
  }
  *readEnd = pipeFds[0];
  return pid;
}

int RunProgram(const std::string& binary, const std::vector<std::string>& args,
               std::string* output) {
  int fd = -1;
  const pid_t pid = SpawnWithPipe(binary, args, &fd);
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

int AwaitServicePort(int readEnd, std::chrono::seconds limit, std::string* text) {
  const std::regex announced("http://127\\.0\\.0\\.1:([0-9]+)");
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd watch{readEnd, POLLIN, 0};
    if (::poll(&watch, 1, 100) <= 0) continue;
    char buffer[512];
    const ssize_t n = ::read(readEnd, buffer, sizeof buffer);
    if (n <= 0) return 0;
    text->append(buffer, static_cast<size_t>(n));
    std::smatch match;
    if (std::regex_search(*text, match, announced)) {
      const int port = std::stoi(match[1]);
      return port > 0 && port < 65536 ? port : 0;
    }
  }
  return 0;
}

}  // namespace kestrel::test
