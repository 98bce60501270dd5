#pragma once
// The P-state registers of AMD's families 0x10 to 0x16 (K10, Llano, Bobcat, Bulldozer,
// Jaguar) and of Zen: how one definition gives a core clock, which definition is the rated
// one when boosted states come first, and which reference clock the ratios count against.

#include <cstdint>

#include "platform/driver_link.h"

namespace velora {

// What device 0x18 of the northbridge adds to the P-state registers. -1 marks a value whose
// register could not be read.
struct AmdNorthbridgeClocks {
  // Boosted P-states before P0 in the hardware numbering (D18F4x15C NumBoostStates); 0 for a
  // processor without core performance boost.
  int32_t boostedStates = 0;
  // Family 0x12: the offset added to CpuFid, 0x20 with D18F4x15C bit 30 set, else 0x10.
  int32_t llanoFidOffset = 0x10;
  // Family 0x14: the main PLL the core divides, from D18F3xD4.
  double mainPllMhz = -1.0;
};

// Reads what the family needs: the boost control when CPUID 0x80000007 EDX bit 9 (core
// performance boost) is set or the family is 0x12, the main PLL for family 0x14.
AmdNorthbridgeClocks ReadAmdNorthbridgeClocks(DriverLink& driver, int32_t displayFamily,
                                              bool corePerformanceBoost);

// The core clock of one P-state definition (or of the current FID/DID in the COFVID status,
// whose low bits share the layout) in MHz, by display family; -1 for a family whose layout is
// not known here, a reserved divisor code, or a northbridge value it needs that is unknown.
double AmdPStateMhz(int32_t displayFamily, uint32_t low, const AmdNorthbridgeClocks& nb = {});

// Index into the nominal bus table of the reference clock the ratios count against.
int32_t AmdReferenceBusIndex(int32_t displayFamily, int32_t displayModel);

}  // namespace velora
