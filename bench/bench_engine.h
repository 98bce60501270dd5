#pragma once
// The benchmark engine as the runner sees it: the engine library's entry points behind an
// interface, so that tests drive the runner with a scripted engine.

#include <cstdint>
#include <string>

namespace velora {

// The engine's own version and date texts, as it tells them.
struct EngineInfo {
  std::string version;
  std::string date;
};

class BenchEngine {
 public:
  virtual ~BenchEngine() = default;

  // Called on the worker only, one call at a time.
  virtual int32_t BenchMark(int32_t test, int32_t subTest, int32_t mode, void* params,
                            int32_t* score, int32_t* value) = 0;
  // The name of sub-test index of test; empty when there is none.
  virtual std::string BenchString(int32_t test, int32_t index) = 0;
  // Empty texts for an engine that tells none.
  virtual EngineInfo Info() { return {}; }
};

}  // namespace velora
