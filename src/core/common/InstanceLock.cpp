#include "common/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace kestrel {

InstanceLock::InstanceLock(const std::filesystem::path& lockFile) {
  fd_ = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd_ < 0) return;  // cannot guard: let this copy run
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    alreadyRunning_ = errno == EWOULDBLOCK;
    ::close(fd_);
    fd_ = -1;
  }
}

InstanceLock::~InstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace kestrel
