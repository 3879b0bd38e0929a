#include "tradingday/ArchiveWriter.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <limits>

#include "tradingday/Scramble.h"

namespace kestrel {

namespace {

// 2011-01-17 00:00:00 in DOS form; archives carry no meaningful timestamps.
constexpr uint16_t kDosTime = 0;
constexpr uint16_t kDosDate = ((2011 - 1980) << 9) | (1 << 5) | 17;
constexpr uint16_t kVersion = 20;  // 2.0: deflate
constexpr uint16_t kDeflated = 8;

void Put16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// The fastest level: a first start generates weeks of practice days, and the
// archives are read once each.
bool Deflate(const std::string& plain, std::string& out) {
  z_stream z{};
  if (deflateInit2(&z, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
      Z_OK) {
    return false;
  }
  out.resize(deflateBound(&z, static_cast<uLong>(plain.size())));
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
  z.avail_in = static_cast<uInt>(plain.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return rc == Z_STREAM_END;
}

std::string Scrambled(std::string bytes) {
  Scramble(bytes);
  return bytes;
}

std::string WriteArchive(const std::vector<ArchiveMember>& members,
                         bool (*scrambleMember)(std::string_view)) {
  std::vector<ArchiveMember> stored;
  stored.reserve(members.size());
  for (const auto& m : members) {
    stored.push_back({m.name, scrambleMember(m.name) ? Scrambled(m.bytes) : m.bytes});
  }
  return Scrambled(ArchiveWriter::Zip(stored));
}

bool Always(std::string_view) {
  return true;
}
bool Never(std::string_view) {
  return false;
}

std::string Format(const char* format, int a, int b, int c) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return buffer;
}

}  // namespace

std::string ArchiveWriter::Zip(const std::vector<ArchiveMember>& members) {
  constexpr uint64_t kLimit = std::numeric_limits<uint32_t>::max();
  if (members.size() > 0xFFFF) return {};
  std::string out;
  std::string directory;
  for (const auto& m : members) {
    if (m.name.size() > 0xFFFF || m.bytes.size() > kLimit) return {};
    std::string packed;
    if (!Deflate(m.bytes, packed)) return {};
    const uint32_t crc = static_cast<uint32_t>(crc32(
        0L, reinterpret_cast<const Bytef*>(m.bytes.data()), static_cast<uInt>(m.bytes.size())));
    const uint64_t offset = out.size();
    if (offset > kLimit) return {};

    Put32(out, 0x04034b50);
    Put16(out, kVersion);
    Put16(out, 0);  // flags
    Put16(out, kDeflated);
    Put16(out, kDosTime);
    Put16(out, kDosDate);
    Put32(out, crc);
    Put32(out, static_cast<uint32_t>(packed.size()));
    Put32(out, static_cast<uint32_t>(m.bytes.size()));
    Put16(out, static_cast<uint32_t>(m.name.size()));
    Put16(out, 0);  // extra field
    out += m.name;
    out += packed;

    Put32(directory, 0x02014b50);
    Put16(directory, kVersion);  // made by: MS-DOS, 2.0
    Put16(directory, kVersion);
    Put16(directory, 0);
    Put16(directory, kDeflated);
    Put16(directory, kDosTime);
    Put16(directory, kDosDate);
    Put32(directory, crc);
    Put32(directory, static_cast<uint32_t>(packed.size()));
    Put32(directory, static_cast<uint32_t>(m.bytes.size()));
    Put16(directory, static_cast<uint32_t>(m.name.size()));
    Put16(directory, 0);  // extra field
    Put16(directory, 0);  // comment
    Put16(directory, 0);  // disk
    Put16(directory, 0);  // internal attributes
    Put32(directory, 0);  // external attributes
    Put32(directory, static_cast<uint32_t>(offset));
    directory += m.name;
  }
  const uint64_t directoryOffset = out.size();
  if (directoryOffset > kLimit || directory.size() > kLimit) return {};
  out += directory;
  Put32(out, 0x06054b50);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, static_cast<uint32_t>(members.size()));
  Put16(out, static_cast<uint32_t>(members.size()));
  Put32(out, static_cast<uint32_t>(directory.size()));
  Put32(out, static_cast<uint32_t>(directoryOffset));
  Put16(out, 0);  // comment
  return out;
}

bool ArchiveWriter::IsScrambledDayMember(std::string_view name) {
  return name != "FTX.DAT";
}

std::string ArchiveWriter::DayArchive(const std::vector<ArchiveMember>& members) {
  return WriteArchive(members, &ArchiveWriter::IsScrambledDayMember);
}

std::string ArchiveWriter::BookArchive(const std::vector<ArchiveMember>& members) {
  return WriteArchive(members, &Never);
}

std::string ArchiveWriter::KLineArchive(const std::vector<ArchiveMember>& members) {
  return WriteArchive(members, &Always);
}

std::string ArchiveWriter::DayArchiveName(int year, int month, int day) {
  return Format("TICK_%04d_%02d_%02d.zip", year, month, day);
}

std::string ArchiveWriter::BookArchiveName(int year, int month, int day) {
  return Format("TICK_%03d_%02d_%02d.zip", year - 1911, month, day);
}

std::string ArchiveWriter::BookMemberStem(int year, int month, int day) {
  return Format("TX00_%03d_%02d_%02d", year - 1911, month, day);
}

std::string ArchiveWriter::KLineArchiveName(int year, int month, int day) {
  return Format("K_%4d_%02d_%02d.zip", year, month, day);
}

}  // namespace kestrel
