#pragma once
// Reading every CPUID leaf a processor answers, the sub-leaves included, for a recording. All
// counts are bounded: a hypervisor may report any highest leaf.

#include <string>
#include <vector>

#include "platform/cpuid_source.h"
#include "platform/processor_affinity.h"
#include "platform/replay/recorded_cpuid.h"

namespace velora {

inline constexpr uint32_t kMostLeavesPerRange = 0x100;
inline constexpr uint32_t kMostSubLeaves = 64;

// The leaves of the processor the calling thread runs on: 0 to the highest basic leaf, the
// hypervisor's range when one answers, and 0x80000000 to the highest extended leaf.
CpuidLeaves ReadProcessorLeaves(CpuidSource& cpuid);

// Every allowed processor in turn, the thread bound to it; the thread's binding is given back
// afterwards. Processors that refuse binding are left out and named in skipped.
CpuidRecording ReadAllProcessors(CpuidSource& cpuid, ProcessorAffinity& affinity,
                                 std::vector<int>& skipped);

}  // namespace velora
