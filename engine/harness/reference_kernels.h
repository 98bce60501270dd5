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

// Makes the work of thread `thread` (0-based) when `threads` threads share the reference.
using ReferenceMaker = ReferenceWork (*)(int thread, int threads);

ReferenceWork ReferenceFibonacci(int thread, int threads);
ReferenceWork ReferenceNapierian(int thread, int threads);
ReferenceWork ReferenceEratosthenes(int thread, int threads);
ReferenceWork ReferenceQuickSort(int thread, int threads);
ReferenceWork ReferenceMikoFpu(int thread, int threads);
ReferenceWork ReferenceRandMeanSs(int thread, int threads);
ReferenceWork ReferenceFft(int thread, int threads);
ReferenceWork ReferenceMandelbrot(int thread, int threads);

// Bytes per run over arrays as large as the engine's MEM arrays, shared out among the threads as
// the engine shares its own: sum, non-temporal store, copy (read plus written). Like the
// engine's, the two arrays are made and touched once (PrepareReferenceStreams, from the bytes
// the engine plans, for up to maxThreads threads) and kept for every measurement.
bool PrepareReferenceStreams(size_t plannedBytes, int maxThreads);
ReferenceWork ReferenceStreamRead(int thread, int threads);
ReferenceWork ReferenceStreamWrite(int thread, int threads);
ReferenceWork ReferenceStreamCopy(int thread, int threads);

}  // namespace velora::bench
