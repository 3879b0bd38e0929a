#include "common/FileUtil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace kestrel {

namespace fs = std::filesystem;

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

fs::path FindCaseInsensitive(const fs::path& dir, std::string_view name) {
  fs::path exact = dir / std::string(name);
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string entry = it->path().filename().string();
    if (EqualsIgnoreCase(entry, name)) return it->path();
  }
  return exact;
}

std::optional<std::string> ReadWholeFile(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.append(buffer, static_cast<size_t>(in.gcount()));
  }
  if (in.bad()) return std::nullopt;
  return bytes;
}

void MakeWritable(const fs::path& path) {
  std::error_code ec;
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add,
                  ec);
}

std::string WriteFileAtomically(const fs::path& path, std::string_view bytes) {
  std::error_code ec;
  const bool existed = fs::exists(path, ec);
  fs::perms keep = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                   fs::perms::others_read;
  if (existed) {
    MakeWritable(path);
    keep = fs::status(path, ec).permissions();
  }
  fs::path temp = path;
  temp += ".tmp" + std::to_string(::getpid());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return "無法寫入檔案 " + path.string() + "：" + std::strerror(errno);
  const char* p = bytes.data();
  size_t left = bytes.size();
  std::string error;
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = std::strerror(errno);
      break;
    }
    p += n;
    left -= static_cast<size_t>(n);
  }
  if (error.empty() && ::fsync(fd) != 0) error = std::strerror(errno);
  if (::close(fd) != 0 && error.empty()) error = std::strerror(errno);
  if (error.empty()) {
    fs::permissions(temp, keep, ec);
    fs::rename(temp, path, ec);
    if (ec) error = ec.message();
  }
  if (!error.empty()) {
    fs::remove(temp, ec);
    return "無法寫入檔案 " + path.string() + "：" + error;
  }
  return {};
}

}  // namespace kestrel
