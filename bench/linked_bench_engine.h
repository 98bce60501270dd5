#pragma once
// The engine library linked into the program: calls go straight to its exports.

#include "bench/bench_engine.h"

namespace velora {

class LinkedBenchEngine : public BenchEngine {
 public:
  int32_t BenchMark(int32_t test, int32_t subTest, int32_t mode, void* params, int32_t* score,
                    int32_t* value) override;
  std::string BenchString(int32_t test, int32_t index) override;
  EngineInfo Info() override;
};

}  // namespace velora
