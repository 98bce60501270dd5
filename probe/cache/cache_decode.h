#pragma once
// Cache sizes, ways and line sizes, and the speed of the L2 against the core.

#include "platform/cpuid_source.h"
#include "probe/cpu/cpu_fields.h"

namespace velora {

// Needs the identification leaves decoded. Intel: leaf 2, and leaf 4 where leaf 2 defers to it
// or names no L2; every other vendor: the leaves from 0x80000005 on.
void DecodeCaches(CpuidSource& cpuid, CpuFields& f);

// From the second clock register (early Athlon) or the naming's half-speed flag.
void DecodeL2SpeedRatio(CpuFields& f);

}  // namespace velora
