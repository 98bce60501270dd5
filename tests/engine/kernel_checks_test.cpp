// Every kernel gets its own answer right at the small size, and its check catches a wrong one.

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "engine/alu_kernels.h"
#include "engine/fpu_kernels.h"
#include "engine/mem_kernels.h"
#include "engine/mmt_kernels.h"

namespace velora::engine {
namespace {

constexpr KernelSize kSmall = KernelSize::kSmall;

void RunOnce(BenchKernel& kernel) {
  kernel.Reset();
  kernel.Run();
}

template <typename Kernel, typename... Args>
void ExpectPasses(Kernel& kernel) {
  ASSERT_TRUE(kernel.Prepare());
  RunOnce(kernel);
  ASSERT_TRUE(kernel.Verify());
  EXPECT_GT(kernel.WorkPerRun(), 0.0);
}

TEST(AluKernels, FibonacciCatchesAWrongNumber) {
  FibonacciKernel k(kSmall);
  ExpectPasses(k);
  EXPECT_EQ(k.Result(), 2584u);  // fib(18)
  EXPECT_EQ(k.WorkPerRun(), 2.0 * 4181 - 1);  // calls of the naive recursion for fib(18)
  k.Result() += 1;
  EXPECT_FALSE(k.Verify());
}

TEST(AluKernels, NapierianGivesTheDigitsOfE) {
  NapierianKernel k(kSmall);
  ExpectPasses(k);
  EXPECT_EQ(k.Limbs()[0], 2u);
  EXPECT_EQ(k.Limbs()[1], 718281828u);
  k.Limbs()[5] ^= 1;
  EXPECT_FALSE(k.Verify());
}

TEST(AluKernels, EratosthenesCountsThePrimes) {
  EratosthenesKernel k(kSmall);
  ExpectPasses(k);
  EXPECT_EQ(k.PrimeCount(), 9592u);  // primes below 10^5
  k.PrimeCount() -= 1;
  EXPECT_FALSE(k.Verify());
}

TEST(AluKernels, QuickSortCatchesUnsortedAndChangedOutput) {
  QuickSortKernel k(kSmall);
  ExpectPasses(k);
  std::swap(k.Output()[10], k.Output()[11]);
  EXPECT_FALSE(k.Verify()) << "two elements out of order";
  std::swap(k.Output()[10], k.Output()[11]);
  ASSERT_TRUE(k.Verify());
  // Sorted but not the input's elements: one value duplicated over its neighbour.
  k.Output()[100] = k.Output()[101];
  EXPECT_FALSE(k.Verify()) << "an element replaced";
}

TEST(AluKernels, QuickSortSortsAgainAfterReset) {
  QuickSortKernel k(kSmall);
  ASSERT_TRUE(k.Prepare());
  RunOnce(k);
  k.Reset();
  EXPECT_FALSE(k.Verify()) << "Reset restores the unsorted input";
  k.Run();
  EXPECT_TRUE(k.Verify());
}

TEST(FpuKernels, MikoFpuIntegratesToTwoPi) {
  MikoFpuKernel k(kSmall);
  ExpectPasses(k);
  k.Result() += 1e-5;
  EXPECT_FALSE(k.Verify());
}

TEST(FpuKernels, RandMeanSsCatchesSkewedNumbers) {
  RandMeanSsKernel k(kSmall);
  ExpectPasses(k);
  EXPECT_NEAR(k.Mean(), 0.5, 0.01);
  k.MeanSquare() = 0.30;
  EXPECT_FALSE(k.Verify());
}

TEST(FpuKernels, FftCatchesAWrongBinAndLostEnergy) {
  FftKernel k(kSmall);
  ExpectPasses(k);
  k.OutputReal()[1] += 1e-3;
  EXPECT_FALSE(k.Verify()) << "a checked bin";
  k.OutputReal()[1] -= 1e-3;
  ASSERT_TRUE(k.Verify());
  k.OutputImag()[777] *= 2.0;
  EXPECT_FALSE(k.Verify()) << "an unchecked bin still breaks Parseval";
}

TEST(FpuKernels, FftWithoutTheTransformFails) {
  FftKernel k(kSmall);
  ASSERT_TRUE(k.Prepare());
  k.Reset();
  EXPECT_FALSE(k.Verify()) << "the input itself is not its transform";
}

TEST(FpuKernels, MandelbrotCatchesBrokenSymmetryAndArea) {
  MandelbrotKernel k(kSmall);
  ExpectPasses(k);
  const size_t side = 96;
  k.Counts()[3 * side + 40] ^= 1;
  EXPECT_FALSE(k.Verify()) << "row 3 no longer mirrors row 92";
  k.Counts()[3 * side + 40] ^= 1;
  ASSERT_TRUE(k.Verify());
  std::fill(k.Counts().begin(), k.Counts().end(), uint16_t{MandelbrotKernel::kMaxIterations});
  EXPECT_FALSE(k.Verify()) << "the whole view inside the set";
}

TEST(MemKernels, ReadSumCatchesAWrongTotal) {
  for (MemPattern p : {MemPattern::kRead, MemPattern::kCache}) {
    MemKernel k(p, kSmall);
    ExpectPasses(k);
    k.Sum() += 1;
    EXPECT_FALSE(k.Verify());
  }
}

TEST(MemKernels, WriteCatchesAnUnwrittenElement) {
  MemKernel k(MemPattern::kWrite, kSmall);
  ExpectPasses(k);
  k.Source()[0] ^= 1;
  EXPECT_FALSE(k.Verify());
  k.Reset();
  EXPECT_FALSE(k.Verify()) << "a run that wrote nothing";
}

TEST(MemKernels, CopyThatCopiesNothingFails) {
  MemKernel k(MemPattern::kCopy, kSmall);
  ExpectPasses(k);
  k.Reset();
  EXPECT_FALSE(k.Verify()) << "the previous run's copy must not count";
  k.Run();
  EXPECT_TRUE(k.Verify());
}

TEST(MmtKernels, EveryInstructionSetComputesThePolynomial) {
  const auto sets = AvailableSimdSets();
  ASSERT_FALSE(sets.empty());
  EXPECT_EQ(sets.front(), SimdSet::kSse2);
  for (SimdSet set : sets) {
    MmtKernel k(set, kSmall);
    ExpectPasses(k);
    k.Output()[123] += 0.01f;
    EXPECT_FALSE(k.Verify()) << SimdSetName(set);
  }
}

}  // namespace
}  // namespace velora::engine
