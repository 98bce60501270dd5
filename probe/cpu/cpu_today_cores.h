#pragma once
// Published core counts of processors whose topology leaves, read on one logical processor,
// cannot give them: Intel's hybrids (performance and efficient cores, one SMT width per kind)
// and Centaur parts without leaf 0xB. Keyed by the model number, the last word of the cleaned
// brand name: the row's number followed by one of its suffixes.

#include <cstdint>
#include <span>
#include <string_view>

#include "probe/cpu/cpu_fields.h"

namespace velora {

struct CoreCountRow {
  int32_t vendorCode;
  int32_t family;               // display family
  int32_t modelLow, modelHigh;  // display model
  std::string_view number;      // "12700", "155", "L4700"
  std::string_view suffixes;    // '|'-separated letters after the number; "" among them for none
  int32_t performanceCores;
  int32_t efficientCores;       // low-power island cores included
};

// clang-format off
inline constexpr CoreCountRow kPublishedCoreCounts[] = {
    // Alder Lake, desktop (0x97) and mobile (0x9A).
    {kVendorIntel, 6, 0x97, 0x97, "12900", "|K|KF|KS|F|T", 8, 8},
    {kVendorIntel, 6, 0x97, 0x97, "12700", "|K|KF|F|T", 8, 4},
    {kVendorIntel, 6, 0x97, 0x97, "12600", "K|KF", 6, 4},
    {kVendorIntel, 6, 0x97, 0x97, "12900", "HX", 8, 8},
    {kVendorIntel, 6, 0x97, 0x97, "12850", "HX", 8, 8},
    {kVendorIntel, 6, 0x97, 0x97, "12800", "HX", 8, 8},
    {kVendorIntel, 6, 0x97, 0x97, "12650", "HX", 6, 8},
    {kVendorIntel, 6, 0x97, 0x97, "12600", "HX", 4, 8},
    {kVendorIntel, 6, 0x97, 0x97, "12450", "HX", 4, 4},
    {kVendorIntel, 6, 0x9A, 0x9A, "12900", "H|HK", 6, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "12800", "H", 6, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "12700", "H", 6, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "12650", "H", 6, 4},
    {kVendorIntel, 6, 0x9A, 0x9A, "12600", "H", 4, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "12500", "H", 4, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "12450", "H", 4, 4},
    {kVendorIntel, 6, 0x9A, 0x9A, "1280", "P", 6, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "1270", "P", 4, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "1260", "P", 4, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "1250", "P", 4, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "1240", "P", 4, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "1220", "P", 2, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "1265", "U", 2, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "1255", "U", 2, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "1245", "U", 2, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "1235", "U", 2, 8},
    {kVendorIntel, 6, 0x9A, 0x9A, "1215", "U", 2, 4},
    {kVendorIntel, 6, 0x9A, 0x9A, "8505", "", 1, 4},
    {kVendorIntel, 6, 0x9A, 0x9A, "7505", "", 1, 4},
    // Raptor Lake and its refresh, desktop (0xB7, 0xBF) and mobile (0xBA).
    {kVendorIntel, 6, 0xB7, 0xBF, "14900", "|K|KF|KS|F|T|HX", 8, 16},
    {kVendorIntel, 6, 0xB7, 0xBF, "13900", "|K|KF|KS|F|T|HX", 8, 16},
    {kVendorIntel, 6, 0xB7, 0xBF, "14700", "|K|KF|F|T|HX", 8, 12},
    {kVendorIntel, 6, 0xB7, 0xBF, "13700", "|K|KF|F|T", 8, 8},
    {kVendorIntel, 6, 0xB7, 0xBF, "13700", "HX", 8, 8},
    {kVendorIntel, 6, 0xB7, 0xBF, "14600", "|K|KF|F|T", 6, 8},
    {kVendorIntel, 6, 0xB7, 0xBF, "13600", "|K|KF|F|T", 6, 8},
    {kVendorIntel, 6, 0xB7, 0xBF, "13500", "|T", 6, 8},
    {kVendorIntel, 6, 0xB7, 0xBF, "14500", "|T", 6, 8},
    {kVendorIntel, 6, 0xB7, 0xBF, "14400", "|F|T", 6, 4},
    {kVendorIntel, 6, 0xB7, 0xBF, "13400", "|F|T", 6, 4},
    {kVendorIntel, 6, 0xBA, 0xBA, "13900", "H|HK", 6, 8},
    {kVendorIntel, 6, 0xBA, 0xBA, "13800", "H", 6, 8},
    {kVendorIntel, 6, 0xBA, 0xBA, "13700", "H", 6, 8},
    {kVendorIntel, 6, 0xBA, 0xBA, "13620", "H", 6, 4},
    {kVendorIntel, 6, 0xBA, 0xBA, "13500", "H", 4, 8},
    {kVendorIntel, 6, 0xBA, 0xBA, "1370", "P", 6, 8},
    {kVendorIntel, 6, 0xBA, 0xBA, "1360", "P", 4, 8},
    {kVendorIntel, 6, 0xBA, 0xBA, "1340", "P", 4, 8},
    {kVendorIntel, 6, 0xBA, 0xBA, "1365", "U", 2, 8},
    {kVendorIntel, 6, 0xBA, 0xBA, "1355", "U", 2, 8},
    {kVendorIntel, 6, 0xBA, 0xBA, "1345", "U", 2, 8},
    {kVendorIntel, 6, 0xBA, 0xBA, "1335", "U", 2, 8},
    {kVendorIntel, 6, 0xBA, 0xBA, "1315", "U", 2, 4},
    // Meteor Lake: two low-power island cores beside the compute tile's.
    {kVendorIntel, 6, 0xAA, 0xAC, "185", "H", 6, 10},
    {kVendorIntel, 6, 0xAA, 0xAC, "165", "H", 6, 10},
    {kVendorIntel, 6, 0xAA, 0xAC, "155", "H", 6, 10},
    {kVendorIntel, 6, 0xAA, 0xAC, "135", "H", 4, 10},
    {kVendorIntel, 6, 0xAA, 0xAC, "125", "H", 4, 10},
    {kVendorIntel, 6, 0xAA, 0xAC, "165", "U", 2, 10},
    {kVendorIntel, 6, 0xAA, 0xAC, "155", "U", 2, 10},
    {kVendorIntel, 6, 0xAA, 0xAC, "135", "U", 2, 10},
    {kVendorIntel, 6, 0xAA, 0xAC, "134", "U", 2, 10},
    {kVendorIntel, 6, 0xAA, 0xAC, "125", "U", 2, 10},
    {kVendorIntel, 6, 0xAA, 0xAC, "115", "U", 2, 6},
    // Arrow Lake: desktop and HX (0xC6), H (0xC5), U (0xB5); Lunar Lake (0xBD).
    {kVendorIntel, 6, 0xC6, 0xC6, "285", "|K|KF|T|HX", 8, 16},
    {kVendorIntel, 6, 0xC6, 0xC6, "275", "HX", 8, 16},
    {kVendorIntel, 6, 0xC6, 0xC6, "265", "|K|KF|F|T", 8, 12},
    {kVendorIntel, 6, 0xC6, 0xC6, "255", "HX", 8, 12},
    {kVendorIntel, 6, 0xC6, 0xC6, "245", "|K|KF|F|T|HX", 6, 8},
    {kVendorIntel, 6, 0xC6, 0xC6, "235", "|T", 6, 8},
    {kVendorIntel, 6, 0xC6, 0xC6, "225", "|F|T", 6, 4},
    {kVendorIntel, 6, 0xC5, 0xC5, "285", "H", 6, 10},
    {kVendorIntel, 6, 0xC5, 0xC5, "255", "H", 6, 10},
    {kVendorIntel, 6, 0xC5, 0xC5, "235", "H", 4, 10},
    {kVendorIntel, 6, 0xC5, 0xC5, "225", "H", 4, 10},
    {kVendorIntel, 6, 0xB5, 0xB5, "265", "U", 2, 10},
    {kVendorIntel, 6, 0xB5, 0xB5, "255", "U", 2, 10},
    {kVendorIntel, 6, 0xB5, 0xB5, "235", "U", 2, 10},
    {kVendorIntel, 6, 0xB5, 0xB5, "225", "U", 2, 10},
    {kVendorIntel, 6, 0xBD, 0xBD, "288", "V", 4, 4},
    {kVendorIntel, 6, 0xBD, 0xBD, "268", "V", 4, 4},
    {kVendorIntel, 6, 0xBD, 0xBD, "266", "V", 4, 4},
    {kVendorIntel, 6, 0xBD, 0xBD, "258", "V", 4, 4},
    {kVendorIntel, 6, 0xBD, 0xBD, "256", "V", 4, 4},
    {kVendorIntel, 6, 0xBD, 0xBD, "238", "V", 4, 4},
    {kVendorIntel, 6, 0xBD, 0xBD, "236", "V", 4, 4},
    {kVendorIntel, 6, 0xBD, 0xBD, "228", "V", 4, 4},
    {kVendorIntel, 6, 0xBD, 0xBD, "226", "V", 4, 4},
    // Lakefield.
    {kVendorIntel, 6, 0x8A, 0x8A, "L16", "G7", 1, 4},
    {kVendorIntel, 6, 0x8A, 0x8A, "L13", "G4", 1, 4},
    // Centaur's quad-core Isaiah: two dual-core dies and no topology leaf.
    {kVendorIdt, 6, 0x0F, 0x0F, "L4700", "|E", 4, 0},
    {kVendorIdt, 6, 0x0F, 0x0F, "L4800", "|E", 4, 0},
};
// clang-format on

// The row for the processor's vendor, display family and model and cleaned brand name, or null.
const CoreCountRow* FindPublishedCoreCount(std::span<const CoreCountRow> rows, int32_t vendorCode,
                                           int32_t family, int32_t model,
                                           std::string_view cleanedName);

}  // namespace velora
