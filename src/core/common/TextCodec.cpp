#include "common/TextCodec.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <utility>

namespace kestrel {

namespace {

size_t Utf8SequenceLength(unsigned char lead);

const iconv_t kNoDescriptor = reinterpret_cast<iconv_t>(-1);

// iconv_open is costly next to a short conversion: keep one descriptor per
// direction and thread.
iconv_t Descriptor(const char* to, const char* from) {
  struct Cache {
    std::map<std::pair<std::string, std::string>, iconv_t> open;
    ~Cache() {
      for (auto& [key, cd] : open)
        if (cd != kNoDescriptor) iconv_close(cd);
    }
  };
  thread_local Cache cache;
  auto [it, inserted] = cache.open.try_emplace({to, from}, kNoDescriptor);
  if (inserted) it->second = iconv_open(to, from);
  return it->second;
}

// One conversion; unconvertible or incomplete input is replaced and skipped,
// `inStep` bytes at a time (0: one UTF-8 character).
std::string Convert(const char* to, const char* from, std::string_view in, size_t inStep,
                    std::string_view replacement) {
  std::string out;
  if (in.empty()) return out;
  iconv_t cd = Descriptor(to, from);
  if (cd == kNoDescriptor) return std::string(in);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  out.resize(in.size() * 2 + 16);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  size_t used = 0;
  while (srcLeft > 0) {
    char* dst = out.data() + used;
    size_t dstLeft = out.size() - used;
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    used = out.size() - dstLeft;
    if (rc != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      out.resize(out.size() * 2);
      continue;
    }
    // EILSEQ or EINVAL: put a replacement, skip one input unit.
    if (out.size() - used < replacement.size()) out.resize(out.size() * 2 + replacement.size());
    out.replace(used, replacement.size(), replacement);
    used += replacement.size();
    size_t skip = inStep != 0 ? inStep : Utf8SequenceLength(static_cast<unsigned char>(*src));
    if (skip > srcLeft) skip = srcLeft;
    src += skip;
    srcLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(used);
  return out;
}

size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

}  // namespace

std::string Cp950ToUtf8(std::string_view cp950) { return Convert("UTF-8", "CP950", cp950, 1, "?"); }

std::string Utf8ToCp950(std::string_view utf8) { return Convert("CP950", "UTF-8", utf8, 0, "?"); }

std::string Utf16LeToUtf8(std::string_view utf16le) {
  return Convert("UTF-8", "UTF-16LE", utf16le, 2, "?");
}

std::string Utf8ToUtf16Le(std::string_view utf8) {
  return Convert("UTF-16LE", "UTF-8", utf8, 0, std::string_view("?\0", 2));
}

std::string DecodeAnsiOrUtf16(std::string_view bytes) {
  if (bytes.substr(0, 2) == kUtf16LeBom) return Utf16LeToUtf8(bytes.substr(2));
  return Cp950ToUtf8(bytes);
}

size_t Utf8Length(std::string_view utf8) {
  size_t n = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

std::string_view Utf8Prefix(std::string_view utf8, size_t count) {
  size_t pos = 0;
  for (size_t n = 0; n < count && pos < utf8.size(); ++n) {
    pos += Utf8SequenceLength(static_cast<unsigned char>(utf8[pos]));
  }
  if (pos > utf8.size()) pos = utf8.size();
  return utf8.substr(0, pos);
}

}  // namespace kestrel
