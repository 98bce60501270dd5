#pragma once
// The ALU test: integer work only.

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/bench_kernel.h"

namespace velora::engine {

// Naive doubly recursive Fibonacci; work unit: calls.
class FibonacciKernel : public BenchKernel {
 public:
  explicit FibonacciKernel(KernelSize size);
  bool Prepare() override { return true; }
  void Run() override;
  bool Verify() override;
  double WorkPerRun() const override;
  uint64_t& Result() { return result_; }

 private:
  uint32_t n_;
  uint64_t result_ = 0;
};

// Digits of e from the series sum of 1/k!, in fixed-point base 10^9 limbs; work unit: digits.
class NapierianKernel : public BenchKernel {
 public:
  explicit NapierianKernel(KernelSize size);
  bool Prepare() override;
  void Run() override;
  bool Verify() override;
  double WorkPerRun() const override { return digits_; }
  std::vector<uint32_t>& Limbs() { return sum_; }

 private:
  uint32_t digits_;
  std::vector<uint32_t> sum_, term_;
};

// Sieve of Eratosthenes over a byte table; work unit: numbers sieved.
class EratosthenesKernel : public BenchKernel {
 public:
  explicit EratosthenesKernel(KernelSize size);
  bool Prepare() override;
  void Run() override;
  bool Verify() override;
  double WorkPerRun() const override { return static_cast<double>(limit_); }
  uint32_t& PrimeCount() { return count_; }

 private:
  uint32_t limit_;
  uint32_t count_ = 0;
  std::vector<uint8_t> composite_;
};

// Quicksort of pseudo-random 32-bit integers; work unit: elements sorted.
class QuickSortKernel : public BenchKernel {
 public:
  explicit QuickSortKernel(KernelSize size);
  bool Prepare() override;
  void Reset() override;
  void Run() override;
  bool Verify() override;
  double WorkPerRun() const override { return static_cast<double>(input_.size()); }
  std::vector<int32_t>& Output() { return data_; }

 private:
  std::vector<int32_t> input_, data_;
  uint64_t inputSum_ = 0;
  uint32_t inputXor_ = 0;
};

// The first 100 decimals of e, to check the big-number result against.
inline constexpr char kEDecimals[] =
    "7182818284590452353602874713526624977572470936999595749669676277240766303535475945713821785251664274";

// Prime counts pi(10^k) for the sieve check; 0 where unknown.
uint32_t KnownPrimeCount(uint32_t limit);

}  // namespace velora::engine
