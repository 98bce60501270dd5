#include "platform/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <climits>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/regular_file.h"

namespace velora {
namespace {

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

// "[name]" gives name; anything else is no section header.
std::optional<std::string> SectionName(const std::string& line) {
  std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return std::nullopt;
  size_t close = t.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// "key = value" gives key; comment lines and lines without "=" have none.
std::optional<std::string> KeyName(const std::string& line) {
  std::string t = Trim(line);
  if (t.empty() || t.front() == ';') return std::nullopt;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return std::nullopt;
  return Trim(t.substr(0, eq));
}

std::string ValueOf(const std::string& line) {
  std::string v = Trim(line.substr(line.find('=') + 1));
  // A value in one pair of double quotes stands without them.
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
  return v;
}

// Far beyond any settings file; a larger one is not read, nor rewritten.
constexpr size_t kLargestIniFile = 64u << 20;

// false when the file cannot be read: missing, or not a regular file (a FIFO planted there
// must not hang the program), or larger than kLargestIniFile.
bool ReadLines(const std::string& path, std::vector<std::string>& lines, bool* missing = nullptr) {
  const FileBytes file = ReadRegularFile(path, kLargestIniFile);
  if (missing != nullptr) *missing = !file.ok && access(path.c_str(), F_OK) != 0 && errno == ENOENT;
  if (!file.ok) return false;
  std::istringstream in(file.bytes);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return true;
}

// Written whole to a new private file beside path and renamed over it, so a failed write leaves
// the old file intact. The temporary name is unpredictable and made exclusively (never through
// a link another user planted in the folder), and it is made owner-only on the descriptor: the
// settings keep the ranking password in plain text.
bool ReplaceFileWith(const std::string& path, const std::string& bytes) {
  std::string temp = path + ".XXXXXX";
  const int fd = mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fchmod(fd, 0600) == 0;
  for (size_t done = 0; ok && done < bytes.size();) {
    const ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    ok = wrote > 0;
    if (ok) done += static_cast<size_t>(wrote);
  }
  ok = close(fd) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::string ReadIniString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& fallback, size_t capacity) {
  std::vector<std::string> lines;
  std::string result = fallback;
  if (ReadLines(path, lines)) {
    bool inSection = false;
    for (const std::string& line : lines) {
      if (auto name = SectionName(line)) {
        inSection = EqualNoCase(*name, section);
        continue;
      }
      if (!inSection) continue;
      auto k = KeyName(line);
      if (k && EqualNoCase(*k, key)) {
        result = ValueOf(line);
        break;
      }
    }
  }
  if (capacity == 0) return {};
  if (result.size() > capacity - 1) result.resize(capacity - 1);
  return result;
}

bool WriteIniString(const std::string& path, const std::string& section, const std::string& key,
                    const std::string& value) {
  // A read-only file stays as it is, even though its folder would let us replace it.
  if (access(path.c_str(), F_OK) == 0 && access(path.c_str(), W_OK) != 0) return false;
  std::vector<std::string> lines;
  bool missing = false;
  // A missing file is created; one that cannot be read is not replaced by a single key.
  if (!ReadLines(path, lines, &missing) && !missing) return false;
  std::string entry = key + "=" + value;

  std::optional<size_t> sectionLine;
  std::optional<size_t> lastEntryOfSection;
  bool inSection = false;
  bool done = false;
  for (size_t i = 0; i < lines.size() && !done; ++i) {
    if (auto name = SectionName(lines[i])) {
      if (inSection) break;  // the section ended without the key
      inSection = EqualNoCase(*name, section);
      if (inSection) sectionLine = i;
      continue;
    }
    if (!inSection) continue;
    if (!Trim(lines[i]).empty()) lastEntryOfSection = i;
    auto k = KeyName(lines[i]);
    if (k && EqualNoCase(*k, key)) {
      lines[i] = entry;
      done = true;
    }
  }
  if (!done) {
    if (sectionLine) {
      size_t at = lastEntryOfSection.value_or(*sectionLine) + 1;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), entry);
    } else {
      lines.push_back("[" + section + "]");
      lines.push_back(entry);
    }
  }

  std::ostringstream text;
  for (const std::string& line : lines) text << line << "\r\n";
  return ReplaceFileWith(path, text.str());
}

int AtoiLike(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) break;  // no overflow on long digit runs
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace velora
