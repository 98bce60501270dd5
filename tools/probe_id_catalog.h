#pragma once
// Every id the probe object answers, with its type, for the inspection tool.

#include <cstdint>
#include <vector>

#include "probe/probe_id_table.h"

namespace velora {

struct ProbeIdEntry {
  uint32_t id;
  ProbeIdKind kind;
};

// In id order. Per-device PCI ids are listed for entries 0 to deviceEntries - 1.
std::vector<ProbeIdEntry> ProbeIdCatalog(uint32_t deviceEntries);

}  // namespace velora
