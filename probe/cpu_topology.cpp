#include "probe/cpu_topology.h"

#include "probe/cpu_era.h"

namespace velora {

int32_t IntelCoresPerPackage(CpuidSource& cpuid, const CpuFields& f) {
  if (f.highestStandardLeaf >= 0xB) {
    // Level types: 1 SMT, 2 core. Some VMs report an empty topology leaf; check before dividing.
    CpuidRegisters smt = cpuid.Query(0xB, 0);
    CpuidRegisters core = cpuid.Query(0xB, 1);
    uint32_t threads = smt.ebx & 0xFFFF;
    uint32_t logical = core.ebx & 0xFFFF;
    if (((smt.ecx >> 8) & 0xFF) == 1 && ((core.ecx >> 8) & 0xFF) == 2 && threads > 0 &&
        logical >= threads) {
      return static_cast<int32_t>(logical / threads);
    }
  }
  if (f.highestStandardLeaf >= 4) {
    CpuidRegisters r = cpuid.Query(4, 0);
    if ((r.eax & 0x1F) != 0) return static_cast<int32_t>((r.eax >> 26) + 1);
  }
  return 0;
}

int32_t AmdThreadsPerCore(CpuidSource& cpuid, const CpuFields& f) {
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
  if (intel) {
    int32_t fromLeaves = IntelCoresPerPackage(cpuid, f);
    if (fromLeaves > 0) cores = fromLeaves;
  }
  // On AMD processors of today leaf 0x80000008 counts threads, not cores.
  bool amdOfToday = f.vendorCode == kVendorAmd && IsProcessorOfToday(f);
  int32_t threadsPerCore = amdOfToday ? AmdThreadsPerCore(cpuid, f) : 1;
  if (amdOfToday && threadsPerCore > 1) cores = cores / threadsPerCore > 0 ? cores / threadsPerCore : 1;
  f.coresPerPackage = cores;
  if (cores >= 2) {
    f.multiCore = 1;
    logical /= cores;
  }
  if (amdOfToday) logical = threadsPerCore;
  f.logicalPerCore = logical;
  if (logical <= 1) f.hyperThreading = 0;
}

}  // namespace velora
