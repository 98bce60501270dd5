#pragma once
// The power-control types that identification sets and the power-state block acts on.

#include <cstdint>

namespace velora {

inline constexpr int32_t kPowerNone = 0;
inline constexpr int32_t kPowerViaBusControl = 1;    // register 0x1147
inline constexpr int32_t kPowerViaPowerControl = 2;  // register 0x110A
inline constexpr int32_t kPowerK6 = 6;               // K6-2+ and K6-III+
inline constexpr int32_t kPowerK7 = 7;               // mobile Athlon and Duron
inline constexpr int32_t kPowerK8 = 8;
inline constexpr int32_t kPowerPentiumM = 86;
inline constexpr int32_t kPowerPentium4 = 87;

}  // namespace velora
