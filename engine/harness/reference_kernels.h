#pragma once
// Plain versions of the engine's ALU and FPU algorithms and a STREAM-style memory reference,
// compiled with -O3 -march=native. Each gives the work of one thread: made on that thread (so
// its data is its own and lies near its processor), then run repeatedly.

#include <cstddef>
#include <functional>

namespace velora::bench {

struct ReferenceWork {
  // Untimed, before every run (restores an input that a run consumes).
  std::function<void()> prepare = [] {};
  // The timed work; answers its amount in the engine's work unit.
  std::function<double()> run;
};

// Makes one thread's work when `threads` threads share the reference.
using ReferenceMaker = ReferenceWork (*)(int threads);

ReferenceWork ReferenceFibonacci(int threads);
ReferenceWork ReferenceNapierian(int threads);
ReferenceWork ReferenceEratosthenes(int threads);
ReferenceWork ReferenceQuickSort(int threads);
ReferenceWork ReferenceMikoFpu(int threads);
ReferenceWork ReferenceRandMeanSs(int threads);
ReferenceWork ReferenceFft(int threads);
ReferenceWork ReferenceMandelbrot(int threads);

// Bytes per run over arrays as large as the engine's MEM arrays (from the bytes it plans, see
// SetReferenceStreamBytes), shared out among the threads: sum, non-temporal store, copy (read
// plus written).
void SetReferenceStreamBytes(size_t plannedBytes);
ReferenceWork ReferenceStreamRead(int threads);
ReferenceWork ReferenceStreamWrite(int threads);
ReferenceWork ReferenceStreamCopy(int threads);

}  // namespace velora::bench
