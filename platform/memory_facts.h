#pragma once
// How much memory the caches hold and how much the machine has: the memory test sizes its
// arrays from these so that it streams from memory, not from a cache.

#include <cstdint>
#include <string>

namespace velora {

struct MemoryFacts {
  // The last-level caches of all processors together (one count per cache instance); 0 unknown.
  uint64_t lastLevelCacheBytes = 0;
  // Physical memory; 0 when unknown.
  uint64_t physicalBytes = 0;
};

// From the kernel's cache topology and memory counters below root ("" for this machine).
MemoryFacts ReadMemoryFacts(const std::string& root);

// "32768K", "2M", "1G" or plain bytes as the kernel writes cache sizes; 0 for anything else.
uint64_t CacheSizeBytes(const std::string& text);

}  // namespace velora
