// The workers of one sub-test: where they run, when they run, and that one wrong answer sinks
// the figure of all.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <thread>
#include <vector>

#include "engine/parallel_measure.h"
#include "platform/fake/fake_clock_source.h"
#include "platform/fake/fake_processor_affinity.h"

namespace velora::engine {
namespace {

// Clock reads and the workers' runs in the one order in which they happened.
struct Event {
  enum Kind { kClock, kBegin, kEnd } kind;
  int worker = -1;
  std::thread::id thread;
  int processor = -1;
};

class EventLog {
 public:
  void Add(Event e) {
    std::lock_guard lock(mutex_);
    events_.push_back(e);
  }
  std::vector<Event> Events() {
    std::lock_guard lock(mutex_);
    return events_;
  }

 private:
  std::mutex mutex_;
  std::vector<Event> events_;
};

// Every read moves 1 ms on and is logged, so the log shows what each timed interval covered.
class LoggingClock : public FakeClockSource {
 public:
  explicit LoggingClock(EventLog& log) : log_(log) { nanosecondsPerRead = 1'000'000; }
  uint64_t PerformanceCounter() override {
    log_.Add({Event::kClock, -1, std::this_thread::get_id(), -1});
    return FakeClockSource::PerformanceCounter();
  }

 private:
  EventLog& log_;
};

// Counts the worker threads alive: each takes a token on its first run, given back when the
// thread ends.
std::atomic<int> gLiveWorkerThreads{0};
struct ThreadToken {
  ThreadToken() { ++gLiveWorkerThreads; }
  ~ThreadToken() { --gLiveWorkerThreads; }
};
thread_local std::unique_ptr<ThreadToken> tToken;

struct Shared {
  EventLog log;
  FakeProcessorAffinity* affinity = nullptr;
  int workers = 0;
  std::atomic<int> begun{0};
  std::atomic<bool> allSeenRunning{true};
  int wrongWorker = -1, wrongRun = -1;
};

class RecordingKernel : public BenchKernel {
 public:
  RecordingKernel(Shared& shared, int worker) : shared_(shared), worker_(worker) {}
  bool Prepare() override { return true; }
  void Run() override {
    if (!tToken) tToken = std::make_unique<ThreadToken>();
    shared_.log.Add({Event::kBegin, worker_, std::this_thread::get_id(), shared_.affinity->CurrentProcessor()});
    // The first run waits until every worker is inside its run: workers run at once, not in
    // turn (in turn, this would time out).
    ++shared_.begun;
    if (runs_ == 0) {
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
      while (shared_.begun < shared_.workers && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
      if (shared_.begun < shared_.workers) shared_.allSeenRunning = false;
    }
    shared_.log.Add({Event::kEnd, worker_, std::this_thread::get_id(), shared_.affinity->CurrentProcessor()});
    ++runs_;
  }
  bool Verify() override { return !(worker_ == shared_.wrongWorker && runs_ - 1 == shared_.wrongRun); }
  double WorkPerRun() const override { return 500.0; }

 private:
  Shared& shared_;
  int worker_;
  int runs_ = 0;
};

struct Outcome {
  Measurement m;
  std::vector<Event> events;
};

Outcome Measure(Shared& shared, const std::vector<int>& processors, double minSeconds) {
  FakeProcessorAffinity affinity(processors);
  shared.affinity = &affinity;
  shared.workers = static_cast<int>(processors.size());
  LoggingClock clock(shared.log);
  Outcome out;
  out.m = MeasureOnProcessors([&](int worker) { return std::make_unique<RecordingKernel>(shared, worker); },
                              processors, affinity, clock, minSeconds);
  out.events = shared.log.Events();
  return out;
}

// Splits the log at the clock reads: interval i lies between read 2i and read 2i+1.
std::vector<std::vector<Event>> TimedIntervals(const std::vector<Event>& events, bool& nothingOutside) {
  std::vector<std::vector<Event>> intervals;
  bool open = false;
  nothingOutside = true;
  for (const Event& e : events) {
    if (e.kind == Event::kClock) {
      if (!open) intervals.emplace_back();
      open = !open;
    } else if (open) {
      intervals.back().push_back(e);
    } else {
      nothingOutside = false;
    }
  }
  return intervals;
}

TEST(MeasureOnProcessors, WorkersStartTogetherAndTheClockStopsAfterTheLast) {
  Shared shared;
  const std::vector<int> processors = {1, 4, 6};
  Outcome out = Measure(shared, processors, 0.005);
  ASSERT_TRUE(out.m.ok);
  // Each run is 1 ms on the scripted clock: five runs reach 5 ms.
  EXPECT_EQ(out.m.runs, 5);
  EXPECT_DOUBLE_EQ(out.m.workPerSecond, 3 * 500.0 / 0.001);
  EXPECT_TRUE(shared.allSeenRunning);

  bool nothingOutside = false;
  auto intervals = TimedIntervals(out.events, nothingOutside);
  EXPECT_TRUE(nothingOutside) << "a run began or ended outside the timed intervals";
  ASSERT_EQ(intervals.size(), 5u);
  for (const auto& interval : intervals) {
    std::multiset<int> begun, ended;
    for (const Event& e : interval) (e.kind == Event::kBegin ? begun : ended).insert(e.worker);
    EXPECT_EQ(begun, (std::multiset<int>{0, 1, 2})) << "every worker runs once in every interval";
    EXPECT_EQ(ended, (std::multiset<int>{0, 1, 2}));
  }

  // One thread per worker, never the caller's, each bound to its own processor of the mask.
  std::map<int, std::set<std::thread::id>> threadsOf;
  std::map<int, std::set<int>> processorsOf;
  for (const Event& e : out.events) {
    if (e.kind == Event::kClock) continue;
    threadsOf[e.worker].insert(e.thread);
    processorsOf[e.worker].insert(e.processor);
    EXPECT_NE(e.thread, std::this_thread::get_id());
  }
  std::set<std::thread::id> threads;
  std::set<int> used;
  for (int w = 0; w < 3; ++w) {
    ASSERT_EQ(threadsOf[w].size(), 1u) << "worker " << w << " changed threads";
    ASSERT_EQ(processorsOf[w].size(), 1u) << "worker " << w << " changed processors";
    threads.insert(*threadsOf[w].begin());
    used.insert(*processorsOf[w].begin());
  }
  EXPECT_EQ(threads.size(), 3u);
  EXPECT_EQ(used, (std::set<int>{1, 4, 6}));
}

TEST(MeasureOnProcessors, OneProcessorRunsOneWorker) {
  Shared shared;
  Outcome out = Measure(shared, {2}, 0.003);
  ASSERT_TRUE(out.m.ok);
  std::set<std::thread::id> threads;
  for (const Event& e : out.events)
    if (e.kind != Event::kClock) {
      threads.insert(e.thread);
      EXPECT_EQ(e.worker, 0);
      EXPECT_EQ(e.processor, 2);
    }
  EXPECT_EQ(threads.size(), 1u);
  EXPECT_DOUBLE_EQ(out.m.workPerSecond, 500.0 / 0.001);
}

TEST(MeasureOnProcessors, AWrongResultInOneWorkerFailsTheMeasurementAndStopsAll) {
  Shared shared;
  shared.wrongWorker = 1;
  shared.wrongRun = 2;
  Outcome out = Measure(shared, {0, 1, 2}, 0.010);
  EXPECT_FALSE(out.m.ok);
  EXPECT_EQ(out.m.workPerSecond, 0.0);
  bool nothingOutside = false;
  EXPECT_EQ(TimedIntervals(out.events, nothingOutside).size(), 3u) << "no run after the wrong one";
}

TEST(MeasureOnProcessors, NoWorkerThreadOutlivesTheCall) {
  for (int workers : {1, 2, 5}) {
    Shared shared;
    shared.wrongWorker = workers == 5 ? 3 : -1;
    shared.wrongRun = 0;
    std::vector<int> processors(workers);
    for (int i = 0; i < workers; ++i) processors[i] = i;
    Measure(shared, processors, 0.002);
    EXPECT_EQ(gLiveWorkerThreads, 0) << workers << " workers";
  }
}

TEST(MeasureOnProcessors, AWorkerThatCannotPrepareRunsNobody) {
  FakeProcessorAffinity affinity({0, 1});
  FakeClockSource clock;
  clock.nanosecondsPerRead = 1'000'000;
  std::atomic<int> runs{0};
  struct Unprepared : BenchKernel {
    std::atomic<int>& runs;
    bool ok;
    Unprepared(std::atomic<int>& r, bool k) : runs(r), ok(k) {}
    bool Prepare() override { return ok; }
    void Run() override { ++runs; }
    bool Verify() override { return true; }
    double WorkPerRun() const override { return 1.0; }
  };
  Measurement m = MeasureOnProcessors(
      [&](int worker) { return std::make_unique<Unprepared>(runs, worker == 0); }, {0, 1}, affinity,
      clock, 0.001);
  EXPECT_FALSE(m.ok);
  EXPECT_EQ(runs, 0);

  // A factory that throws (no memory) is a failure too, not an escaped exception.
  m = MeasureOnProcessors(
      [&](int worker) -> std::unique_ptr<BenchKernel> {
        if (worker == 1) throw std::bad_alloc();
        return std::make_unique<Unprepared>(runs, true);
      },
      {0, 1}, affinity, clock, 0.001);
  EXPECT_FALSE(m.ok);
  EXPECT_EQ(runs, 0);
}

}  // namespace
}  // namespace velora::engine
