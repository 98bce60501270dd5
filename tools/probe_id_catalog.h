#pragma once
// Every id the probe object answers, with its type, for the inspection tool.

#include <cstdint>
#include <vector>

namespace velora {

enum class ProbeIdKind {
  Text,         // GetString
  Int,          // GetInt
  TextAndInt,   // both forms
  Action,       // GetInt with a side effect (re-identify, re-measure, refresh)
  TextAction,   // GetString that measures again
  Command,      // Set: changes processor state, never run by a dump
};

struct ProbeIdEntry {
  uint32_t id;
  ProbeIdKind kind;
};

// In id order. Per-device PCI ids are listed for entries 0 to deviceEntries - 1.
std::vector<ProbeIdEntry> ProbeIdCatalog(uint32_t deviceEntries);

}  // namespace velora
