#include "info/cpu_page_data.h"

#include <gtest/gtest.h>

#include "probe/probe_id_table.h"
#include "tests/support/fake_probe_object.h"

namespace velora {
namespace {

namespace ids = probe_id;
using testing::FakeProbeObject;

const OsIdentity kOs{"Debian GNU/Linux", "", "12 (bookworm)", "6.1", "6.1.0-28-amd64", ""};

// A Pentium 4 (Northwood) as the probe answers it: family F, a 12 K-uop trace cache whose line
// size is unknown, 8 KB L1 data and 512 KB L2.
FakeProbeObject Northwood() {
  FakeProbeObject p;
  p.texts = {{ids::kCpuVendorString, "GenuineIntel"},
             {ids::kCpuCoreClock, "2400.12"},
             {ids::kCpuRatedClock, "2400.00"},
             {ids::kCpuFamily, "F"},
             {ids::kCpuModel, "2"},
             {ids::kCpuStepping, "9"},
             {ids::kCpuExtendedFamily, "00"},
             {ids::kCpuExtendedModel, "0"},
             {ids::kCpuCacheDetail + 0, "8"},
             {ids::kCpuCacheDetail + 1, "0"},
             {ids::kCpuCacheDetail + 2, "4"},
             {ids::kCpuCacheDetail + 3, "64"},
             {ids::kCpuCacheDetail + 4, "8"},
             {ids::kCpuCacheDetail + 5, "64"},
             {ids::kCpuL2SpeedRatio, "1.00"},
             {ids::kCpuL2SpeedRatioText, "Full"}};
  p.ints = {{ids::kCpuLeaf1Eax, 0xF29},
            {ids::kCpuExtLeaf1Eax, 0},
            {ids::kCpuExtendedModel, 0},
            {ids::kCpuProcessors, 4},
            {ids::kCpuTraceCacheKuops, 12},
            {ids::kCpuL1DataKb, 8},
            {ids::kCpuL2Kb, 512},
            {ids::kCpuCacheDetail + 0, 8},
            {ids::kCpuCacheDetail + 2, 4},
            {ids::kCpuCacheDetail + 4, 8},
            {ids::kCpuCacheDetail + 6, 0},
            {ids::kCpuMmx, 1},
            {ids::kCpuSse3, 0},
            {ids::kCpuSpeedStep, -1},
            {ids::kCpuApicId, 0},
            {ids::kCpuClockRegister1Low, 0x0C},
            {ids::kCpuClockRegister1High, 0x12}};
  return p;
}

TEST(CpuPage, TraceCacheFirstLineAndItsDetailWithoutLineSize) {
  FakeProbeObject probe = Northwood();
  const CpuPageData page = BuildCpuPageData(probe, 0, kOs, 0);
  EXPECT_EQ(page.firstCacheLabel, "L1 T-Cache");
  EXPECT_EQ(page.firstCacheUnit, "KuOps");
  EXPECT_EQ(page.firstCacheValue, "12");
  ASSERT_EQ(page.cacheRows.size(), 3u) << "no L3 row: its ways are 0";
  EXPECT_EQ(page.cacheRows[0].cache, "L1 T-Cache");
  EXPECT_EQ(page.cacheRows[0].detail, "12 KuOps, 8 way set associative.");
  EXPECT_EQ(page.cacheRows[1].detail, "8 KB, 4 way set associative, 64 byte line size.");
  EXPECT_EQ(page.cacheRows[2].cache, "L2 Cache");
  EXPECT_EQ(page.l2Clock, "2400.12");
}

TEST(CpuPage, FourProcessorsInTheSelectorAndTheThirdIsQuery0x1102) {
  FakeProbeObject probe = Northwood();
  const CpuPageData page = BuildCpuPageData(probe, 0, kOs, 0);
  EXPECT_EQ(page.processors, (std::vector<std::string>{"CPU 1", "CPU 2", "CPU 3", "CPU 4"}));
  const int third = ProcessorIndexOfItem(page.processors[2]);
  EXPECT_EQ(third, 2);
  EXPECT_EQ(ids::kCpuSelectProcessor + static_cast<uint32_t>(third), 0x1102u);
  EXPECT_EQ(ProcessorIndexOfItem("CPU"), -1);
  EXPECT_EQ(ProcessorIndexOfItem("GPU 1"), -1);
  EXPECT_EQ(ProcessorIndexOfItem("CPU 0"), -1);
}

TEST(CpuPage, FamilyFShowsFamilyExAndFamilySixDoesNot) {
  FakeProbeObject probe = Northwood();
  CpuPageData page = BuildCpuPageData(probe, 0, kOs, 0);
  EXPECT_EQ(page.familyEx, "00");
  EXPECT_EQ(page.modelEx, "") << "model 2 and an extended model of 0";
  EXPECT_EQ(page.generation, "") << "no extended signature";
  probe.texts[ids::kCpuFamily] = "6";
  probe.texts[ids::kCpuModel] = "F";
  page = BuildCpuPageData(probe, 0, kOs, 0);
  EXPECT_EQ(page.familyEx, "");
  EXPECT_EQ(page.modelEx, "0") << "model F shows ModelEx";
}

TEST(CpuPage, NoTimeStampCounterLeavesTheClocksAndOverClockEmpty) {
  FakeProbeObject probe = Northwood();
  probe.texts[ids::kCpuCoreClock] = "-1.00";
  const CpuPageData page = BuildCpuPageData(probe, 0, kOs, 0);
  EXPECT_TRUE(page.noClock);
  EXPECT_EQ(page.internalClockCurrent, "");
  EXPECT_EQ(page.overClock, "");
  EXPECT_EQ(page.l2Clock, "0.00") << "the ratio is known, the clock is not";
}

TEST(CpuPage, OverClockMemoryLabelsAndRegisters) {
  FakeProbeObject probe = Northwood();
  probe.texts[ids::kCpuCoreClock] = "2640.00";
  const CpuPageData page = BuildCpuPageData(probe, 0, kOs, 512ull * 1048576);
  EXPECT_EQ(page.overClock, "10.00");
  EXPECT_EQ(page.memory, "513") << "bytes / 1048576 + 1";
  EXPECT_TRUE(page.labels[0]) << "MMX";
  EXPECT_FALSE(page.labels[4]) << "SSE3 answered 0";
  EXPECT_FALSE(page.labels[12]) << "SpeedStep answered -1";
  EXPECT_EQ(page.apic, "00") << "APIC shows from 0";
  EXPECT_EQ(page.rawRegisters,
            "EAX = 0000000C, EDX = 00000012\r\nEAX = FFFFFFFF, EDX = FFFFFFFF\r\n");
}

TEST(CpuPage, OsLineShortensServicePack) {
  EXPECT_EQ(OsLine(kOs), "Debian GNU/Linux 12 (bookworm) [ 6.1 Build 6.1.0-28-amd64 ]");
  OsIdentity xp{"Windows XP", "Professional", "Service Pack 2", "5.1", "2600", ""};
  EXPECT_EQ(OsLine(xp), "Windows XP Professional SP2 [ 5.1 Build 2600 ]");
}

}  // namespace
}  // namespace velora
