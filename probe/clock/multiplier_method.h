#pragma once
// Multiplier-register layouts beyond the classic ones (1 to 24), for processors of today. The
// naming tables choose one; the clock step decodes it.

#include <cstdint>

namespace velora {

// Intel with platform-info ratios: MSR 0xCE bits 8 to 15 the base ratio, 0x198 bits 8 to 15
// the current one, bus 100 MHz.
inline constexpr int32_t kMethodIntelRatioRegisters = 30;
// AMD and Hygon family 0x10 and later: the P-state registers from 0xC0010064 on.
inline constexpr int32_t kMethodAmdPStateRegisters = 31;

}  // namespace velora
