#pragma once
// The instruction-set extensions a processor has, by the names reports list them under: read
// from the flag registers the probe keeps, in a fixed order from the oldest to the newest.

#include <cstdint>
#include <string>
#include <vector>

#include "probe/probe_object.h"

namespace velora {

struct CpuFlagRegisters {
  uint32_t leaf1Ecx = 0, extLeaf1Ecx = 0, leaf7Ebx = 0, leaf7Sub1Eax = 0;
};

// "SSSE3", "SSE4.1", "SSE4.2", "SSE4A", "AES", "AVX", "FMA3", "FMA4", "AVX2", "AVX-512", "SHA",
// "AVX-VNNI", as far as the registers set them.
std::vector<std::string> InstructionExtensions(const CpuFlagRegisters& flags);

// The registers as the probe answers them; a register it cannot answer has no bit set.
CpuFlagRegisters ReadCpuFlagRegisters(ProbeObject& probe);

}  // namespace velora
