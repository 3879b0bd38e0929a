#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace kestrel::service::test {

// The real kestrel-service binary run as a child process.
class ServiceProcess {
 public:
  ~ServiceProcess();

  // Runs a command to its end; returns its exit code and collects its output.
  static int Run(const std::vector<std::string>& args, std::string* output = nullptr);

  // Starts "serve --data DIR --listen LISTEN" and waits (bounded) for the line
  // naming the address. False when it did not come up on 127.0.0.1.
  bool Serve(const std::string& folder, const std::string& listen = "127.0.0.1:0");
  // What the process wrote up to its address line.
  const std::string& startOutput() const { return startOutput_; }
  int port() const { return port_; }
  // Sends the signal and waits for the process; returns its exit status.
  int Stop(int signal);

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  int port_ = 0;
  std::string startOutput_;
};

}  // namespace kestrel::service::test
