#pragma once
// Which K8s the brand table describes, and which of its rows a brand identifier points at.

#include <cstdint>

#include "probe/cpu/cpu_fields.h"

namespace velora {

// Revisions F and G (extended model 4 on: the AM2, S1g1 and Socket F parts) split the extended
// brand id of leaf 0x80000001 EBX into other fields, so the brand table and its model-number
// suffixes describe only the K8s before them.
constexpr bool IsK8RevisionFOrLater(const CpuFields& f) {
  return f.vendorCode == kVendorAmd && f.family == 15 && f.extendedFamily == 0 &&
         f.extendedModel >= 4;
}

// The row of the brand table for the brand identifier. The 8-bit brand id of leaf 1 (taken
// when the extended one is zero) counts rows in steps of four: its bits 7 to 5 are the row
// divided by four, so 4 there is row 16, Opteron DP, and not row 4, Athlon 64.
constexpr int32_t K8BrandTableIndex(const CpuFields& f) {
  bool eightBit = ((f.extLeaf1Ebx >> 6) & 0x3F) == 0 && ((f.leaf1Ebx >> 5) & 0x7) != 0;
  return eightBit ? f.brandId * 4 : f.brandId;
}

}  // namespace velora
