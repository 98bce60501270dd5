#pragma once
// Runs a reference on a set of processors as the engine runs its sub-tests: one thread bound
// to each, every run started on all at once and timed until the last is done, at least a
// quarter second of timed runs in all.

#include <vector>

#include "engine/harness/reference_kernels.h"
#include "platform/processor_affinity.h"

namespace velora::bench {

// Work per second of all threads together; 0 when a thread cannot be bound.
double MeasureReference(ReferenceMaker make, const std::vector<int>& processors,
                        ProcessorAffinity& affinity);

}  // namespace velora::bench
