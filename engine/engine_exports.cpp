// The three exports of libvelora09.so. Nothing else leaves the library (see engine.map), and no
// exception crosses this boundary.

#include <cstdio>
#include <cstring>
#include <mutex>

#include "engine/sub_test_runner.h"
#include "engine/sub_test_table.h"
#include "engine/velora_engine.h"
#include "platform/linux/linux_clock_source.h"
#include "platform/linux/linux_processor_affinity.h"
#include "platform/memory_facts.h"

#define VELORA_EXPORT __attribute__((visibility("default")))

namespace {

// The MEM test's streaming arrays live from its first streaming call to the first call of
// anything else (its Cache sub-test, at the latest, in a run), or until the library is unloaded.
velora::engine::StreamArena& KeptStreams() {
  static velora::engine::StreamArena arena([] {
    const velora::MemoryFacts facts = velora::ReadMemoryFacts("");
    return velora::engine::PlanStreamArrayBytes(facts.lastLevelCacheBytes, facts.physicalBytes);
  }());
  return arena;
}

// Calls come one at a time from the runner; a caller that breaks that waits instead of sharing
// the kept arrays.
std::mutex gCallMutex;

}  // namespace

extern "C" {

VELORA_EXPORT int32_t BenchMark(int32_t test, int32_t subTest, int32_t /*mode*/, void* params,
                                int32_t* score, int32_t* value) {
  try {
    std::lock_guard lock(gCallMutex);
    velora::engine::StreamArena& streams = KeptStreams();
    if (!velora::engine::StreamsOverArrays(test, subTest)) streams.Release();
    return velora::engine::RunSubTest(test, subTest, params, velora::ProcessClockSource(),
                                      velora::ProcessAffinity(),
                                      velora::engine::RunBudget{.streams = &streams}, score, value);
  } catch (...) {
    return -1;
  }
}

VELORA_EXPORT void GetBenchString(int32_t test, int32_t index, char* text) {
  if (text == nullptr) return;
  const char* name = velora::engine::EntryName(test, index);
  std::snprintf(text, velora::engine::kTextCapacity, "%s", name ? name : "");
}

VELORA_EXPORT void GetDllInfo(char* version, char* date) {
  if (version != nullptr) std::snprintf(version, velora::engine::kInfoCapacity, "%s", VELORA_ENGINE_VERSION);
  if (date != nullptr) std::snprintf(date, velora::engine::kInfoCapacity, "%s", VELORA_ENGINE_DATE);
}

}  // extern "C"
