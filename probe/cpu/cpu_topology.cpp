#include "probe/cpu/cpu_topology.h"

#include "probe/cpu/cpu_brand_clean.h"
#include "probe/cpu/cpu_era.h"
#include "probe/cpu/cpu_today_cores.h"

namespace velora {

IntelTopology IntelCoresPerPackage(CpuidSource& cpuid, const CpuFields& f) {
  if (f.highestStandardLeaf >= 0xB) {
    // Level types: 1 SMT, 2 core. Some VMs report an empty topology leaf; check before dividing.
    CpuidRegisters smt = cpuid.Query(0xB, 0);
    CpuidRegisters core = cpuid.Query(0xB, 1);
    uint32_t threads = smt.ebx & 0xFFFF;
    uint32_t logical = core.ebx & 0xFFFF;
    if (((smt.ecx >> 8) & 0xFF) == 1 && ((core.ecx >> 8) & 0xFF) == 2 && threads > 0 &&
        logical >= threads) {
      return {static_cast<int32_t>(logical / threads), static_cast<int32_t>(threads)};
    }
  }
  if (f.highestStandardLeaf >= 4) {
    CpuidRegisters r = cpuid.Query(4, 0);
    if ((r.eax & 0x1F) != 0) return {static_cast<int32_t>((r.eax >> 26) + 1), 0};
  }
  return {0, 0};
}

int32_t AmdThreadsPerCore(CpuidSource& cpuid, const CpuFields& f) {
  // Family 15h's leaf 0x8000001E counts the cores of a compute unit, which are whole cores,
  // not threads: leaf 0x80000008 already counts them.
  if (DisplayFamily(f.leaf1Eax) == 0x15) return 1;
  bool topologyExtensions = (f.extLeaf1Ecx & (1u << 22)) != 0;
  if (topologyExtensions && f.highestExtendedLeaf >= 0x8000001Eu) {
    uint32_t ebx = cpuid.Query(0x8000001E, 0).ebx;
    if (ebx != 0) return static_cast<int32_t>(((ebx >> 8) & 0xFF) + 1);
  }
  if (f.highestStandardLeaf >= 0xB) {
    CpuidRegisters smt = cpuid.Query(0xB, 0);
    if (((smt.ecx >> 8) & 0xFF) == 1 && (smt.ebx & 0xFFFF) != 0) {
      return static_cast<int32_t>(smt.ebx & 0xFFFF);
    }
  }
  return 1;
}

void DecodeProcessorCounts(CpuidSource& cpuid, CpuFields& f) {
  bool intel = f.vendorCode == kVendorIntel;
  int32_t logical = 0;
  if (intel && (f.leaf1Edx & (1u << 28)) != 0) {
    logical = static_cast<int32_t>((f.leaf1Ebx >> 16) & 0xFF);
  }
  int32_t cores = 1;
  if (f.highestExtendedLeaf >= 0x80000008u) {
    cores = static_cast<int32_t>(cpuid.Query(0x80000008, 0).ecx & 0xFF) + 1;
  }
  // Centaur's and Zhaoxin's processors of today have Intel's topology leaves.
  bool centaurOfToday =
      (f.vendorCode == kVendorIdt || f.vendorCode == kVendorZhaoxin) && IsProcessorOfToday(f);
  IntelTopology topology;
  if (intel || centaurOfToday) {
    topology = IntelCoresPerPackage(cpuid, f);
    if (topology.cores > 0) cores = topology.cores;
  }
  // On AMD processors of today leaf 0x80000008 counts threads, not cores.
  bool amdOfToday =
      (f.vendorCode == kVendorAmd || f.vendorCode == kVendorHygon) && IsProcessorOfToday(f);
  int32_t threadsPerCore = amdOfToday ? AmdThreadsPerCore(cpuid, f) : 1;
  if (amdOfToday && threadsPerCore > 1) cores = cores / threadsPerCore > 0 ? cores / threadsPerCore : 1;
  f.coresPerPackage = cores;
  if (cores >= 2) {
    f.multiCore = 1;
    logical /= cores;
  }
  if (amdOfToday) logical = threadsPerCore;
  // Leaf 1 counts addressable identifiers, as leaf 4 does, so their quotient holds; against the
  // real core count of leaf 0xB only its own thread count does.
  if (topology.threadsPerCore > 0 && logical > 0) logical = topology.threadsPerCore;
  if (IsProcessorOfToday(f)) {
    // Simultaneous multithreading is more than one thread per core, whatever leaf 1 EDX bit 28
    // says: it only tells that the package may hold several logical processors, cores included.
    // One thread per core reads as none, as the classic rule answers for AMD's bit 28.
    f.logicalPerCore = logical > 1 ? logical : 0;
    f.hyperThreading = logical > 1 ? 1 : 0;
    return;
  }
  f.logicalPerCore = logical;
  if (logical <= 1) f.hyperThreading = 0;
}

bool IsHybrid(const CpuFields& f) {
  return f.vendorCode == kVendorIntel && (f.leaf7Edx & (1u << 15)) != 0;
}

void ApplyPublishedCoreCount(CpuFields& f) {
  if (!IsProcessorOfToday(f)) return;
  if (!IsHybrid(f) && f.vendorCode != kVendorIdt) return;
  const CoreCountRow* row =
      FindPublishedCoreCount(kPublishedCoreCounts, f.vendorCode, DisplayFamily(f.leaf1Eax),
                             DisplayModel(f.leaf1Eax), CleanBrandString(f.brandString));
  if (row == nullptr) return;
  f.coresPerPackage = row->performanceCores + row->efficientCores;
  f.multiCore = f.coresPerPackage >= 2 ? 1 : 0;
}

}  // namespace velora
