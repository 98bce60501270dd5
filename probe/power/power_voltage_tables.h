#pragma once
// Voltage codes of the processors whose power state the probe reads and sets.

#include <array>
#include <cstdint>

namespace velora {

// Mobile Athlon and Duron, millivolts by voltage code. Table A is the one command 0x1228 asks
// for (1.850 V down in 25 mV steps); table B has no code 15.
inline constexpr std::array<int32_t, 32> kK7VoltageTableA = {
    1850, 1825, 1800, 1775, 1750, 1725, 1700, 1675, 1650, 1625, 1600,
    1575, 1550, 1525, 1500, 1475, 1450, 1425, 1400, 1375, 1350, 1325,
    1300, 1275, 1250, 1225, 1200, 1175, 1150, 1125, 1100, 0};
inline constexpr std::array<int32_t, 32> kK7VoltageTableB = {
    2000, 1950, 1900, 1850, 1800, 1750, 1700, 1650, 1600, 1550, 1500,
    1450, 1400, 1350, 1300, 0,    1275, 1250, 1225, 1200, 1175, 1150,
    1125, 1100, 1075, 1050, 1025, 1000, 975,  950,  925,  0};

// Pentium 4 with enhanced SpeedStep, tenths of a millivolt by voltage code.
inline constexpr std::array<int32_t, 64> kP4VoltageTable = {
    10875, 10625, 10375, 10125, 9875,  9625,  9375,  9125,  8875,  8625,  8375,  15875, 15625,
    15375, 15125, 14875, 14625, 14375, 14125, 13875, 13625, 13375, 13125, 12875, 12625, 12375,
    12125, 11875, 11625, 11375, 11125, 0,     10750, 10500, 10250, 10000, 9750,  9500,  9250,
    9000,  8750,  7500,  16000, 15750, 15500, 15250, 15000, 14750, 14500, 14250, 14000, 13750,
    13500, 13250, 13000, 12750, 12500, 12250, 12000, 11750, 11500, 11250, 11000, 0};

}  // namespace velora
