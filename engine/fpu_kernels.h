#pragma once
// The FPU test: double precision throughout.

#include <complex>
#include <cstdint>
#include <span>
#include <vector>

#include "engine/bench_kernel.h"

namespace velora::engine {

// Midpoint integration of 4/(1+x^2) + 4 sqrt(1-x^2) over [0,1], which is 2 pi: additions,
// multiplications, a division and a square root per point. Work unit: points.
class MikoFpuKernel : public BenchKernel {
 public:
  explicit MikoFpuKernel(KernelSize size);
  bool Prepare() override { return true; }
  void Run() override;
  bool Verify() override;
  double WorkPerRun() const override { return static_cast<double>(points_); }
  double& Result() { return result_; }

 private:
  uint32_t points_;
  double result_ = 0.0;
};

// Uniform doubles from xorshift64*, their mean and mean square. Work unit: numbers.
class RandMeanSsKernel : public BenchKernel {
 public:
  explicit RandMeanSsKernel(KernelSize size);
  bool Prepare() override { return true; }
  void Run() override;
  bool Verify() override;
  double WorkPerRun() const override { return static_cast<double>(count_); }
  double& Mean() { return mean_; }
  double& MeanSquare() { return meanSquare_; }

 private:
  uint32_t count_;
  uint64_t seed_ = 0x9E3779B97F4A7C15ull;
  double mean_ = 0.0, meanSquare_ = 0.0;
};

// Iterative radix-2 complex FFT. Work unit: the customary 5 N log2 N floating-point operations.
class FftKernel : public BenchKernel {
 public:
  explicit FftKernel(KernelSize size);
  // The parts are views into the kernel's own block.
  FftKernel(const FftKernel&) = delete;
  FftKernel& operator=(const FftKernel&) = delete;
  bool Prepare() override;
  void Reset() override;
  void Run() override;
  bool Verify() override;
  double WorkPerRun() const override;
  std::span<double> OutputReal() { return real_; }
  std::span<double> OutputImag() { return imag_; }

 private:
  uint32_t log2n_;
  std::vector<std::complex<double>> input_;
  // Split real and imaginary parts vectorise better than interleaved pairs. Both live in one
  // block, the imaginary part a little more than a page's half after the real one: at the same
  // offset within a page, every store to one part would stall the next load from the other
  // (4K aliasing), which cost a fifth of the speed.
  std::vector<double> parts_;
  std::span<double> real_, imag_;
  std::vector<double> twiddleReal_, twiddleImag_;
  // The whole circle from cos and sin, for the direct sums of the check.
  std::vector<std::complex<double>> circle_;
  std::vector<uint32_t> reversed_;
  uint32_t checkRound_ = 0;
};

// Escape-time iteration over a grid symmetric about the real axis. Work unit: iterations.
class MandelbrotKernel : public BenchKernel {
 public:
  explicit MandelbrotKernel(KernelSize size);
  bool Prepare() override;
  void Run() override;
  bool Verify() override;
  double WorkPerRun() const override { return static_cast<double>(iterations_); }
  std::vector<uint16_t>& Counts() { return counts_; }

  static constexpr uint32_t kMaxIterations = 256;

 private:
  uint32_t side_;
  std::vector<uint16_t> counts_;
  uint64_t iterations_ = 0;
};

}  // namespace velora::engine
