#pragma once

#include <filesystem>

namespace kestrel {

// Single-instance guard: an exclusive lock on a file in the working folder, held
// until the object is destroyed or the process ends. Not copyable.
class InstanceLock {
 public:
  explicit InstanceLock(const std::filesystem::path& lockFile);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // True when another process holds the lock (the mutex "already existed").
  bool AlreadyRunning() const { return alreadyRunning_; }

 private:
  int fd_ = -1;
  bool alreadyRunning_ = false;
};

inline constexpr const char* kInstanceLockName = "KestrelTrainInstance.lock";

}  // namespace kestrel
