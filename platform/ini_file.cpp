#include "platform/ini_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <climits>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

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

bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
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
  ReadLines(path, lines);  // a missing file is created
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
  // Written whole to a sibling file and renamed, so a failed write leaves the old file intact.
  std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    // The settings keep the ranking password in plain text: owner only, before a byte is in.
    chmod(temp.c_str(), 0600);
    out << text.str();
    out.flush();
    if (!out) {
      out.close();
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
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
