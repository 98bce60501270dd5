#pragma once
// The MMT test: one single-precision kernel (a degree-8 polynomial by Horner's rule over a
// block that stays in the L1) written for each SIMD instruction set. Work unit: floating-point
// operations (a fused multiply-add counts two).

#include <cstdint>
#include <vector>

#include "engine/bench_kernel.h"

namespace velora::engine {

enum class SimdSet { kSse2, kAvx2, kAvx512 };

// The instruction sets this processor runs, in sub-test order.
std::vector<SimdSet> AvailableSimdSets();
const char* SimdSetName(SimdSet set);

class MmtKernel : public BenchKernel {
 public:
  MmtKernel(SimdSet set, KernelSize size);
  bool Prepare() override;
  void Run() override;
  bool Verify() override;
  double WorkPerRun() const override;
  float* Output() { return output_; }

  static constexpr int kDegree = 8;
  static constexpr int kElements = 4096;

 private:
  SimdSet set_;
  int passes_;
  // Aligned for the widest loads.
  alignas(64) float input_[kElements];
  alignas(64) float output_[kElements];
};

}  // namespace velora::engine
