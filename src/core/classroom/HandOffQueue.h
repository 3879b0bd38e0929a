#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

namespace kestrel {

// Blocking calls from worker threads to the thread that owns a window: the
// worker waits until the owner has run its call, as a sent window message
// does. The owner runs waiting calls with RunPending or RunUntil. At shutdown
// Abandon lets every waiting and later call return false without running, so
// no worker stays blocked on a window that is going away. Thread-safe.
class HandOffQueue {
 public:
  // From a worker thread: runs `call` on the owner thread and returns once it
  // has run; false when the queue was abandoned (the call did not run).
  bool Call(std::function<void()> call);

  // On the owner thread: runs every waiting call in order; returns how many.
  size_t RunPending();

  // On the owner thread: runs calls as they come until `done` holds (checked
  // after each call and each Wake). False when `limit` passed first, a guard
  // against a worker that never arrives.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

  // Makes RunUntil check its condition again.
  void Wake();

  // Waiting and later calls return false at once.
  void Abandon();
  bool Abandoned() const;

 private:
  struct Pending {
    std::function<void()> call;
    bool finished = false;
    bool cancelled = false;
  };

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::shared_ptr<Pending>> pending_;
  bool abandoned_ = false;
  unsigned wakes_ = 0;
};

}  // namespace kestrel
