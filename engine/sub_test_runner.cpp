#include "engine/sub_test_runner.h"

#include <cmath>
#include <limits>
#include <new>

#include "engine/alu_kernels.h"
#include "engine/fpu_kernels.h"
#include "engine/graphics/graphics_sub_tests.h"
#include "engine/hdd_kernels.h"
#include "engine/mem_kernels.h"
#include "engine/mmt_kernels.h"
#include "engine/parallel_measure.h"
#include "engine/sub_test_table.h"

namespace velora::engine {
namespace {

std::unique_ptr<BenchKernel> MakeAlu(int32_t s, KernelSize size) {
  switch (s) {
    case 0: return std::make_unique<FibonacciKernel>(size);
    case 1: return std::make_unique<NapierianKernel>(size);
    case 2: return std::make_unique<EratosthenesKernel>(size);
    case 3: return std::make_unique<QuickSortKernel>(size);
    default: return nullptr;
  }
}

std::unique_ptr<BenchKernel> MakeFpu(int32_t s, KernelSize size) {
  switch (s) {
    case 0: return std::make_unique<MikoFpuKernel>(size);
    case 1: return std::make_unique<RandMeanSsKernel>(size);
    case 2: return std::make_unique<FftKernel>(size);
    case 3: return std::make_unique<MandelbrotKernel>(size);
    default: return nullptr;
  }
}

constexpr MemPattern kMemPatterns[] = {MemPattern::kRead, MemPattern::kWrite, MemPattern::kCopy,
                                       MemPattern::kCache};

std::unique_ptr<BenchKernel> MakeMem(int32_t s, KernelSize size) {
  if (s < 0 || s > 3) return nullptr;
  return std::make_unique<MemKernel>(kMemPatterns[s], size);
}

// Every worker streams its slice of the same arrays; arrays that could not be made fail the
// sub-test like any other failed preparation.
Measurement MeasureStreams(int32_t subTest, const std::vector<int>& processors,
                           ProcessorAffinity& affinity, ClockSource& clock, const RunBudget& budget) {
  const bool full = budget.size == KernelSize::kFull;
  StreamArena ownArena(full ? kStreamArrayFloorBytes : kSmallStreamBytes,
                       full ? kStreamShareFloorBytes : kSmallStreamShareFloorBytes);
  StreamArena& arena = budget.streams != nullptr ? *budget.streams : ownArena;
  const MemPattern pattern = kMemPatterns[subTest];
  if (!arena.Reserve(pattern == MemPattern::kCopy, static_cast<int>(processors.size()))) return {};
  const Measurement m = MeasureOnProcessors(
      [&](int worker) { return std::make_unique<MemKernel>(pattern, arena.Slice(worker)); },
      processors, affinity, clock, budget.minSeconds);
  if (m.ok) arena.KeepPrepared(pattern == MemPattern::kRead, pattern == MemPattern::kWrite);
  else arena.Release();
  return m;
}

std::unique_ptr<BenchKernel> MakeHdd(int32_t s, const HddScratchParams& params) {
  struct Row {
    HddPattern pattern;
    uint32_t transfer;
  };
  static constexpr Row kRows[] = {
      {HddPattern::kSequentialRead, 0},      {HddPattern::kSequentialWrite, 0},
      {HddPattern::kRandomRead, 512u << 10}, {HddPattern::kRandomWrite, 512u << 10},
      {HddPattern::kRandomRead, 64u << 10},  {HddPattern::kRandomWrite, 64u << 10},
  };
  if (s < 0 || s > 5) return nullptr;
  return std::make_unique<HddKernel>(params, kRows[s].pattern, kRows[s].transfer);
}

// The disk and the drawing tests measure a device, not the processors: one kernel on the calling
// thread. The drawing kernels also share process-wide state (one EGL display, SDL's video
// subsystem) that copies on several threads would tear down under each other.
bool OneStream(int32_t test) {
  return test == kHdd || test == kGdi || test == kD2d || test == kOgl;
}

}  // namespace

int32_t ScaleRate(double rate, double factor) {
  double scaled = std::round(rate * factor);
  if (!(scaled >= 0.0)) return 0;
  if (scaled > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(scaled);
}

bool StreamsOverArrays(int32_t test, int32_t subTest) {
  return test == kMem && subTest >= 0 && subTest <= 2;
}

std::unique_ptr<BenchKernel> MakeKernel(int32_t test, int32_t subTest, const void* params,
                                        KernelSize size) {
  switch (test) {
    case kAlu: return MakeAlu(subTest, size);
    case kFpu: return MakeFpu(subTest, size);
    case kMem: return MakeMem(subTest, size);
    case kHdd: return MakeHdd(subTest, *static_cast<const HddScratchParams*>(params));
    case kMmt: {
      const auto sets = AvailableSimdSets();
      if (subTest < 0 || static_cast<size_t>(subTest) >= sets.size()) return nullptr;
      return std::make_unique<MmtKernel>(sets[subTest], size);
    }
    case kGdi:
    case kD2d:
    case kOgl: return graphics::MakeGraphicsKernel(test, subTest, size);
    default: return nullptr;
  }
}

int32_t RunSubTest(int32_t test, int32_t subTest, const void* params, ClockSource& clock,
                   ProcessorAffinity& affinity, const RunBudget& budget, int32_t* score,
                   int32_t* value) {
  if (score == nullptr || value == nullptr) return -1;
  *score = 0;
  *value = 0;
  std::span<const SubTestRow> rows = SubTestRows(test);
  if (subTest < 0 || static_cast<size_t>(subTest) >= rows.size()) return 0;
  const int32_t failed = -1;
  if (test == kHdd &&
      CheckScratchParams(static_cast<const HddScratchParams*>(params)) != ScratchProblem::kNone) {
    *score = failed;
    return failed;
  }
  try {
    Measurement m;
    if (OneStream(test)) {
      std::unique_ptr<BenchKernel> kernel = MakeKernel(test, subTest, params, budget.size);
      if (kernel) m = MeasureKernel(*kernel, clock, budget.minSeconds);
    } else {
      // The mask in force now is the one the runner applied for this run.
      const std::vector<int> processors = affinity.AllowedProcessors();
      if (StreamsOverArrays(test, subTest))
        m = MeasureStreams(subTest, processors, affinity, clock, budget);
      else
        m = MeasureOnProcessors([&](int) { return MakeKernel(test, subTest, params, budget.size); },
                                processors, affinity, clock, budget.minSeconds);
    }
    if (!m.ok) {
      *score = failed;
      return failed;
    }
    *value = ScaleRate(m.workPerSecond, rows[subTest].valueScale);
    *score = ScaleRate(m.workPerSecond, 1.0 / rows[subTest].scoreDivisor);
    return 0;
  } catch (const std::bad_alloc&) {
    *score = failed;
    return failed;
  }
}

}  // namespace velora::engine
