#pragma once
// Decoding of the identification leaves into the processor record. Pure functions of the
// registers a CpuidSource answers.

#include "platform/cpuid_source.h"
#include "probe/cpu/cpu_fields.h"

namespace velora {

// False for a leaf 0 of zeros in every register: no highest leaf and no vendor, which no
// processor answers. Such a source (a recording that holds nothing) identifies nothing, as if
// there were no CPUID; otherwise its empty vendor would be named from this machine's own view.
bool AnswersLeafZero(CpuidSource& cpuid);

// Leaves 0, 1, 3, 0x80000000/1, the counts, the flag registers of leaves 6, 7, 0xD, 0x80000007
// and 0x80000008, and the Transmeta and Centaur flag leaves.
void DecodeIdentificationLeaves(CpuidSource& cpuid, CpuFields& f);

// Leaves 0x80000002 to 0x80000004 when the highest extended leaf exceeds 0x80000003.
void DecodeBrandString(CpuidSource& cpuid, CpuFields& f);

// AMD leaf 0x80000007: frequency and voltage control both present.
void DecodeAmdPowerLeaf(CpuidSource& cpuid, CpuFields& f);

// The Transmeta leaves 0x80860001 to 0x80860007, as far as the processor has them.
void DecodeTransmetaLeaves(CpuidSource& cpuid, CpuFields& f);

// Power-management booleans and the power-control type they imply.
void DecodePowerManagement(CpuFields& f);

// Text of a register run as the processor wrote it: up to the first NUL, leading blanks
// dropped.
std::string RegisterText(const uint32_t* registers, size_t count);

}  // namespace velora
