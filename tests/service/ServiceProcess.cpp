#include "ServiceProcess.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "ChildProcess.h"

namespace kestrel::service::test {

ServiceProcess::~ServiceProcess() {
  if (pid_ > 0) Stop(SIGKILL);
}

int ServiceProcess::Run(const std::vector<std::string>& args, std::string* output) {
  return kestrel::test::RunProgram(KESTREL_SERVICE_BIN, args, output);
}

bool ServiceProcess::Serve(const std::string& folder, const std::string& listen) {
  pid_ = kestrel::test::SpawnWithPipe(KESTREL_SERVICE_BIN,
                                      {"serve", "--data", folder, "--listen", listen}, &output_);
  if (pid_ < 0) return false;
  port_ = kestrel::test::AwaitServicePort(output_, std::chrono::seconds(20), &startOutput_);
  return port_ != 0;
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
