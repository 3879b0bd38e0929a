#include "online/ScriptedFetcher.h"

namespace kestrel {

void ScriptedFetcher::On(const std::string& url, std::vector<Reply> replies) {
  std::lock_guard lock(mutex_);
  for (Script& s : scripts_) {
    if (!s.prefix && s.key == url) {
      s.replies = std::move(replies);
      s.next = 0;
      return;
    }
  }
  scripts_.push_back({url, false, std::move(replies), 0});
}

void ScriptedFetcher::OnPrefix(const std::string& prefix, std::vector<Reply> replies) {
  std::lock_guard lock(mutex_);
  for (Script& s : scripts_) {
    if (s.prefix && s.key == prefix) {
      s.replies = std::move(replies);
      s.next = 0;
      return;
    }
  }
  scripts_.push_back({prefix, true, std::move(replies), 0});
}

bool ScriptedFetcher::Fetch(const std::string& url, std::string& buffer,
                            const FetchOptions& options) {
  Reply reply{false, {}};
  {
    std::lock_guard lock(mutex_);
    requests_.push_back({url, options.forceReload, options.useCache, options.maxBytes,
                         options.progress != nullptr});
    buffer.clear();
    if (aborted_) return false;
    Script* match = nullptr;
    for (Script& s : scripts_) {
      if (s.replies.empty()) continue;
      if (!s.prefix && s.key == url) {
        match = &s;
        break;
      }
      if (s.prefix && url.compare(0, s.key.size(), s.key) == 0 &&
          (match == nullptr || s.key.size() > match->key.size()))
        match = &s;
    }
    if (match == nullptr) return false;
    reply = match->replies[match->next];
    if (match->next + 1 < match->replies.size()) ++match->next;
  }
  if (!reply.ok || reply.body.size() > options.maxBytes) return false;
  if (options.progress != nullptr) {
    options.progress->SetRange(reply.body.size());
    options.progress->SetPosition(reply.body.size());
  }
  buffer = std::move(reply.body);
  buffer.push_back('\0');
  return true;
}

void ScriptedFetcher::Abort() {
  std::lock_guard lock(mutex_);
  aborted_ = true;
}

std::vector<ScriptedFetcher::Request> ScriptedFetcher::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::vector<std::string> ScriptedFetcher::Urls() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> urls;
  for (const Request& r : requests_) urls.push_back(r.url);
  return urls;
}

int ScriptedFetcher::CountStartingWith(const std::string& prefix) const {
  std::lock_guard lock(mutex_);
  int count = 0;
  for (const Request& r : requests_)
    if (r.url.compare(0, prefix.size(), prefix) == 0) ++count;
  return count;
}

void ScriptedFetcher::ClearRequests() {
  std::lock_guard lock(mutex_);
  requests_.clear();
}

void ScriptedFetcher::Reset() {
  std::lock_guard lock(mutex_);
  scripts_.clear();
  requests_.clear();
  aborted_ = false;
}

}  // namespace kestrel
