#include "platform/fake/fake_clock_source.h"

namespace velora {

uint64_t FakeClockSource::Tick() {
  nowNs += nanosecondsPerRead;
  return nowNs;
}

uint64_t FakeClockSource::ReadTimeStampCounter() {
  return static_cast<uint64_t>(static_cast<double>(Tick()) * tscMhz / 1000.0) + tscOffset;
}

uint64_t FakeClockSource::PerformanceCounter() { return Tick(); }

uint32_t FakeClockSource::MultimediaTimeMs() { return static_cast<uint32_t>(Tick() / 1'000'000ull); }

uint32_t FakeClockSource::TickCountMs() {
  nowNs += nanosecondsPerTickRead;
  uint64_t ms = Tick() / 1'000'000ull;
  return static_cast<uint32_t>(ms - ms % tickStepMs);
}

void FakeClockSource::YieldTimeSlice() {
  ++yields;
  Advance(50'000);
}

}  // namespace velora
