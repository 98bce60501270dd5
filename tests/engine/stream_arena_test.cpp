// The MEM streaming arrays: how large, how they are shared out, and that one set serves all the
// calls of a MEM test.

#include "engine/stream_arena.h"

#include <gtest/gtest.h>

#include "engine/sub_test_runner.h"
#include "engine/sub_test_table.h"
#include "platform/fake/fake_clock_source.h"
#include "platform/fake/fake_processor_affinity.h"

namespace velora::engine {
namespace {

constexpr uint64_t kMiB = 1ull << 20;
constexpr uint64_t kGiB = 1ull << 30;

TEST(PlanStreamArrayBytes, FourTimesTheCacheBetweenTheFloorAndAnEighthOfTheMemory) {
  struct Case {
    uint64_t cache, memory, bytes;
  } cases[] = {
      {0, 0, 80'000'000},                 // nothing known: the floor
      {10 * kMiB, 0, 80'000'000},         // four times is below the floor
      {32 * kMiB, 24 * kGiB, 128 * kMiB},
      {508 * kMiB, 24 * kGiB, 2032 * kMiB},
      {1 * kGiB, 24 * kGiB, 3 * kGiB},    // an eighth of the memory caps it
      {96 * kMiB, 512 * kMiB, 64 * kMiB}, // the cap wins over the floor
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlanStreamArrayBytes(c.cache, c.memory), c.bytes) << c.cache << " " << c.memory;
}

TEST(StreamArrayBytes, WholeHugePagesAndAFloorPerWorker) {
  // 80e6 bytes are 38.15 huge pages of 2 MiB: 39.
  EXPECT_EQ(StreamArrayBytes(80'000'000, 1), 39 * 2 * kMiB);
  // 16 workers of 8 MB each need 128e6 bytes: 61.04 pages, 62.
  EXPECT_EQ(StreamArrayBytes(80'000'000, 16), 62 * 2 * kMiB);
  EXPECT_EQ(StreamArrayBytes(2032 * kMiB, 2), 2032 * kMiB);
}

TEST(StreamArena, SlicesCoverTheWholeArrayForAnyWorkerCount) {
  StreamArena arena(6 * kMiB, 1);
  for (int workers : {1, 2, 3, 5, 7, 64}) {
    ASSERT_TRUE(arena.Reserve(false, workers)) << workers;
    EXPECT_EQ(arena.ArrayBytes(), 6 * kMiB) << "the same arrays for every worker count";
    size_t next = 0;
    for (int w = 0; w < workers; ++w) {
      const StreamSlice s = arena.Slice(w);
      EXPECT_EQ(s.firstIndex, next) << workers << " " << w;
      EXPECT_EQ(s.firstIndex % 512, 0u) << "page-aligned";
      EXPECT_GT(s.elements, 0u);
      EXPECT_EQ(s.destination, nullptr);
      next += s.elements;
    }
    EXPECT_EQ(next, 6 * kMiB / 8) << workers;
  }
}

TEST(StreamArena, RemembersWhatTheWorkersLeftUntilReleased) {
  StreamArena arena(2 * kMiB, 1);
  ASSERT_TRUE(arena.Reserve(false, 2));
  EXPECT_FALSE(arena.Slice(0).sourceTouched);
  arena.KeepPrepared(true, false);  // a read
  EXPECT_TRUE(arena.Slice(1).sourceFilled);
  arena.KeepPrepared(false, true);  // a write spoils the pattern
  EXPECT_TRUE(arena.Slice(1).sourceTouched);
  EXPECT_FALSE(arena.Slice(1).sourceFilled);
  ASSERT_TRUE(arena.Reserve(true, 2));
  EXPECT_FALSE(arena.Slice(0).destinationTouched);
  arena.KeepPrepared(false, false);  // a copy over a touched source leaves it as it was
  EXPECT_FALSE(arena.Slice(0).sourceFilled);
  EXPECT_TRUE(arena.Slice(0).destinationTouched);
  arena.Release();
  EXPECT_FALSE(arena.Held());
  ASSERT_TRUE(arena.Reserve(false, 1));
  EXPECT_FALSE(arena.Slice(0).sourceTouched) << "fresh arrays after a release";
}

constexpr RunBudget kQuick{.size = KernelSize::kSmall, .minSeconds = 0.0};

// Read, Write, Read/Write and Read again, on changing processor counts: every call's checks see
// the right pattern in arrays that earlier calls prepared (a write spoils it for the next read).
TEST(StreamArena, OneSetServesEveryStreamingCall) {
  FakeClockSource clock;
  clock.nanosecondsPerRead = 1'000'000;
  StreamArena arena(4 * kMiB, 1);
  RunBudget budget = kQuick;
  budget.streams = &arena;
  FakeProcessorAffinity one({0}), two({0, 1}), three({0, 1, 2});
  struct Call {
    int32_t sub;
    ProcessorAffinity* affinity;
  } calls[] = {{0, &two}, {0, &three}, {1, &two}, {0, &one}, {2, &two}, {2, &three}, {0, &two}};
  for (const Call& c : calls) {
    int32_t score = -2, value = -2;
    EXPECT_EQ(RunSubTest(kMem, c.sub, nullptr, clock, *c.affinity, budget, &score, &value), 0) << c.sub;
    EXPECT_GT(value, 0) << c.sub;
    EXPECT_TRUE(arena.Held()) << "kept for the next call";
    EXPECT_EQ(arena.ArrayBytes(), 4 * kMiB);
  }
}

TEST(StreamArena, AFailedCallReleasesTheArrays) {
  FakeClockSource clock;
  clock.nanosecondsPerRead = 1'000'000;
  StreamArena arena(2 * kMiB, 1);
  RunBudget budget = kQuick;
  budget.streams = &arena;
  FakeProcessorAffinity refusing({0, 1});
  refusing.refuseBinding = true;
  int32_t score = 0, value = 0;
  EXPECT_EQ(RunSubTest(kMem, 0, nullptr, clock, refusing, budget, &score, &value), -1);
  EXPECT_EQ(score, -1);
  EXPECT_FALSE(arena.Held());
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// Memory the system refuses is a failed sub-test, never a score of 0 or a crash.
TEST(StreamArena, RefusedMemoryFailsTheSubTest) {
  FakeClockSource clock;
  clock.nanosecondsPerRead = 1'000'000;
  StreamArena arena(1ull << 50, 1);
  RunBudget budget = kQuick;
  budget.streams = &arena;
  FakeProcessorAffinity two({0, 1});
  int32_t score = 0, value = 0;
  EXPECT_EQ(RunSubTest(kMem, 2, nullptr, clock, two, budget, &score, &value), -1);
  EXPECT_EQ(score, -1);
  EXPECT_EQ(value, 0);
  EXPECT_FALSE(arena.Held());
}
#endif

}  // namespace
}  // namespace velora::engine
