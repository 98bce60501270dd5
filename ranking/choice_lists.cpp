#include "ranking/choice_lists.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace velora {

std::vector<std::string> PlainListEntries(const std::string& text) {
  std::vector<std::string> entries;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    // Blank lines vanish in the split, as empty pieces do between consecutive separators.
    if (end > start) entries.push_back(text.substr(start, end - start - 1));
    start = end + 1;
  }
  return entries;
}

std::vector<std::string> LoadPlainList(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return PlainListEntries(text.str());
}

std::optional<std::vector<std::string>> LoadPciColumn(const std::string& path, int field) {
  FILE* file = std::fopen(path.c_str(), "r");
  if (file == nullptr) return std::nullopt;
  std::vector<std::string> entries;
  char line[1024];
  while (std::fgets(line, sizeof line, file) != nullptr) {
    if (line[0] == '\r' || line[0] == '\n' || line[0] == ';') continue;
    // Consecutive separators make no empty field, as with strtok.
    int index = 0;
    const char* found = nullptr;
    size_t length = 0;
    for (const char* p = line; *p != '\0';) {
      p += std::strspn(p, ",\t\n");
      if (*p == '\0') break;
      const size_t n = std::strcspn(p, ",\t\n");
      if (++index == field) {
        found = p;
        length = n;
        break;
      }
      p += n;
    }
    if (found == nullptr) continue;
    std::string name(found, length);
    if (!entries.empty() && entries.back() == name) continue;
    entries.push_back(std::move(name));
  }
  std::fclose(file);
  return entries;
}

}  // namespace velora
