#include "tools/cpuid_dump_reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/regular_file.h"

namespace velora {

namespace {

bool HexField(const std::string& word, size_t minDigits, size_t maxDigits, uint32_t& value) {
  if (word.size() < minDigits || word.size() > maxDigits) return false;
  value = 0;
  for (const char c : word) {
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return false;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return true;
}

bool ReadContents(const std::string& path, std::string& contents, std::string& error) {
  FileBytes file = ReadRegularFile(path, static_cast<size_t>(kLargestCpuidDump));
  if (!file.ok) {
    error = file.error == "is a folder" ? "is a folder, not a dump file" : file.error;
    return false;
  }
  if (file.bytes.empty()) {
    error = "is empty";
    return false;
  }
  contents = std::move(file.bytes);
  return true;
}

}  // namespace

bool ReadCpuidDump(const std::string& path, FakeCpuidSource& cpuid, std::string& error) {
  std::string contents;
  if (!ReadContents(path, contents, error)) return false;
  std::istringstream lines(contents);
  std::string line;
  int number = 0;
  int loaded = 0;
  static constexpr char kCount[] = "# logical-processors:";
  while (std::getline(lines, line)) {
    ++number;
    const std::string where = "line " + std::to_string(number) + ": ";
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] == '#') {
      if (line.compare(0, sizeof kCount - 1, kCount) != 0) continue;
      char* end = nullptr;
      const long count = std::strtol(line.c_str() + sizeof kCount - 1, &end, 10);
      if (end == line.c_str() + sizeof kCount - 1 || count < 1 || count > kMostLogicalProcessors) {
        error = where + "logical-processors must be between 1 and " +
                std::to_string(kMostLogicalProcessors);
        return false;
      }
      cpuid.logicalProcessors = static_cast<int32_t>(count);
      continue;
    }
    std::istringstream words(line);
    std::vector<std::string> w;
    for (std::string word; words >> word;) w.push_back(word);
    uint32_t v[6] = {};
    if (w.size() != 6) {
      error = where + "expected LEAF SUB EAX EBX ECX EDX";
      return false;
    }
    if (!HexField(w[0], 8, 8, v[0]) || !HexField(w[1], 1, 8, v[1])) {
      error = where + "the leaf must be 8 hex digits and the sub-leaf 1 to 8";
      return false;
    }
    for (int i = 2; i < 6; ++i) {
      if (!HexField(w[static_cast<size_t>(i)], 8, 8, v[i])) {
        error = where + "register fields must be 8 hex digits";
        return false;
      }
    }
    cpuid.Set(v[0], v[1], {v[2], v[3], v[4], v[5]});
    ++loaded;
  }
  if (loaded == 0) {
    error = "holds no CPUID leaves";
    return false;
  }
  return true;
}

std::string QuotedProbeText(const char* text) {
  std::string out = "\"";
  for (const char* p = text; *p != '\0'; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    switch (byte) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default:
        if (byte < 0x20 || byte >= 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
          out += escaped;
        } else {
          out += static_cast<char>(byte);
        }
    }
  }
  return out + "\"";
}

}  // namespace velora
