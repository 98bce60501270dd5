// The three exports of libvelora09.so. Nothing else leaves the library (see engine.map), and no
// exception crosses this boundary.

#include <cstdio>
#include <cstring>

#include "engine/sub_test_runner.h"
#include "engine/sub_test_table.h"
#include "engine/velora_engine.h"
#include "platform/linux/linux_clock_source.h"
#include "platform/linux/linux_processor_affinity.h"

#define VELORA_EXPORT __attribute__((visibility("default")))

extern "C" {

VELORA_EXPORT int32_t BenchMark(int32_t test, int32_t subTest, int32_t /*mode*/, void* params,
                                int32_t* score, int32_t* value) {
  try {
    return velora::engine::RunSubTest(test, subTest, params, velora::ProcessClockSource(),
                                      velora::ProcessAffinity(), velora::engine::RunBudget{},
                                      score, value);
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
