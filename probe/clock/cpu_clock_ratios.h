#pragma once
// Multiplier tables of the clock registers (each entry is twice the multiplier, so 11 means
// 5.5) and the nominal bus clocks the registers select.

#include <array>
#include <cstdint>

namespace velora {

using RatioTable16 = std::array<uint8_t, 16>;
using RatioTable32 = std::array<uint8_t, 32>;

// Pentium Pro to Pentium III.
inline constexpr RatioTable16 kRatioP6A = {10, 6, 8, 4, 11, 7, 9, 5, 7, 14, 16, 12, 4, 15, 3, 13};
inline constexpr RatioTable32 kRatioP6B = {10, 6, 8, 4, 11, 7, 9, 5, 7, 14, 16, 12, 4, 15, 3, 13,
                                           18, 22, 24, 4, 19, 23, 17, 5, 7, 14, 16, 20, 4, 15, 3, 21};
inline constexpr RatioTable32 kRatioP6C = {10, 6, 8, 4, 11, 7, 9, 5, 32, 14, 16, 12, 4, 15, 3, 13,
                                           18, 22, 24, 4, 19, 23, 17, 5, 7, 14, 26, 20, 28, 15, 30, 21};
// Pentium 4 (Willamette).
inline constexpr RatioTable16 kRatioP4A = {32, 34, 36, 38, 40, 42, 44, 46,
                                           48, 50, 52, 54, 24, 26, 28, 30};
// K6-2 and K6-III, and the K6-2+ and K6-III+.
inline constexpr RatioTable16 kRatioK6A = {9, 10, 8, 11, 5, 6, 12, 7, 9, 10, 8, 11, 4, 6, 12, 7};
inline constexpr RatioTable16 kRatioK6B = {9, 10, 8, 11, 4, 6, 12, 7, 4, 5, 7, 2, 0, 1, 3, 6};
// Athlon and Duron: the strapped ratio, and the frequency codes of the mobile parts.
inline constexpr RatioTable32 kRatioK7A = {22, 23, 24, 25, 10, 11, 12, 13, 14, 15, 16,
                                           17, 18, 19, 20, 21, 50, 38, 52, 40, 26, 27,
                                           28, 42, 30, 44, 32, 33, 34, 36, 46, 48};
inline constexpr RatioTable32 kRatioK7B = {22, 23, 24, 25, 10, 11, 12, 13, 14, 15, 16,
                                           17, 18, 19, 20, 21, 6, 38, 8, 40, 26, 27,
                                           28, 42, 30, 44, 32, 33, 34, 36, 46, 48};
// Cyrix and IDT.
inline constexpr RatioTable32 kRatioCX = {10, 6, 8, 20, 11, 7, 9, 19, 18, 14, 16,
                                          12, 24, 15, 17, 13, 18, 22, 24, 20, 27, 23,
                                          25, 21, 26, 30, 32, 28, 24, 31, 26, 29};

// Nominal bus clocks in units of 10 Hz, by bus index.
inline constexpr std::array<int32_t, 8> kNominalBus10Hz = {
    6666666,   // 0: 66.67 MHz
    13333333,  // 1: 133.33 MHz
    10000000,  // 2: 100 MHz
    16666666,  // 3: 166.67 MHz
    20000000,  // 4: 200 MHz
    23333333,  // 5: 233.33 MHz
    26666666,  // 6: 266.67 MHz
    0,         // 7: unknown
};

inline constexpr int32_t kBusIndex66 = 0;
inline constexpr int32_t kBusIndex133 = 1;
inline constexpr int32_t kBusIndex100 = 2;
inline constexpr int32_t kBusIndex166 = 3;
inline constexpr int32_t kBusIndex200 = 4;
inline constexpr int32_t kBusIndex266 = 6;
inline constexpr int32_t kBusIndexUnknown = 7;

// The multiplier of a table entry.
constexpr double RatioOf(uint8_t twice) { return twice * 0.5; }

// The nominal bus clock in MHz of an index; 0 for an index outside the table.
constexpr double NominalBusMhz(int32_t index) {
  return index >= 0 && index < static_cast<int32_t>(kNominalBus10Hz.size())
             ? kNominalBus10Hz[static_cast<size_t>(index)] * 0.00001
             : 0.0;
}

}  // namespace velora
