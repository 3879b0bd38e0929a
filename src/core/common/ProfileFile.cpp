#include "common/ProfileFile.h"

#include "common/FileUtil.h"
#include "common/TextCodec.h"

namespace kestrel {

namespace {

constexpr size_t npos = static_cast<size_t>(-1);

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// "[name]" → name; anything else → no section.
bool SectionName(std::string_view line, std::string_view* name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  const size_t close = line.find(']');
  *name = Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  return true;
}

bool IsComment(std::string_view line) {
  line = Trim(line);
  return !line.empty() && (line.front() == ';' || line.front() == '#');
}

// "key=value" → key and value, both trimmed.
bool KeyValue(std::string_view line, std::string_view* key, std::string_view* value) {
  if (IsComment(line)) return false;
  const size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  *key = Trim(line.substr(0, eq));
  *value = Trim(line.substr(eq + 1));
  return true;
}

}  // namespace

ProfileFile ProfileFile::Load(const std::filesystem::path& path) {
  ProfileFile file;
  file.path_ = path;
  const auto bytes = ReadWholeFile(path);
  if (!bytes || bytes->empty()) return file;
  std::string_view data = *bytes;
  std::string decoded;
  if (data.substr(0, 2) == kUtf16LeBom) {
    file.utf16_ = true;
    decoded = Utf16LeToUtf8(data.substr(2));
    data = decoded;
  }
  size_t start = 0;
  while (start < data.size()) {
    size_t nl = data.find('\n', start);
    Line line;
    std::string_view body;
    if (nl == std::string_view::npos) {
      body = data.substr(start);
      start = data.size();
    } else {
      body = data.substr(start, nl - start);
      line.eol = "\n";
      start = nl + 1;
    }
    if (!body.empty() && body.back() == '\r') {
      body.remove_suffix(1);
      line.eol = "\r" + line.eol;
    }
    if (file.utf16_) {
      line.text = std::string(body);
    } else {
      line.raw = std::string(body);
      line.text = Cp950ToUtf8(body);
    }
    file.lines_.push_back(std::move(line));
  }
  return file;
}

size_t ProfileFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    std::string_view name;
    if (SectionName(lines_[i].text, &name) && EqualsIgnoreCase(name, section)) return i;
  }
  return npos;
}

size_t ProfileFile::SectionEnd(size_t header) const {
  size_t i = header + 1;
  std::string_view name;
  while (i < lines_.size() && !SectionName(lines_[i].text, &name)) ++i;
  return i;
}

size_t ProfileFile::FindKey(size_t header, std::string_view key) const {
  const size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    std::string_view k, v;
    if (KeyValue(lines_[i].text, &k, &v) && EqualsIgnoreCase(k, key)) return i;
  }
  return npos;
}

bool ProfileFile::Has(std::string_view section, std::string_view key) const {
  const size_t header = FindSection(section);
  return header != npos && FindKey(header, key) != npos;
}

std::string ProfileFile::Get(std::string_view section, std::string_view key) const {
  const size_t header = FindSection(section);
  if (header == npos) return {};
  const size_t at = FindKey(header, key);
  if (at == npos) return {};
  std::string_view k, value;
  KeyValue(lines_[at].text, &k, &value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(Utf8Prefix(value, kMaxValueChars));
}

void ProfileFile::Set(std::string_view section, std::string_view key, std::string_view value) {
  Line line;
  line.text = std::string(key) + "=" + std::string(value);
  line.eol = "\r\n";
  line.touched = true;

  size_t header = FindSection(section);
  if (header == npos) {
    if (!lines_.empty() && lines_.back().eol.empty()) lines_.back().eol = "\r\n";
    Line head;
    head.text.append("[").append(section).append("]");
    head.eol = "\r\n";
    head.touched = true;
    lines_.push_back(std::move(head));
    lines_.push_back(std::move(line));
    return;
  }
  const size_t at = FindKey(header, key);
  if (at != npos) {
    line.eol = lines_[at].eol.empty() ? "" : lines_[at].eol;
    lines_[at] = std::move(line);
    return;
  }
  // New key: after the section's last non-blank line.
  size_t insert = SectionEnd(header);
  while (insert > header + 1 && Trim(lines_[insert - 1].text).empty()) --insert;
  if (lines_[insert - 1].eol.empty()) lines_[insert - 1].eol = "\r\n";
  if (insert == lines_.size()) line.eol = "\r\n";
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), std::move(line));
}

void ProfileFile::SetInt(std::string_view section, std::string_view key, long long value) {
  Set(section, key, std::to_string(value));
}

std::string ProfileFile::Serialize() const {
  std::string out;
  if (utf16_) {
    std::string text;
    for (const Line& line : lines_) text += line.text + line.eol;
    out = std::string(kUtf16LeBom) + Utf8ToUtf16Le(text);
    return out;
  }
  for (const Line& line : lines_) {
    out += line.touched ? Utf8ToCp950(line.text) : line.raw;
    out += line.eol;
  }
  return out;
}

std::string ProfileFile::Save() const { return WriteFileAtomically(path_, Serialize()); }

std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key) {
  return ProfileFile::Load(file).Get(section, key);
}

std::string WriteProfileString(const std::filesystem::path& file, std::string_view section,
                               std::string_view key, std::string_view value) {
  ProfileFile profile = ProfileFile::Load(file);
  profile.Set(section, key, value);
  return profile.Save();
}

}  // namespace kestrel
