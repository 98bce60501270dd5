#pragma once
// Names the databases cannot express: bridges whose name depends on their partner chip or
// revision. Applied after the database look-ups, each row in turn.

#include <array>
#include <cstdint>
#include <string>

namespace velora {

enum class PciNameTarget { North, South, Chipset };

struct PciSpecialCase {
  std::array<uint32_t, 5> northPairs;  // any of these; unused slots 0
  uint32_t northRevisionLow;           // inclusive range of the north revision
  uint32_t northRevisionHigh;
  std::array<uint32_t, 2> southPairs;  // any of these; both 0: any south bridge
  PciNameTarget target;
  const char* name;
  uint32_t alternativeSouthPair;  // when the south pair is this one (0: never) ...
  const char* alternativeName;    // ... this name instead
};

struct PciChipsetNames {
  uint32_t northPair = 0;
  uint32_t northRevision = 0;
  uint32_t southPair = 0;
  std::string north;
  std::string south;
  std::string chipset;
};

// Applies every row whose condition holds, in table order.
void ApplyPciSpecialCases(PciChipsetNames& names);

}  // namespace velora
