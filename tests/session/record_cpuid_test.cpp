#include "session/record_cpuid.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/fake/fake_cpuid_source.h"
#include "platform/fake/fake_processor_affinity.h"

namespace velora {
namespace {

std::set<uint32_t> SubLeavesOf(const CpuidLeaves& leaves, uint32_t leaf) {
  std::set<uint32_t> subs;
  for (const auto& [key, registers] : leaves)
    if (key.first == leaf) subs.insert(key.second);
  return subs;
}

TEST(RecordCpuid, SubLeavesAreReadAsEachLeafCountsThem) {
  FakeCpuidSource cpuid;
  cpuid.Set(0, 0, {0x14, 0, 0, 0});
  // Leaf 4: three caches, then type 0.
  for (uint32_t sub = 0; sub < 3; ++sub) cpuid.Set(4, sub, {0x121 + sub, 1, 1, 0});
  cpuid.Set(7, 0, {2, 1, 0, 0});                     // sub-leaves 0 to 2
  cpuid.Set(0xB, 0, {1, 2, 0x100, 0});               // SMT level
  cpuid.Set(0xB, 1, {4, 8, 0x201, 0});               // core level; sub-leaf 2 reads type 0
  cpuid.Set(0xD, 0, {7, 0x340, 0x340, 0});
  cpuid.Set(0xD, 1, {1, 0, 0, 0});
  cpuid.Set(0xD, 2, {0x100, 0x240, 0, 0});           // 3 to 63 all zero
  cpuid.Set(0xF, 0, {0, 0, 0, 0b10});                // sub-leaf 1 only
  cpuid.Set(0x10, 0, {0, 0b110, 0, 0});              // sub-leaves 1 and 2
  cpuid.Set(0x14, 0, {1, 0, 0, 0});
  cpuid.Set(0x80000000, 0, {0x80000008, 0, 0, 0});
  const CpuidLeaves leaves = ReadProcessorLeaves(cpuid);

  const std::pair<uint32_t, std::set<uint32_t>> expected[] = {
      {0, {0}}, {1, {0}}, {3, {0}}, {4, {0, 1, 2, 3}}, {7, {0, 1, 2}}, {0xB, {0, 1, 2}},
      {0xD, {0, 1, 2}}, {0xF, {0, 1}}, {0x10, {0, 1, 2}}, {0x14, {0, 1}}, {0x13, {0}},
      {0x15, {}}, {0x80000000, {0}}, {0x80000008, {0}}, {0x80000009, {}}, {0x40000000, {}},
  };
  for (const auto& [leaf, subs] : expected) {
    SCOPED_TRACE(leaf);
    EXPECT_EQ(SubLeavesOf(leaves, leaf), subs);
  }
  EXPECT_EQ(leaves.at({4, 2}).eax, 0x123u);
}

TEST(RecordCpuid, ALyingProcessorIsReadOnlyWithinBounds) {
  FakeCpuidSource cpuid;
  cpuid.Set(0, 0, {0xFFFFFFFF, 0, 0, 0});
  cpuid.Set(1, 0, {0, 0, 1u << 31, 0});  // a hypervisor runs us
  cpuid.Set(0x40000000, 0, {0x4FFFFFFF, 0, 0, 0});
  cpuid.Set(0x80000000, 0, {0xFFFFFFFF, 0, 0, 0});
  // Leaves that never end their lists.
  for (uint32_t sub = 0; sub < 200; ++sub) {
    cpuid.Set(4, sub, {1, 0, 0, 0});
    cpuid.Set(0xB, sub, {0, 0, 0x100, 0});
  }
  cpuid.Set(7, 0, {0xFFFFFFFF, 0, 0, 0});
  const CpuidLeaves leaves = ReadProcessorLeaves(cpuid);
  EXPECT_EQ(SubLeavesOf(leaves, 4).size(), kMostSubLeaves);
  EXPECT_EQ(SubLeavesOf(leaves, 0xB).size(), kMostSubLeaves);
  EXPECT_EQ(SubLeavesOf(leaves, 7).size(), kMostSubLeaves);
  EXPECT_EQ(SubLeavesOf(leaves, 0xFF).size(), 1u);
  EXPECT_TRUE(SubLeavesOf(leaves, 0x100).empty());
  EXPECT_EQ(SubLeavesOf(leaves, 0x400000FF).size(), 1u);
  EXPECT_TRUE(SubLeavesOf(leaves, 0x40000100).empty());
  EXPECT_EQ(SubLeavesOf(leaves, 0x800000FF).size(), 1u);
  EXPECT_TRUE(SubLeavesOf(leaves, 0x80000100).empty());
}

TEST(RecordCpuid, EveryAllowedProcessorIsReadAndTheBindingGivenBack) {
  FakeCpuidSource cpuid;
  cpuid.Set(0, 0, {1, 0, 0, 0});
  FakeProcessorAffinity affinity({0, 1, 3});
  std::vector<int> skipped;
  const CpuidRecording recording = ReadAllProcessors(cpuid, affinity, skipped);
  ASSERT_EQ(recording.processors.size(), 3u);
  EXPECT_EQ(recording.processors[2].number, 3u);
  EXPECT_EQ(recording.logicalProcessors, 3);
  EXPECT_TRUE(skipped.empty());
  EXPECT_EQ(affinity.bindings.load(), 4);  // one per processor, then all of them again

  FakeProcessorAffinity refusing({0, 1});
  refusing.refuseBinding = true;
  EXPECT_TRUE(ReadAllProcessors(cpuid, refusing, skipped).processors.empty());
  EXPECT_EQ(skipped, (std::vector<int>{0, 1}));
}

}  // namespace
}  // namespace velora
