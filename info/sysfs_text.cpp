#include "info/sysfs_text.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace velora {

std::string ReadSmallFile(const std::string& path) {
  // O_NONBLOCK: a FIFO planted where an attribute should be must not stall the page.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return "";
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t got = read(fd, buffer, sizeof buffer);
    if (got <= 0) break;
    text.append(buffer, static_cast<size_t>(got));
    if (text.size() >= (1u << 20)) break;
  }
  close(fd);
  return text;
}

std::string TrimBlanks(const std::string& text) {
  const char* blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string ReadAttribute(const std::string& path) { return TrimBlanks(ReadSmallFile(path)); }

std::string ReadFirstLine(const std::string& path) {
  std::string text = ReadSmallFile(path);
  text.resize(std::min(text.size(), text.find('\n')));
  while (!text.empty() &&
         (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\0'))
    text.pop_back();
  return text;
}

uint32_t HexNumber(const std::string& text) {
  return static_cast<uint32_t>(std::strtoul(text.c_str(), nullptr, 16));
}

}  // namespace velora
