#pragma once
// AMD and Hygon processors of today by display family and model (family 0x10 on). The code
// name is the core, then the die: "Zen 4 Raphael", "K10 Deneb". All of them carry the P-state
// registers. Rows with a name condition come before the row of their model that has none.

#include "probe/cpu/cpu_today_row.h"

namespace velora {

// clang-format off
inline constexpr TodayRow kAmdRowsOfToday[] = {
    // K10 and its derivatives.
    {0x10, 0x02, 0x02, 0, 15, "Opteron 13", "", "K10 Budapest", "Socket AM2+", "0.065", kAmdPState},
    {0x10, 0x02, 0x02, 0, 15, "Opteron", "", "K10 Barcelona", "Socket F", "0.065", kAmdPState},
    {0x10, 0x02, 0x02, 0, 15, "Athlon", "", "K10 Kuma", "Socket AM2+", "0.065", kAmdPState},
    {0x10, 0x02, 0x02, 0, 15, "Phenom 8", "", "K10 Toliman", "Socket AM2+", "0.065", kAmdPState},
    {0x10, 0x02, 0x02, 0, 15, "", "", "K10 Agena", "Socket AM2+", "0.065", kAmdPState},
    {0x10, 0x04, 0x04, 0, 15, "Opteron 13", "", "K10 Suzuka", "Socket AM3", "0.045", kAmdPState},
    {0x10, 0x04, 0x04, 0, 15, "Opteron", "", "K10 Shanghai", "Socket F", "0.045", kAmdPState},
    {0x10, 0x04, 0x04, 0, 15, "X4 920", "", "K10 Deneb", "Socket AM2+", "0.045", kAmdPState},
    {0x10, 0x04, 0x04, 0, 15, "X4 940", "", "K10 Deneb", "Socket AM2+", "0.045", kAmdPState},
    {0x10, 0x04, 0x04, 0, 15, "Phenom II X2", "", "K10 Callisto", "Socket AM3", "0.045", kAmdPState},
    {0x10, 0x04, 0x04, 0, 15, "Phenom II X3", "", "K10 Heka", "Socket AM3", "0.045", kAmdPState},
    {0x10, 0x04, 0x04, 0, 15, "", "", "K10 Deneb", "Socket AM3", "0.045", kAmdPState},
    {0x10, 0x05, 0x05, 0, 15, "X3", "", "K10 Rana", "Socket AM3", "0.045", kAmdPState},
    {0x10, 0x05, 0x05, 0, 15, "", "", "K10 Propus", "Socket AM3", "0.045", kAmdPState},
    {0x10, 0x06, 0x06, 0, 15, "Sempron", "", "K10 Sargas", "Socket AM3", "0.045", kAmdPState},
    {0x10, 0x06, 0x06, 0, 15, "Turion", "", "K10 Caspian", "Socket S1g3", "0.045", kAmdPState},
    {0x10, 0x06, 0x06, 0, 15, "", "", "K10 Regor", "Socket AM3", "0.045", kAmdPState},
    {0x10, 0x08, 0x08, 0, 15, "Opteron 41", "", "K10 Lisbon", "Socket C32", "0.045", kAmdPState},
    {0x10, 0x08, 0x08, 0, 15, "", "", "K10 Istanbul", "Socket F", "0.045", kAmdPState},
    {0x10, 0x09, 0x09, 0, 15, "", "", "K10 Magny-Cours", "Socket G34", "0.045", kAmdPState},
    {0x10, 0x0A, 0x0A, 0, 15, "Phenom II X4", "", "K10 Zosma", "Socket AM3", "0.045", kAmdPState},
    {0x10, 0x0A, 0x0A, 0, 15, "", "", "K10 Thuban", "Socket AM3", "0.045", kAmdPState},
    {0x11, 0x03, 0x03, 0, 15, "", "", "K8 Griffin", "Socket S1g2", "0.065", kAmdPState},
    {0x12, 0x01, 0x01, 0, 15, "", "M APU", "K10 Llano", "Socket FS1", "0.032", kAmdPState},
    {0x12, 0x01, 0x01, 0, 15, "", "", "K10 Llano", "Socket FM1", "0.032", kAmdPState},
    // Bobcat, Jaguar, Puma.
    {0x14, 0x01, 0x02, 0, 15, "C-", "", "Bobcat Ontario", "FT1", "0.040", kAmdPState},
    {0x14, 0x01, 0x02, 0, 15, "", "", "Bobcat Zacate", "FT1", "0.040", kAmdPState},
    {0x16, 0x00, 0x0F, 0, 15, "Athlon", "", "Jaguar Kabini", "Socket AM1", "0.028", kAmdPState},
    {0x16, 0x00, 0x0F, 0, 15, "Sempron", "", "Jaguar Kabini", "Socket AM1", "0.028", kAmdPState},
    {0x16, 0x00, 0x0F, 0, 15, "A4-1", "", "Jaguar Temash", "FT3", "0.028", kAmdPState},
    {0x16, 0x00, 0x0F, 0, 15, "A6-1", "", "Jaguar Temash", "FT3", "0.028", kAmdPState},
    {0x16, 0x00, 0x0F, 0, 15, "", "", "Jaguar Kabini", "FT3", "0.028", kAmdPState},
    {0x16, 0x30, 0x3F, 0, 15, "Micro", "", "Puma Mullins", "FT3b", "0.028", kAmdPState},
    {0x16, 0x30, 0x3F, 0, 15, "GX-", "", "Puma Steppe Eagle", "FT3b", "0.028", kAmdPState},
    {0x16, 0x30, 0x3F, 0, 15, "", "", "Puma Beema", "FT3b", "0.028", kAmdPState},
    // Bulldozer and its successors.
    {0x15, 0x01, 0x01, 0, 15, "Opteron 62", "", "Bulldozer Interlagos", "Socket G34", "0.032", kAmdPState},
    {0x15, 0x01, 0x01, 0, 15, "Opteron 42", "", "Bulldozer Valencia", "Socket C32", "0.032", kAmdPState},
    {0x15, 0x01, 0x01, 0, 15, "Opteron 32", "", "Bulldozer Zurich", "Socket AM3+", "0.032", kAmdPState},
    {0x15, 0x01, 0x01, 0, 15, "", "", "Bulldozer Zambezi", "Socket AM3+", "0.032", kAmdPState},
    {0x15, 0x02, 0x02, 0, 15, "Opteron 63", "", "Piledriver Abu Dhabi", "Socket G34", "0.032", kAmdPState},
    {0x15, 0x02, 0x02, 0, 15, "Opteron 43", "", "Piledriver Seoul", "Socket C32", "0.032", kAmdPState},
    {0x15, 0x02, 0x02, 0, 15, "Opteron 33", "", "Piledriver Delhi", "Socket AM3+", "0.032", kAmdPState},
    {0x15, 0x02, 0x02, 0, 15, "", "", "Piledriver Vishera", "Socket AM3+", "0.032", kAmdPState},
    {0x15, 0x10, 0x10, 0, 15, "", "M", "Piledriver Trinity", "Socket FS1r2", "0.032", kAmdPState},
    {0x15, 0x10, 0x10, 0, 15, "", "", "Piledriver Trinity", "Socket FM2", "0.032", kAmdPState},
    {0x15, 0x13, 0x13, 0, 15, "", "M", "Piledriver Richland", "Socket FS1r2", "0.032", kAmdPState},
    {0x15, 0x13, 0x13, 0, 15, "", "", "Piledriver Richland", "Socket FM2", "0.032", kAmdPState},
    {0x15, 0x30, 0x30, 0, 15, "RX-", "", "Steamroller Kaveri", "FP3", "0.028", kAmdPState},
    {0x15, 0x30, 0x30, 0, 15, "", "B", "Steamroller Kaveri", "FP3", "0.028", kAmdPState},
    {0x15, 0x30, 0x30, 0, 15, "", "P", "Steamroller Kaveri", "FP3", "0.028", kAmdPState},
    {0x15, 0x30, 0x30, 0, 15, "", "M", "Steamroller Kaveri", "FP3", "0.028", kAmdPState},
    {0x15, 0x30, 0x30, 0, 15, "", "", "Steamroller Kaveri", "Socket FM2+", "0.028", kAmdPState},
    {0x15, 0x38, 0x38, 0, 15, "", "", "Steamroller Godavari", "Socket FM2+", "0.028", kAmdPState},
    {0x15, 0x60, 0x60, 0, 15, "", "", "Excavator Carrizo", "FP4", "0.028", kAmdPState},
    {0x15, 0x65, 0x65, 0, 15, "", "P", "Excavator Bristol Ridge", "FP4", "0.028", kAmdPState},
    {0x15, 0x65, 0x65, 0, 15, "", "", "Excavator Bristol Ridge", "Socket AM4", "0.028", kAmdPState},
    {0x15, 0x70, 0x70, 0, 15, "", "", "Excavator Stoney Ridge", "FP4", "0.028", kAmdPState},
    // Zen, Zen+, Zen 2. Desktop APUs end in G or GE; the same dies without it are soldered.
    {0x17, 0x01, 0x01, 0, 15, "EPYC", "", "Zen Naples", "Socket SP3", "0.014", kAmdPState},
    {0x17, 0x01, 0x01, 0, 15, "Threadripper", "", "Zen Whitehaven", "Socket TR4", "0.014", kAmdPState},
    {0x17, 0x01, 0x01, 0, 15, "", "", "Zen Summit Ridge", "Socket AM4", "0.014", kAmdPState},
    {0x17, 0x08, 0x08, 0, 15, "Threadripper", "", "Zen+ Colfax", "Socket TR4", "0.012", kAmdPState},
    {0x17, 0x08, 0x08, 0, 15, "", "", "Zen+ Pinnacle Ridge", "Socket AM4", "0.012", kAmdPState},
    {0x17, 0x11, 0x11, 0, 15, "", "G", "Zen Raven Ridge", "Socket AM4", "0.014", kAmdPState},
    {0x17, 0x11, 0x11, 0, 15, "", "GE", "Zen Raven Ridge", "Socket AM4", "0.014", kAmdPState},
    {0x17, 0x11, 0x11, 0, 15, "", "", "Zen Raven Ridge", "FP5", "0.014", kAmdPState},
    {0x17, 0x18, 0x18, 0, 15, "", "G", "Zen+ Picasso", "Socket AM4", "0.012", kAmdPState},
    {0x17, 0x18, 0x18, 0, 15, "", "GE", "Zen+ Picasso", "Socket AM4", "0.012", kAmdPState},
    {0x17, 0x18, 0x18, 0, 15, "", "", "Zen+ Picasso", "FP5", "0.012", kAmdPState},
    {0x17, 0x20, 0x20, 0, 15, "", "G", "Zen Dali", "Socket AM4", "0.014", kAmdPState},
    {0x17, 0x20, 0x20, 0, 15, "", "GE", "Zen Dali", "Socket AM4", "0.014", kAmdPState},
    {0x17, 0x20, 0x20, 0, 15, "", "", "Zen Dali", "FP5", "0.014", kAmdPState},
    {0x17, 0x31, 0x31, 0, 15, "EPYC", "", "Zen 2 Rome", "Socket SP3", "0.007", kAmdPState},
    {0x17, 0x31, 0x31, 0, 15, "Threadripper PRO", "", "Zen 2 Castle Peak", "Socket sWRX8", "0.007", kAmdPState},
    {0x17, 0x31, 0x31, 0, 15, "", "", "Zen 2 Castle Peak", "Socket sTRX4", "0.007", kAmdPState},
    {0x17, 0x47, 0x47, 0, 15, "", "", "Zen 2", "", "0.007", kAmdPState},
    {0x17, 0x60, 0x60, 0, 15, "", "G", "Zen 2 Renoir", "Socket AM4", "0.007", kAmdPState},
    {0x17, 0x60, 0x60, 0, 15, "", "GE", "Zen 2 Renoir", "Socket AM4", "0.007", kAmdPState},
    {0x17, 0x60, 0x60, 0, 15, "", "", "Zen 2 Renoir", "FP6", "0.007", kAmdPState},
    {0x17, 0x68, 0x68, 0, 15, "", "", "Zen 2 Lucienne", "FP6", "0.007", kAmdPState},
    {0x17, 0x71, 0x71, 0, 15, "", "", "Zen 2 Matisse", "Socket AM4", "0.007", kAmdPState},
    {0x17, 0x84, 0x84, 0, 15, "", "", "Zen 2", "", "0.007", kAmdPState},
    // The semi-custom APUs of Valve's handheld name themselves "AMD Custom APU" and a number:
    // 0405 is Van Gogh (the Aerith design, 7 nm), 0932 its 6 nm shrink Sephiroth.
    {0x17, 0x90, 0x90, 0, 15, "Custom APU", "", "Zen 2 Aerith", "", "0.007", kAmdPState},
    {0x17, 0x90, 0x90, 0, 15, "", "", "Zen 2 Van Gogh", "", "0.007", kAmdPState},
    {0x17, 0x91, 0x91, 0, 15, "", "", "Zen 2 Sephiroth", "", "0.006", kAmdPState},
    {0x17, 0xA0, 0xA0, 0, 15, "", "", "Zen 2 Mendocino", "FT6", "0.006", kAmdPState},
    // Zen 3, Zen 3+, Zen 4.
    {0x19, 0x00, 0x01, 0, 15, "", "", "Zen 3 Milan", "Socket SP3", "0.007", kAmdPState},
    {0x19, 0x08, 0x08, 0, 15, "", "", "Zen 3 Chagall", "Socket sWRX8", "0.007", kAmdPState},
    {0x19, 0x10, 0x11, 0, 15, "", "", "Zen 4 Genoa", "Socket SP5", "0.005", kAmdPState},
    {0x19, 0x18, 0x18, 0, 15, "", "", "Zen 4 Storm Peak", "Socket sTR5", "0.005", kAmdPState},
    {0x19, 0x21, 0x21, 0, 15, "", "", "Zen 3 Vermeer", "Socket AM4", "0.007", kAmdPState},
    {0x19, 0x40, 0x44, 0, 15, "", "", "Zen 3+ Rembrandt", "FP7", "0.006", kAmdPState},
    {0x19, 0x50, 0x50, 0, 15, "", "G", "Zen 3 Cezanne", "Socket AM4", "0.007", kAmdPState},
    {0x19, 0x50, 0x50, 0, 15, "", "GE", "Zen 3 Cezanne", "Socket AM4", "0.007", kAmdPState},
    {0x19, 0x50, 0x50, 0, 15, "", "25U", "Zen 3 Barcelo", "FP6", "0.007", kAmdPState},
    {0x19, 0x50, 0x50, 0, 15, "", "30U", "Zen 3 Barcelo", "FP6", "0.007", kAmdPState},
    {0x19, 0x50, 0x50, 0, 15, "", "", "Zen 3 Cezanne", "FP6", "0.007", kAmdPState},
    {0x19, 0x61, 0x61, 0, 15, "", "HX", "Zen 4 Dragon Range", "FL1", "0.005", kAmdPState},
    {0x19, 0x61, 0x61, 0, 15, "", "HX3D", "Zen 4 Dragon Range", "FL1", "0.005", kAmdPState},
    {0x19, 0x61, 0x61, 0, 15, "", "", "Zen 4 Raphael", "Socket AM5", "0.005", kAmdPState},
    {0x19, 0x74, 0x74, 0, 15, "", "", "Zen 4 Phoenix", "", "0.004", kAmdPState},
    {0x19, 0x75, 0x75, 0, 15, "", "G", "Zen 4 Phoenix", "Socket AM5", "0.004", kAmdPState},
    {0x19, 0x75, 0x75, 0, 15, "", "GE", "Zen 4 Phoenix", "Socket AM5", "0.004", kAmdPState},
    {0x19, 0x75, 0x75, 0, 15, "", "", "Zen 4 Hawk Point", "", "0.004", kAmdPState},
    {0x19, 0x78, 0x78, 0, 15, "", "", "Zen 4 Phoenix 2", "", "0.004", kAmdPState},
    {0x19, 0xA0, 0xAF, 0, 15, "EPYC 8", "", "Zen 4c Siena", "Socket SP6", "0.005", kAmdPState},
    {0x19, 0xA0, 0xAF, 0, 15, "", "", "Zen 4c Bergamo", "Socket SP5", "0.005", kAmdPState},
    // Zen 5. Turin's Zen 5 chiplets are made in 4 nm, the Zen 5c chiplets of Turin Dense
    // (models 10h on) in 3 nm.
    {0x1A, 0x00, 0x0F, 0, 15, "", "", "Zen 5 Turin", "Socket SP5", "0.004", kAmdPState},
    {0x1A, 0x10, 0x1F, 0, 15, "", "", "Zen 5c Turin Dense", "Socket SP5", "0.003", kAmdPState},
    {0x1A, 0x20, 0x2F, 0, 15, "", "", "Zen 5 Strix Point", "FP8", "0.004", kAmdPState},
    {0x1A, 0x40, 0x4F, 0, 15, "", "HX", "Zen 5 Fire Range", "FL1", "0.004", kAmdPState},
    {0x1A, 0x40, 0x4F, 0, 15, "", "HX3D", "Zen 5 Fire Range", "FL1", "0.004", kAmdPState},
    {0x1A, 0x40, 0x4F, 0, 15, "", "", "Zen 5 Granite Ridge", "Socket AM5", "0.004", kAmdPState},
    {0x1A, 0x60, 0x6F, 0, 15, "", "", "Zen 5 Krackan Point", "FP8", "0.004", kAmdPState},
    {0x1A, 0x70, 0x7F, 0, 15, "", "", "Zen 5 Strix Halo", "FP11", "0.004", kAmdPState},
};

// Hygon's Zen licence.
inline constexpr TodayRow kHygonRowsOfToday[] = {
    {0x18, 0x00, 0x0F, 0, 15, "", "", "Zen Dhyana", "", "0.014", kAmdPState},
};
// clang-format on

}  // namespace velora
