#pragma once
// The vendor strings of leaf 0, matched exactly and in this order.

#include <cstdint>
#include <string_view>

#include "probe/cpu/cpu_fields.h"

namespace velora {

struct CpuVendorRow {
  std::string_view vendorString;
  int32_t code;
  std::string_view shortName;
};

inline constexpr CpuVendorRow kCpuVendors[] = {
    {"GenuineIntel", kVendorIntel, "Intel"},
    {"AuthenticAMD", kVendorAmd, "AMD"},
    {"GenuineTMx86", kVendorTransmeta, "Transmeta"},
    {"CyrixInstead", kVendorCyrix, "Cyrix"},
    {"CentaurHauls", kVendorIdt, "IDT"},
    {"RiseRiseRise", kVendorRise, "Rise"},
    {"NexGenDriven", kVendorNexGen, "NexGen"},
    {"UMC UMC UMC ", kVendorUmc, "UMC"},
    {"Geode By NSC", kVendorNsc, "NSC"},
    {"Compaq FX32!", kVendorCompaq, "Compaq"},
    {"HygonGenuine", kVendorHygon, "Hygon"},
    {"  Shanghai  ", kVendorZhaoxin, "Zhaoxin"},
};

// The row of the vendor string, or null for an unknown vendor.
constexpr const CpuVendorRow* FindCpuVendor(std::string_view vendorString) {
  for (const CpuVendorRow& row : kCpuVendors) {
    if (row.vendorString == vendorString) return &row;
  }
  return nullptr;
}

}  // namespace velora
