#pragma once
// Counting the cores of a package by reading the topology leaf on every logical processor:
// the only way to count a hybrid's cores, whose SMT width differs from core to core.

#include <cstdint>

#include "platform/cpuid_source.h"

namespace velora {

// Pins the calling thread to each of the first `processors` logical processors (at most 32)
// in turn and counts the distinct cores in the package of processor `selected`. Returns 0
// when the walk cannot tell: no topology leaf, a processor that cannot be pinned to, or
// x2APIC identifiers that repeat (one recorded processor replayed for all).
int32_t CountCoresByWalking(CpuidSource& cpuid, uint32_t highestStandardLeaf, int32_t processors,
                            int32_t selected);

}  // namespace velora
