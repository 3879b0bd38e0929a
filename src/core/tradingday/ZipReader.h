#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

// True for a member name that can only name a file directly inside one folder:
// not empty, no path separator, no "..", no drive ("C:") or absolute form.
bool IsSafeMemberName(std::string_view name);

// Reads a zip archive held in memory (stored or deflated members). The central
// directory is found from the end, so bytes after the archive are accepted.
// Members are read into memory; nothing touches the disk. Not thread-safe.
class ZipReader {
 public:
  // A member above this size is treated as unreadable rather than exhausting memory.
  static constexpr size_t kMaxMemberBytes = size_t{256} << 20;

  // Called per member in archive order with its stored name and its bytes, or
  // nothing when it cannot be read (corrupt data, CRC mismatch, unsupported
  // method, refused name, too large). Returns false to stop the walk.
  using Visitor = std::function<bool(const std::string& name, std::optional<std::string> bytes)>;

  ZipReader();
  ~ZipReader();
  ZipReader(ZipReader&&) noexcept;
  ZipReader& operator=(ZipReader&&) noexcept;

  // Takes the archive's bytes; false when they hold no readable zip directory.
  bool Open(std::string bytes);
  void Close();
  bool IsOpen() const;

  // Number of members the directory announces.
  uint64_t MemberCount() const;

  // Visits every member. A directory entry that cannot be parsed is reported as
  // a member without a name and ends the walk. Returns false when the walk ended
  // early for either reason.
  bool ForEachMember(const Visitor& visit);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace kestrel
