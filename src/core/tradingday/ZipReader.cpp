#include "tradingday/ZipReader.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <cstring>

namespace kestrel {

namespace {

// minizip reads through these callbacks from the bytes held by the reader.
struct MemoryStream {
  std::string bytes;
  uint64_t pos = 0;
};

voidpf OpenMemory(voidpf opaque, const void*, int mode) {
  if ((mode & ZLIB_FILEFUNC_MODE_WRITE) != 0) return nullptr;
  auto* stream = static_cast<MemoryStream*>(opaque);
  stream->pos = 0;
  return stream;
}

uLong ReadMemory(voidpf, voidpf handle, void* buffer, uLong size) {
  auto* stream = static_cast<MemoryStream*>(handle);
  const uint64_t left =
      stream->bytes.size() - std::min<uint64_t>(stream->pos, stream->bytes.size());
  const uint64_t n = std::min<uint64_t>(size, left);
  if (n > 0) std::memcpy(buffer, stream->bytes.data() + stream->pos, n);
  stream->pos += n;
  return static_cast<uLong>(n);
}

uLong WriteMemory(voidpf, voidpf, const void*, uLong) {
  return 0;
}

ZPOS64_T TellMemory(voidpf, voidpf handle) {
  return static_cast<MemoryStream*>(handle)->pos;
}

long SeekMemory(voidpf, voidpf handle, ZPOS64_T offset, int origin) {
  auto* stream = static_cast<MemoryStream*>(handle);
  const uint64_t size = stream->bytes.size();
  uint64_t base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = stream->pos; break;
    case ZLIB_FILEFUNC_SEEK_END: base = size; break;
    default: return -1;
  }
  if (offset > size || base > size - offset) return -1;
  stream->pos = base + offset;
  return 0;
}

int CloseMemory(voidpf, voidpf) {
  return 0;
}
int ErrorMemory(voidpf, voidpf) {
  return 0;
}

// The current member's bytes, or nothing when they cannot be read in full with
// a matching CRC.
std::optional<std::string> ReadCurrent(unzFile zip, uint64_t announcedSize) {
  if (announcedSize > ZipReader::kMaxMemberBytes) return std::nullopt;
  if (unzOpenCurrentFile(zip) != UNZ_OK) return std::nullopt;
  std::string bytes;
  bytes.reserve(static_cast<size_t>(announcedSize));
  char buffer[65536];
  bool ok = true;
  for (;;) {
    const int n = unzReadCurrentFile(zip, buffer, sizeof buffer);
    if (n < 0) {
      ok = false;
      break;
    }
    if (n == 0) break;
    if (bytes.size() + static_cast<size_t>(n) > ZipReader::kMaxMemberBytes) {
      ok = false;
      break;
    }
    bytes.append(buffer, static_cast<size_t>(n));
  }
  // Closing checks the CRC once the member was read to its end.
  const int closed = unzCloseCurrentFile(zip);
  if (!ok || closed != UNZ_OK || bytes.size() != announcedSize) return std::nullopt;
  return bytes;
}

}  // namespace

bool IsSafeMemberName(std::string_view name) {
  if (name.empty() || name == ".") return false;
  if (name.find("..") != std::string_view::npos) return false;
  for (char c : name) {
    if (c == '/' || c == '\\' || c == ':' || c == '\0') return false;
  }
  return true;
}

struct ZipReader::Impl {
  MemoryStream stream;
  unzFile zip = nullptr;

  ~Impl() {
    if (zip != nullptr) unzClose(zip);
  }
};

ZipReader::ZipReader() = default;
ZipReader::~ZipReader() = default;
ZipReader::ZipReader(ZipReader&&) noexcept = default;
ZipReader& ZipReader::operator=(ZipReader&&) noexcept = default;

bool ZipReader::Open(std::string bytes) {
  Close();
  // The stream must not move while minizip holds it, hence the heap object.
  auto impl = std::make_unique<Impl>();
  impl->stream.bytes = std::move(bytes);
  zlib_filefunc64_def functions{};
  functions.zopen64_file = OpenMemory;
  functions.zread_file = ReadMemory;
  functions.zwrite_file = WriteMemory;
  functions.ztell64_file = TellMemory;
  functions.zseek64_file = SeekMemory;
  functions.zclose_file = CloseMemory;
  functions.zerror_file = ErrorMemory;
  functions.opaque = &impl->stream;
  impl->zip = unzOpen2_64("memory", &functions);
  if (impl->zip == nullptr) return false;
  impl_ = std::move(impl);
  return true;
}

void ZipReader::Close() {
  impl_.reset();
}

bool ZipReader::IsOpen() const {
  return impl_ != nullptr;
}

uint64_t ZipReader::MemberCount() const {
  if (!impl_) return 0;
  unz_global_info64 info{};
  if (unzGetGlobalInfo64(impl_->zip, &info) != UNZ_OK) return 0;
  return info.number_entry;
}

bool ZipReader::ForEachMember(const Visitor& visit) {
  if (!impl_) return false;
  if (MemberCount() == 0) return true;
  unzFile zip = impl_->zip;
  int status = unzGoToFirstFile(zip);
  while (status == UNZ_OK) {
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) break;
    std::string name(info.size_filename, '\0');
    if (unzGetCurrentFileInfo64(zip, &info, name.data(), static_cast<uLong>(name.size()), nullptr,
                                0, nullptr, 0) != UNZ_OK) {
      break;
    }
    std::optional<std::string> bytes;
    if (IsSafeMemberName(name)) bytes = ReadCurrent(zip, info.uncompressed_size);
    if (!visit(name, std::move(bytes))) return false;
    status = unzGoToNextFile(zip);
  }
  if (status == UNZ_END_OF_LIST_OF_FILE) return true;
  visit(std::string(), std::nullopt);
  return false;
}

}  // namespace kestrel
