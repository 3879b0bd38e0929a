#include "classroom/HandOffQueue.h"

namespace kestrel {

bool HandOffQueue::Call(std::function<void()> call) {
  auto item = std::make_shared<Pending>();
  item->call = std::move(call);
  std::unique_lock lock(mutex_);
  if (abandoned_) return false;
  pending_.push_back(item);
  changed_.notify_all();
  changed_.wait(lock, [&] { return item->finished || item->cancelled; });
  return item->finished;
}

size_t HandOffQueue::RunPending() {
  size_t ran = 0;
  for (;;) {
    std::shared_ptr<Pending> item;
    {
      std::lock_guard lock(mutex_);
      if (pending_.empty() || abandoned_) return ran;
      item = pending_.front();
      pending_.pop_front();
    }
    item->call();
    ++ran;
    {
      std::lock_guard lock(mutex_);
      item->finished = true;
    }
    changed_.notify_all();
  }
}

bool HandOffQueue::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    unsigned seen;
    {
      std::lock_guard lock(mutex_);
      seen = wakes_;  // taken before the check, so a Wake during it is not lost
    }
    RunPending();
    if (done()) return true;
    std::unique_lock lock(mutex_);
    if (!changed_.wait_until(lock, deadline, [&] { return !pending_.empty() || wakes_ != seen; }))
      return false;
  }
}

void HandOffQueue::Wake() {
  {
    std::lock_guard lock(mutex_);
    ++wakes_;
  }
  changed_.notify_all();
}

void HandOffQueue::Abandon() {
  {
    std::lock_guard lock(mutex_);
    abandoned_ = true;
    for (auto& item : pending_) item->cancelled = true;
    pending_.clear();
  }
  changed_.notify_all();
}

bool HandOffQueue::Abandoned() const {
  std::lock_guard lock(mutex_);
  return abandoned_;
}

}  // namespace kestrel
