#include "platform/memory_facts.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace velora {
namespace {

TEST(CacheSizeBytes, KernelSuffixes) {
  struct Case {
    const char* text;
    uint64_t bytes;
  } cases[] = {{"32768K", 32768ull << 10}, {"2M", 2ull << 20}, {"1G", 1ull << 30}, {"4096", 4096},
               {"", 0},  {"K", 0},  {"12KB", 0},  {"-5K", 0}, {"9999999999999K", 0}};
  for (const Case& c : cases) EXPECT_EQ(CacheSizeBytes(c.text), c.bytes) << c.text;
}

void WriteCache(const testing::TempFolder& root, int cpu, int index, const char* type, int level,
                const char* size, const char* shared) {
  const std::string dir = "sys/devices/system/cpu/cpu" + std::to_string(cpu) + "/cache/index" +
                          std::to_string(index) + "/";
  testing::WriteText(root.file(dir + "type"), std::string(type) + "\n");
  testing::WriteText(root.file(dir + "level"), std::to_string(level) + "\n");
  testing::WriteText(root.file(dir + "size"), std::string(size) + "\n");
  testing::WriteText(root.file(dir + "shared_cpu_list"), std::string(shared) + "\n");
}

// Two dies of two processors each, a 32 MB L3 per die: 64 MB of last-level cache in all.
TEST(ReadMemoryFacts, EachSharedCacheCountsOnce) {
  testing::TempFolder root;
  for (int cpu = 0; cpu < 4; ++cpu) {
    const char* die = cpu < 2 ? "0-1" : "2-3";
    WriteCache(root, cpu, 0, "Data", 1, "48K", std::to_string(cpu).c_str());
    WriteCache(root, cpu, 1, "Instruction", 1, "32K", std::to_string(cpu).c_str());
    WriteCache(root, cpu, 2, "Unified", 2, "1024K", std::to_string(cpu).c_str());
    WriteCache(root, cpu, 3, "Unified", 3, "32768K", die);
  }
  testing::WriteText(root.file("sys/devices/system/cpu/cpufreq/policy0"), "");
  testing::WriteText(root.file("proc/meminfo"), "MemTotal:       25165824 kB\nMemFree: 1 kB\n");
  const MemoryFacts facts = ReadMemoryFacts(root.path());
  EXPECT_EQ(facts.lastLevelCacheBytes, 64ull << 20);
  EXPECT_EQ(facts.physicalBytes, 24ull << 30);
}

// Without an L3 the L2s are the last level, one per processor here.
TEST(ReadMemoryFacts, TheHighestLevelIsTheLast) {
  testing::TempFolder root;
  for (int cpu = 0; cpu < 2; ++cpu) {
    WriteCache(root, cpu, 0, "Data", 1, "32K", std::to_string(cpu).c_str());
    WriteCache(root, cpu, 1, "Unified", 2, "512K", std::to_string(cpu).c_str());
  }
  EXPECT_EQ(ReadMemoryFacts(root.path()).lastLevelCacheBytes, 1ull << 20);
}

TEST(ReadMemoryFacts, NothingToReadIsUnknown) {
  testing::TempFolder root;
  const MemoryFacts facts = ReadMemoryFacts(root.path());
  EXPECT_EQ(facts.lastLevelCacheBytes, 0u);
  EXPECT_EQ(facts.physicalBytes, 0u);
}

}  // namespace
}  // namespace velora
