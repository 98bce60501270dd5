#include "platform/fake/fake_cpuid_source.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace velora {

CpuidRegisters FakeCpuidSource::Query(uint32_t leaf, uint32_t subLeaf) {
  ++queries;
  if (pinned && !pinnedMasks.empty()) {
    auto own = perProcessor.find(pinnedMasks.back());
    if (own != perProcessor.end()) {
      auto at = own->second.find({leaf, subLeaf});
      if (at != own->second.end()) return at->second;
    }
  }
  auto it = leaves.find({leaf, subLeaf});
  return it == leaves.end() ? CpuidRegisters{} : it->second;
}

void FakeCpuidSource::SetBrandString(const std::string& brand) {
  char bytes[48] = {};
  std::memcpy(bytes, brand.data(), brand.size() < 48 ? brand.size() : 48);
  for (uint32_t i = 0; i < 3; ++i) {
    uint32_t r[4];
    std::memcpy(r, bytes + 16 * i, 16);
    Set(0x80000002 + i, 0, {r[0], r[1], r[2], r[3]});
  }
}

namespace {

bool ParseHex(const std::string& word, uint32_t& value) {
  if (word.empty() || word.size() > 8) return false;
  char* end = nullptr;
  unsigned long v = std::strtoul(word.c_str(), &end, 16);
  if (*end != '\0') return false;
  value = static_cast<uint32_t>(v);
  return true;
}

}  // namespace

int FakeCpuidSource::LoadDump(const std::string& path) {
  std::ifstream in(path);
  if (!in) return -1;
  int loaded = 0;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line[0] == '#') {
      static constexpr char kCount[] = "# logical-processors:";
      if (line.compare(0, sizeof kCount - 1, kCount) == 0) {
        long n = std::strtol(line.c_str() + sizeof kCount - 1, nullptr, 10);
        if (n > 0 && n < INT32_MAX) logicalProcessors = static_cast<int32_t>(n);
      }
      continue;
    }
    std::istringstream words(line);
    std::string w[6];
    uint32_t v[6];
    for (int i = 0; i < 6; ++i) {
      if (!(words >> w[i]) || !ParseHex(w[i], v[i])) return -1;
    }
    Set(v[0], v[1], {v[2], v[3], v[4], v[5]});
    ++loaded;
  }
  return loaded;
}

}  // namespace velora
