// Cyrix, IDT/Centaur and the VIA processors that followed them.

#include "probe/cpu/cpu_naming_rows.h"

namespace velora {

namespace {

bool Idt(const CpuFields& f) { return f.vendorCode == kVendorIdt; }
bool Cyrix(const CpuFields& f) { return f.vendorCode == kVendorCyrix; }
bool Esther(const CpuFields& f) { return f.family > 6 || (f.family == 6 && f.model > 9); }

// clang-format off
constexpr NamingRow kCyrixIdtRows[] = {
    // family, models, condition, name, platform, process, method, power, flags, L1 I, D, unified
    {kAnyFamily, 0, kTopModel, Esther, "C7 (Esther)", "Socket 400?", "0.09", 0, 0, kViaShortName},
    {5, 9, 9, Idt, "WinChip 3", "Socket 7", "0.25"},
    {5, 9, 9, Cyrix, "Geode", "", ""},
    {5, 8, 8, Idt, "WinChip 2", "Socket 7", "0.35"},
    {5, 4, 4, Idt, "WinChip C6", "Socket 7", "0.35", 0, 0, 0, 32, 32},
    {5, 4, 4, Cyrix, "MediaGX", "", "", 0, 0, 0, 0, 0, 16},
    {5, 2, 2, Cyrix, "6x86 (M I)", "Socket 5/7", "0.35/0.65", 0, 0, 0, 0, 0, 16},
    {6, 0, 0, [](const CpuFields& f) { return f.stepping == 0; }, "6x86MX (M II)", "Socket 7", "0.35", 0, 0, 0, 0, 0, 64},
    {6, 0, 0, nullptr, "6x86MX (M II)", "Socket 7", "0.30", 0, 0, 0, 0, 0, 64},
    {6, 5, 5, [](const CpuFields& f) { return f.stepping == 1; }, "6x86MX (M II)", "Socket 7", "0.18/0.25", 20, 0, kViaShortName},
    {6, 5, 5, nullptr, "Cyrix III (Joshua)", "Socket 370", "0.18", 20, 0, kViaShortName},
    {6, 6, 6, nullptr, "Cyrix III (Samuel)", "Socket 370", "0.18", 20, 1, kViaShortName},
    {6, 7, 7, [](const CpuFields& f) { return f.stepping > 7; }, "C3 (Ezra)", "Socket 370", "0.13", 22, 1, kViaShortName},
    {6, 7, 7, [](const CpuFields& f) { return f.stepping > 0; }, "C3 (Samuel 2)", "Socket 370", "0.15", 21, 1, kViaShortName},
    {6, 7, 7, nullptr, "C3 (Samuel 2)", "Socket 370", "0.15", 20, 1, kViaShortName},
    {6, 8, 8, nullptr, "C3 (Ezra-T)", "Socket 370", "0.13", 23, 2, kViaShortName},
    {6, 9, 9, nullptr, "C3 (Nehemiah)", "Socket 370", "0.13", 24, 2, kViaShortName},
};
// clang-format on

}  // namespace

void NameCyrixIdtProcessor(CpuFields& f) {
  const NamingRow* row = FindNamingRow(kCyrixIdtRows, f);
  if (row == nullptr) {
    NameUnknown(f);
    return;
  }
  ApplyNamingRow(*row, f);
}

}  // namespace velora
