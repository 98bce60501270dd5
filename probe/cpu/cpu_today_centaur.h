#pragma once
// Centaur's processors after the C7 and Zhaoxin's, which report either Centaur's vendor string
// or their own. None has a multiplier register the clock step decodes.

#include "probe/cpu/cpu_today_row.h"

namespace velora {

// clang-format off
inline constexpr TodayRow kCentaurRowsOfToday[] = {
    {6, 0x0F, 0x0F, 0, 15, "KaiXian", "", "ZhangJiang", "", "0.028", kNoRatio},
    {6, 0x0F, 0x0F, 0, 15, "ZX-C", "", "ZhangJiang", "", "0.028", kNoRatio},
    // Every Isaiah part, single, dual or quad core, sits in the same 21 mm nanoBGA2 package.
    {6, 0x0F, 0x0F, 0, 15, "Eden X4", "", "Isaiah", "nanoBGA2", "0.028", kNoRatio},
    {6, 0x0F, 0x0F, 0, 15, "QuadCore", "", "Isaiah", "nanoBGA2", "0.040", kNoRatio},
    {6, 0x0F, 0x0F, 0, 15, "Nano X2", "", "Isaiah", "nanoBGA2", "0.040", kNoRatio},
    {6, 0x0F, 0x0F, 0, 15, "Nano L", "", "Isaiah", "nanoBGA2", "0.065", kNoRatio},
    {6, 0x0F, 0x0F, 0, 15, "Nano U", "", "Isaiah", "nanoBGA2", "0.065", kNoRatio},
    {6, 0x0F, 0x0F, 0, 15, "Nano", "", "Isaiah", "nanoBGA2", "", kNoRatio},
    {6, 0x0F, 0x0F, 0, 15, "", "", "Isaiah", "", "", kNoRatio},
    {7, 0x1B, 0x1B, 0, 15, "", "", "WuDaoKou", "", "0.028", kNoRatio},
    {7, 0x3B, 0x3B, 0, 15, "", "", "LuJiaZui", "", "0.016", kNoRatio},
    {7, 0x5B, 0x5B, 0, 15, "", "", "YongFeng", "", "0.016", kNoRatio},
};
// clang-format on

}  // namespace velora
