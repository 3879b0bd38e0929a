#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace kestrel::sim {

// A private temporary working folder for one run, with its "cache" and "data"
// folders; removed with everything in it when the workspace goes. The day is
// loaded from copies placed here, so the user's files are only ever read. Not
// copyable; not thread-safe.
class SimWorkspace {
 public:
  // Creates a fresh folder under the system's temporary folder; nothing and an
  // error text when it cannot.
  static std::unique_ptr<SimWorkspace> Create(std::string* error);
  ~SimWorkspace();
  SimWorkspace(const SimWorkspace&) = delete;
  SimWorkspace& operator=(const SimWorkspace&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path Cache() const { return root_ / "cache"; }
  std::filesystem::path Data() const { return root_ / "data"; }

  // Copies `source` into the cache folder as `name`; an error text, empty on
  // success.
  std::string CopyIntoCache(const std::filesystem::path& source, const std::string& name) const;

 private:
  explicit SimWorkspace(std::filesystem::path root) : root_(std::move(root)) {}
  std::filesystem::path root_;
};

}  // namespace kestrel::sim
