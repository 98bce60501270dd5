#pragma once
// Core revision, die size and transistor count by processor signature, and the AMD
// model-number suffix. The naming tables call these before they name the processor.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "probe/cpu/cpu_fields.h"

namespace velora {

constexpr int32_t kAnyL3 = -1;

struct CoreRevisionRow {
  std::array<uint32_t, 4> signatures;  // the first `count` are used
  uint8_t count;
  int32_t l3Kb;  // kAnyL3, or the L3 size the row needs
  std::string_view revision;
  double dieMm2;       // -1 unknown
  double transistorsM;  // -1 unknown
};

enum class RevisionTable { Intel, Amd, CyrixIdt };

std::span<const CoreRevisionRow> CoreRevisionRows(RevisionTable table, bool amdFamily15);

// Writes the revision text, die size and transistor count of the first matching row; without
// one the revision text is emptied and the two numbers stay as they are.
void ApplyCoreRevision(RevisionTable table, CpuFields& f);

// AMD family 15: the performance-rating suffix by brand identifier and brand number; empty for
// revision F and later, whose brand id the table does not describe.
void ApplyModelNumberSuffix(CpuFields& f);

}  // namespace velora
