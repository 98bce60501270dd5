#include "engine/harness/reference_team.h"

#include <atomic>
#include <thread>

#include "engine/harness/harness_figures.h"
#include "engine/worker_barrier.h"

namespace velora::bench {
namespace {

constexpr double kMinSeconds = 0.25;

}  // namespace

double MeasureReference(ReferenceMaker make, const std::vector<int>& processors,
                        ProcessorAffinity& affinity) {
  const int threads = static_cast<int>(processors.size());
  engine::WorkerBarrier barrier(static_cast<uint32_t>(threads));
  std::vector<double> workPerThread(processors.size(), 0.0);
  std::atomic<bool> failed{false};
  bool more = true;
  double start = 0.0, seconds = 0.0;

  auto work = [&](int index) {
    if (!affinity.RestrictCurrentThread({processors[index]})) failed = true;
    ReferenceWork reference = make(index, threads);
    barrier.ArriveAndWait([&] { more = !failed; });
    while (more) {
      reference.prepare();
      barrier.ArriveAndWait();
      barrier.ArriveAndWait([&] { start = Now(); });
      const double done = reference.run();
      barrier.ArriveAndWait([&] { seconds += Now() - start; });
      workPerThread[index] += done;
      barrier.ArriveAndWait([&] { more = seconds < kMinSeconds; });
    }
  };
  std::vector<std::thread> team;
  for (int i = 0; i < threads; ++i) team.emplace_back(work, i);
  for (std::thread& t : team) t.join();
  if (failed || seconds <= 0.0) return 0.0;
  double total = 0.0;
  for (double w : workPerThread) total += w;
  return total / seconds;
}

}  // namespace velora::bench
