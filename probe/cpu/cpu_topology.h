#pragma once
// Logical processors and cores per package.

#include "platform/cpuid_source.h"
#include "probe/cpu/cpu_fields.h"

namespace velora {

// Needs leaf 1, the signatures and the highest leaves decoded. Sets logical processors per core, cores per
// package, multi-core, and clears Hyper-Threading when one logical processor is left per core.
void DecodeProcessorCounts(CpuidSource& cpuid, CpuFields& f);

struct IntelTopology {
  int32_t cores = 0;           // 0 when the processor has neither leaf
  int32_t threadsPerCore = 0;  // only from leaf 0xB
};

// Cores per package from the topology leaf 0xB or the deterministic cache leaf 4 (EAX bits 26
// to 31 + 1). Intel keeps leaf 0x80000008 ECX reserved, so it needs these.
IntelTopology IntelCoresPerPackage(CpuidSource& cpuid, const CpuFields& f);

// Threads per core of an AMD processor of today: leaf 0x8000001E, else the SMT level of leaf 0xB,
// else 1.
int32_t AmdThreadsPerCore(CpuidSource& cpuid, const CpuFields& f);

// Intel's hybrid flag (leaf 7 EDX bit 15): cores of two kinds, of different SMT widths.
bool IsHybrid(const CpuFields& f);

// Needs the brand string. The published core count of a processor of today whose topology
// leaves, read on one logical processor, cannot tell it; logical processors per core stay the
// SMT width of the processor identified.
void ApplyPublishedCoreCount(CpuFields& f);

}  // namespace velora
