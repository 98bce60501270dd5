#pragma once
// A sub-test on every processor the caller may use: one worker thread per processor, bound to
// it, each with a kernel and data of its own. Every run starts on all workers at once and ends
// when the last of them is done; the rate is the work of all workers over those common times.

#include <functional>
#include <memory>
#include <vector>

#include "engine/bench_kernel.h"
#include "platform/clock_source.h"
#include "platform/processor_affinity.h"

namespace velora::engine {

// Makes the kernel of one worker (0-based); called on that worker's thread after binding.
using KernelFactory = std::function<std::unique_ptr<BenchKernel>(int worker)>;

// Fails when any worker cannot be bound, made or prepared, or gets any run wrong. Every thread
// it starts has ended when it returns.
Measurement MeasureOnProcessors(const KernelFactory& makeKernel, const std::vector<int>& processors,
                                ProcessorAffinity& affinity, ClockSource& clock, double minSeconds);

}  // namespace velora::engine
