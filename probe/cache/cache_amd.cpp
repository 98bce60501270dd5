#include "probe/cache/cache_amd.h"

#include "probe/cache/cache_deterministic.h"
#include "probe/cpu/cpu_era.h"
#include "probe/cpu/cpu_format.h"

namespace velora {

namespace {

constexpr uint32_t kSeeLeaf8000001D = 9;

void DecodeL1(uint32_t reg, int32_t& size, int waysIndex, CpuFields& f) {
  size = static_cast<int32_t>(reg >> 24);
  int32_t ways = static_cast<int32_t>((reg >> 16) & 0xFF);
  int32_t line = static_cast<int32_t>(reg & 0xFF);
  f.cacheDetail[waysIndex] = ways;
  f.cacheDetail[waysIndex + 1] = line;
  f.cacheDetailText[waysIndex] = ways == 255 ? std::string("Full") : FormatText("%d", ways);
  f.cacheDetailText[waysIndex + 1] = FormatText("%d", line);
}

const DeterministicCache* FindLevel(const std::vector<DeterministicCache>& caches, int level) {
  for (const DeterministicCache& c : caches) {
    if (c.level == level && c.type != 2) return &c;
  }
  return nullptr;
}

}  // namespace

std::string_view AmdWaysText(uint32_t code) {
  for (const AmdWaysRow& row : kAmdL2WaysTexts) {
    if (row.code == code) return row.text;
  }
  for (const AmdWaysRow& row : kAmdLaterWaysTexts) {
    if (row.code == code) return row.text;
  }
  return "None";
}

void DecodeAmdCaches(CpuidSource& cpuid, CpuFields& f) {
  CpuidRegisters l1 = cpuid.Query(0x80000005, 0);
  DecodeL1(l1.ecx, f.l1Data, kL1DataWays, f);
  DecodeL1(l1.edx, f.l1Instruction, kL1InstructionWays, f);

  if (f.vendorCode == kVendorAmd && f.family == 6) {
    if (f.model == 3 && f.stepping == 0) {
      f.l2 = 64;
      return;
    }
    if (f.model == 4 && f.stepping <= 1) {
      f.l2 = 256;
      return;
    }
  }
  if (f.highestExtendedLeaf < 0x80000006u) return;

  CpuidRegisters l2 = cpuid.Query(0x80000006, 0);
  f.l2 = static_cast<int32_t>(l2.ecx >> 16);
  // The forced 64 KB belongs to the C3 and C7, whose leaf misreports it; the Nano's leaf
  // gives its real L2.
  if (f.vendorCode == kVendorIdt && f.family == 6 && f.model > 6 && !IsProcessorOfToday(f)) {
    f.l2 = 64;
  }
  uint32_t l2Code = (l2.ecx >> 12) & 0xF;
  f.cacheDetail[kL2Ways] = static_cast<int32_t>(l2Code);
  f.cacheDetail[kL2Line] = static_cast<int32_t>(l2.ecx & 0xFF);
  f.cacheDetailText[kL2Ways] = std::string(AmdWaysText(l2Code));
  f.cacheDetailText[kL2Line] = FormatText("%d", f.cacheDetail[kL2Line]);

  // The L3 of later processors: 512 KB units in EDX, same associativity codes.
  uint32_t l3Units = l2.edx >> 18;
  uint32_t l3Code = (l2.edx >> 12) & 0xF;
  if (l3Units != 0) {
    f.l3 = static_cast<int32_t>(l3Units * 512);
    f.cacheDetail[kL3Ways] = static_cast<int32_t>(l3Code);
    f.cacheDetail[kL3Line] = static_cast<int32_t>(l2.edx & 0xFF);
    f.cacheDetailText[kL3Ways] = std::string(AmdWaysText(l3Code));
    f.cacheDetailText[kL3Line] = FormatText("%d", f.cacheDetail[kL3Line]);
  }

  // The deterministic leaf of later processors: code 9 above defers to it, also where a
  // hypervisor hides the topology extensions flag but answers the leaf.
  bool topologyExtensions = (f.extLeaf1Ecx & (1u << 22)) != 0;
  bool deferred = l2Code == kSeeLeaf8000001D || (l3Units != 0 && l3Code == kSeeLeaf8000001D);
  std::vector<DeterministicCache> caches;
  if ((topologyExtensions || deferred) && f.highestExtendedLeaf >= 0x8000001Du) {
    caches = ReadDeterministicCaches(cpuid, 0x8000001D);
  }
  if (const DeterministicCache* c = FindLevel(caches, 2); c && l2Code == kSeeLeaf8000001D) {
    f.cacheDetailText[kL2Ways] = FormatText("%d", c->ways);
  } else if (l2Code == kSeeLeaf8000001D) {
    // A count the processor does not give is left out, not shown as "None".
    f.cacheDetail[kL2Ways] = 0;
    f.cacheDetailText[kL2Ways].clear();
  }
  // One L3 instance, as the operating system lists it; leaf 0x80000006 counts the package.
  if (const DeterministicCache* c = FindLevel(caches, 3)) {
    f.l3 = c->sizeKb;
    f.cacheDetail[kL3Ways] = c->ways;
    f.cacheDetail[kL3Line] = c->line;
    f.cacheDetailText[kL3Ways] = FormatText("%d", c->ways);
    f.cacheDetailText[kL3Line] = FormatText("%d", c->line);
  } else if (l3Units != 0 && l3Code == kSeeLeaf8000001D) {
    f.cacheDetail[kL3Ways] = 0;
    f.cacheDetailText[kL3Ways].clear();
  }
}

}  // namespace velora
