#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "online/Fetcher.h"

namespace kestrel {

// The fetcher's test double: answers URLs from a script and records every
// request. A URL without a script fails, as an unreachable host does.
// Thread-safe.
class ScriptedFetcher final : public Fetcher {
 public:
  struct Reply {
    bool ok = true;
    std::string body;
  };
  struct Request {
    std::string url;
    bool forceReload = false;
    bool useCache = false;
    size_t maxBytes = 0;
    bool withProgress = false;
  };

  static Reply Body(std::string body) { return Reply{true, std::move(body)}; }
  static Reply Failure() { return Reply{false, {}}; }

  // Replies for exactly this URL, used in turn; the last one repeats.
  void On(const std::string& url, std::vector<Reply> replies);
  void On(const std::string& url, const std::string& body) { On(url, {Body(body)}); }
  // Replies for every URL starting with `prefix` (an exact script wins, then the
  // longest prefix).
  void OnPrefix(const std::string& prefix, std::vector<Reply> replies);

  bool Fetch(const std::string& url, std::string& buffer,
             const FetchOptions& options = {}) override;
  void Abort() override;

  std::vector<Request> Requests() const;
  std::vector<std::string> Urls() const;
  // How many requests went to URLs starting with `prefix`.
  int CountStartingWith(const std::string& prefix) const;
  void ClearRequests();
  // Forgets every script and request.
  void Reset();

 private:
  struct Script {
    std::string key;
    bool prefix = false;
    std::vector<Reply> replies;
    size_t next = 0;
  };

  mutable std::mutex mutex_;
  std::vector<Script> scripts_;
  std::vector<Request> requests_;
  bool aborted_ = false;
};

}  // namespace kestrel
