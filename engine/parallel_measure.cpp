#include "engine/parallel_measure.h"

#include <atomic>
#include <cstdint>
#include <system_error>
#include <thread>

#include "engine/worker_barrier.h"

namespace velora::engine {
namespace {

// A run count cap keeps a stalled clock from looping forever.
constexpr int kMaxRuns = 1 << 20;

// Making and preparing a kernel may throw (no memory); an exception that left a worker would
// leave the others waiting at a barrier for a thread that is gone.
template <typename Step>
bool Guarded(Step step) {
  try {
    return step();
  } catch (...) {
    return false;
  }
}

class Team {
 public:
  Team(const KernelFactory& makeKernel, const std::vector<int>& processors,
       ProcessorAffinity& affinity, ClockSource& clock, double frequency, double minSeconds)
      : makeKernel_(makeKernel),
        processors_(processors),
        affinity_(affinity),
        clock_(clock),
        frequency_(frequency),
        minSeconds_(minSeconds),
        workDone_(processors.size(), 0.0),
        barrier_(static_cast<uint32_t>(processors.size())) {}

  // Workers wait here until every thread exists; if one cannot be started, none runs a kernel.
  void Launch(bool go) {
    gate_.store(go ? kGo : kAbandon, std::memory_order_release);
    gate_.notify_all();
  }

  void Work(int worker) {
    int gate;
    while ((gate = gate_.load(std::memory_order_acquire)) == kClosed) gate_.wait(kClosed);
    if (gate == kAbandon) return;

    std::unique_ptr<BenchKernel> kernel;
    const bool ready = Guarded([&] {
      if (!affinity_.RestrictCurrentThread({processors_[worker]})) return false;
      kernel = makeKernel_(worker);
      return kernel && kernel->Prepare();
    });
    if (!ready) failed_.store(true, std::memory_order_relaxed);
    barrier_.ArriveAndWait([&] { more_ = !failed_.load(std::memory_order_relaxed); });

    while (more_) {
      if (!Guarded([&] { kernel->Reset(); return true; })) failed_.store(true, std::memory_order_relaxed);
      // Everyone awake and reset before the clock starts, so no wake-up is timed.
      barrier_.ArriveAndWait();
      barrier_.ArriveAndWait([&] { start_ = clock_.PerformanceCounter(); });
      kernel->Run();
      barrier_.ArriveAndWait([&] {
        const uint64_t end = clock_.PerformanceCounter();
        ticks_ += end - start_;
        ++runs_;
      });
      if (!Guarded([&] { return kernel->Verify(); })) failed_.store(true, std::memory_order_relaxed);
      // Some kernels know their work only once they have run it (Mandelbrot's iterations).
      workDone_[worker] += kernel->WorkPerRun();
      barrier_.ArriveAndWait([&] {
        const double seconds = static_cast<double>(ticks_) / frequency_;
        more_ = !failed_.load(std::memory_order_relaxed) &&
                (seconds < minSeconds_ || ticks_ == 0) && runs_ < kMaxRuns;
      });
    }
  }

  Measurement Result() const {
    Measurement m;
    if (failed_.load() || runs_ == 0 || ticks_ == 0) return m;
    double work = 0.0;
    for (double w : workDone_) work += w;
    m.ok = true;
    m.runs = runs_;
    m.workPerSecond = work / (static_cast<double>(ticks_) / frequency_);
    return m;
  }

 private:
  static constexpr int kClosed = 0, kGo = 1, kAbandon = 2;

  const KernelFactory& makeKernel_;
  const std::vector<int>& processors_;
  ProcessorAffinity& affinity_;
  ClockSource& clock_;
  const double frequency_;
  const double minSeconds_;

  std::vector<double> workDone_;  // each worker adds to its own entry only
  WorkerBarrier barrier_;
  std::atomic<int> gate_{kClosed};
  std::atomic<bool> failed_{false};
  // Written only by the last arrival at a barrier, read by all after it.
  bool more_ = false;
  uint64_t start_ = 0;
  uint64_t ticks_ = 0;
  int runs_ = 0;
};

}  // namespace

Measurement MeasureOnProcessors(const KernelFactory& makeKernel, const std::vector<int>& processors,
                                ProcessorAffinity& affinity, ClockSource& clock, double minSeconds) {
  const double frequency = static_cast<double>(clock.PerformanceFrequency());
  if (processors.empty() || frequency <= 0.0) return {};
  Team team(makeKernel, processors, affinity, clock, frequency, minSeconds);
  std::vector<std::thread> workers;
  workers.reserve(processors.size());
  bool started = true;
  try {
    for (size_t i = 0; i < processors.size(); ++i)
      workers.emplace_back([&team, i] { team.Work(static_cast<int>(i)); });
  } catch (const std::system_error&) {
    started = false;
  }
  team.Launch(started);
  for (std::thread& worker : workers) worker.join();
  return started ? team.Result() : Measurement{};
}

}  // namespace velora::engine
