#pragma once
// Plain versions of the engine's ALU and FPU algorithms and a STREAM-style memory reference,
// compiled with -O3 -march=native, each answering its rate in the engine's work unit per second
// from one measurement of at least a quarter second, as long as one engine call.

namespace velora::bench {

double ReferenceFibonacci();
double ReferenceNapierian();
double ReferenceEratosthenes();
double ReferenceQuickSort();
double ReferenceMikoFpu();
double ReferenceRandMeanSs();
double ReferenceFft();
double ReferenceMandelbrot();

// Bytes per second over arrays of 80 MB: sum, non-temporal store, copy (read plus written).
double ReferenceStreamRead();
double ReferenceStreamWrite();
double ReferenceStreamCopy();

}  // namespace velora::bench
