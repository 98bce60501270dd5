#pragma once
// The cache leaves 0x80000005 and 0x80000006 that AMD introduced and other vendors followed.

#include <cstdint>
#include <string_view>

#include "platform/cpuid_source.h"
#include "probe/cpu/cpu_fields.h"

namespace velora {

// Text of an L2/L3 associativity code of leaf 0x80000006.
struct AmdWaysRow {
  uint32_t code;
  std::string_view text;
};

inline constexpr AmdWaysRow kAmdL2WaysTexts[] = {
    {1, "Direct Mapped"}, {2, "2"}, {4, "4"}, {6, "8"}, {8, "16"}, {15, "Full"},
};

// Codes of later processors, read as their way counts.
inline constexpr AmdWaysRow kAmdLaterWaysTexts[] = {
    {3, "3"}, {5, "6"}, {10, "32"}, {11, "48"}, {12, "64"}, {13, "96"}, {14, "128"},
};

// "None" for a code in neither table.
std::string_view AmdWaysText(uint32_t code);

// Leaves 0x80000005 and 0x80000006 as far as the highest extended leaf reaches. The L3 comes
// from leaf 0x8000001D (one instance) where the processor has it, else from 0x80000006 EDX.
void DecodeAmdCaches(CpuidSource& cpuid, CpuFields& f);

}  // namespace velora
