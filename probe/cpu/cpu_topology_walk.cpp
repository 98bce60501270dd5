#include "probe/cpu/cpu_topology_walk.h"

#include <cstddef>
#include <set>
#include <vector>

namespace velora {

namespace {

struct ProcessorTopology {
  uint32_t x2apicId = 0;
  uint32_t smtShift = 0;      // identifier bits below the core
  uint32_t packageShift = 0;  // identifier bits below the package
  bool valid = false;
};

constexpr uint32_t kLevelTypeSmt = 1;

ProcessorTopology ReadTopology(CpuidSource& cpuid, uint32_t leaf) {
  ProcessorTopology t;
  // Leaf 0x1F may add module, tile and die levels above the core; a bound in case a level of
  // type 0 never comes.
  for (uint32_t sub = 0; sub < 8; ++sub) {
    CpuidRegisters r = cpuid.Query(leaf, sub);
    uint32_t type = (r.ecx >> 8) & 0xFF;
    if (type == 0) break;
    if (type == kLevelTypeSmt) t.smtShift = r.eax & 0x1F;
    t.packageShift = r.eax & 0x1F;
    t.x2apicId = r.edx;
    t.valid = true;
  }
  return t;
}

}  // namespace

int32_t CountCoresByWalking(CpuidSource& cpuid, uint32_t highestStandardLeaf, int32_t processors,
                            int32_t selected) {
  if (highestStandardLeaf < 0xB || processors < 2) return 0;
  if (selected < 0 || selected >= processors || selected >= 32) return 0;
  // Leaf 0x1F is the one Intel asks to prefer where it is answered.
  uint32_t leaf = highestStandardLeaf >= 0x1F && cpuid.Query(0x1F, 0).ebx != 0 ? 0x1F : 0xB;
  int32_t count = processors < 32 ? processors : 32;
  std::vector<ProcessorTopology> all;
  for (int32_t i = 0; i < count; ++i) {
    bool pinned = cpuid.PinThread(1u << i);
    ProcessorTopology t = pinned ? ReadTopology(cpuid, leaf) : ProcessorTopology{};
    cpuid.RestoreThread();
    if (!t.valid) return 0;
    all.push_back(t);
  }
  std::set<uint32_t> identifiers;
  for (const ProcessorTopology& t : all) identifiers.insert(t.x2apicId);
  if (identifiers.size() != all.size()) return 0;

  const ProcessorTopology& mine = all[static_cast<std::size_t>(selected)];
  std::set<uint32_t> cores;
  for (const ProcessorTopology& t : all) {
    if ((t.x2apicId >> mine.packageShift) != (mine.x2apicId >> mine.packageShift)) continue;
    cores.insert(t.x2apicId >> t.smtShift);
  }
  return static_cast<int32_t>(cores.size());
}

}  // namespace velora
