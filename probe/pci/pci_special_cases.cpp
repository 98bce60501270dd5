#include "probe/pci/pci_special_cases.h"

#include <algorithm>

namespace velora {

namespace {

using T = PciNameTarget;
constexpr uint32_t kAnyRevLow = 0x00, kAnyRevHigh = 0xFF;
constexpr std::array<uint32_t, 2> kAnySouth{0, 0};
constexpr std::array<uint32_t, 2> kSisSouth{0x10395513, 0x10390008};

// One row per line of the table of special cases; the 852GM line sets two names.
constexpr PciSpecialCase kSpecialCases[] = {
    {{0x80862578}, kAnyRevLow, kAnyRevHigh, kAnySouth, T::North, "Intel 875P", 0x808625A1, "Intel E7210"},
    {{0x80861A30}, 4, 10, kAnySouth, T::North, "Intel 82845D", 0x8086248C, "Intel 82845MP"},
    {{0x80863580}, kAnyRevLow, kAnyRevHigh, kAnySouth, T::Chipset, "Intel 852GM (Montara-GML)", 0, nullptr},
    {{0x80863580}, kAnyRevLow, kAnyRevHigh, kAnySouth, T::North, "Intel 82852GM", 0, nullptr},
    {{0x10390658, 0x10390655, 0x10390648, 0x10390755, 0x10390746}, kAnyRevLow, kAnyRevHigh, kSisSouth, T::South, "SiS 963", 0, nullptr},
    {{0x10390651, 0x10390650, 0x10390646}, kAnyRevLow, kAnyRevHigh, kSisSouth, T::South, "SiS 961/962", 0, nullptr},
    {{0x10390645, 0x10390740}, kAnyRevLow, kAnyRevHigh, kSisSouth, T::South, "SiS 961", 0, nullptr},
    {{0x10390745}, kAnyRevLow, kAnyRevHigh, kAnySouth, T::South, "SiS 745", 0, nullptr},
    {{0x10390735}, kAnyRevLow, kAnyRevHigh, kAnySouth, T::South, "SiS 735", 0, nullptr},
    {{0x10390733}, kAnyRevLow, kAnyRevHigh, kAnySouth, T::South, "SiS 733", 0, nullptr},
    {{0x10390730}, kAnyRevLow, kAnyRevHigh, kAnySouth, T::South, "SiS 730", 0, nullptr},
    {{0x10390630}, kAnyRevLow, kAnyRevHigh, kAnySouth, T::South, "SiS 630", 0, nullptr},
    {{0x10390633}, kAnyRevLow, kAnyRevHigh, kAnySouth, T::South, "SiS 633", 0, nullptr},
    {{0x10390635}, kAnyRevLow, kAnyRevHigh, kAnySouth, T::South, "SiS 635", 0, nullptr},
};

template <size_t N>
bool OneOf(const std::array<uint32_t, N>& pairs, uint32_t pair) {
  return pair != 0 && std::find(pairs.begin(), pairs.end(), pair) != pairs.end();
}

bool Applies(const PciSpecialCase& row, const PciChipsetNames& names) {
  if (!OneOf(row.northPairs, names.northPair)) return false;
  if (names.northRevision < row.northRevisionLow || names.northRevision > row.northRevisionHigh) {
    return false;
  }
  bool anySouth = row.southPairs[0] == 0 && row.southPairs[1] == 0;
  return anySouth || OneOf(row.southPairs, names.southPair);
}

}  // namespace

void ApplyPciSpecialCases(PciChipsetNames& names) {
  for (const PciSpecialCase& row : kSpecialCases) {
    if (!Applies(row, names)) continue;
    const char* name = row.alternativeSouthPair != 0 && names.southPair == row.alternativeSouthPair
                           ? row.alternativeName
                           : row.name;
    switch (row.target) {
      case T::North: names.north = name; break;
      case T::South: names.south = name; break;
      case T::Chipset: names.chipset = name; break;
    }
  }
}

}  // namespace velora
