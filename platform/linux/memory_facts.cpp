#include "platform/memory_facts.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace velora {
namespace {

std::string FirstLine(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

uint64_t MemTotalBytes(const std::string& root) {
  std::ifstream in(root + "/proc/meminfo");
  std::string key;
  uint64_t kib = 0;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    if (fields >> key >> kib && key == "MemTotal:") return kib * 1024;
  }
  return 0;
}

}  // namespace

uint64_t CacheSizeBytes(const std::string& text) {
  size_t digits = 0;
  while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) ++digits;
  if (digits == 0 || digits > 12) return 0;
  const uint64_t number = std::stoull(text.substr(0, digits));
  const std::string unit = text.substr(digits);
  if (unit.empty()) return number;
  if (unit == "K") return number << 10;
  if (unit == "M") return number << 20;
  if (unit == "G") return number << 30;
  return 0;
}

MemoryFacts ReadMemoryFacts(const std::string& root) {
  MemoryFacts facts;
  facts.physicalBytes = MemTotalBytes(root);
  // Every processor lists the caches it uses; a cache shared by several is counted once, by
  // the processors that share it.
  int topLevel = 0;
  std::map<std::string, uint64_t> instances;
  std::error_code error;
  const std::filesystem::path cpus = root + "/sys/devices/system/cpu";
  for (const auto& cpu : std::filesystem::directory_iterator(cpus, error)) {
    const std::string name = cpu.path().filename().string();
    if (name.size() < 4 || name.compare(0, 3, "cpu") != 0 ||
        !std::isdigit(static_cast<unsigned char>(name[3])))
      continue;
    for (const auto& index : std::filesystem::directory_iterator(cpu.path() / "cache", error)) {
      if (FirstLine(index.path() / "type") == "Instruction") continue;
      const int level = std::atoi(FirstLine(index.path() / "level").c_str());
      const uint64_t bytes = CacheSizeBytes(FirstLine(index.path() / "size"));
      if (level < topLevel || bytes == 0) continue;
      if (level > topLevel) instances.clear();
      topLevel = level;
      instances[FirstLine(index.path() / "shared_cpu_list")] = bytes;
    }
  }
  for (const auto& [shared, bytes] : instances) facts.lastLevelCacheBytes += bytes;
  return facts;
}

}  // namespace velora
