#pragma once
// The P-state registers of AMD's families 0x10 to 0x16 (K10, Llano, Bobcat, Bulldozer,
// Jaguar) and of Zen: how one definition gives a core clock, which definition is the rated
// one when boosted states come first, and which reference clock the ratios count against.

#include <cstdint>

#include "platform/driver_link.h"

namespace velora {

// The core clock of one P-state definition (or of the current FID/DID in the COFVID status,
// whose low bits share the layout) in MHz, by display family; -1 for a family whose layout is
// not known here or a reserved divisor code. Family 0x14 divides its main PLL, so it needs
// that PLL's clock (AmdMainPllMhz) and gives -1 without it.
double AmdPStateMhz(int32_t displayFamily, uint32_t low, double mainPllMhz = -1.0);

// How many boosted P-states stand before P0 in the hardware numbering: 0 when CPUID
// 0x80000007 EDX bit 9 (core performance boost) is clear, the NumBoostStates field of
// D18F4x15C otherwise, -1 when that register cannot be read.
int32_t AmdBoostStateCount(DriverLink& driver, int32_t displayFamily, bool corePerformanceBoost);

// Family 0x14: the main PLL from D18F3xD4 in MHz; -1 when the register cannot be read.
double AmdMainPllMhz(DriverLink& driver);

// Index into the nominal bus table of the reference clock the ratios count against.
int32_t AmdReferenceBusIndex(int32_t displayFamily, int32_t displayModel);

}  // namespace velora
