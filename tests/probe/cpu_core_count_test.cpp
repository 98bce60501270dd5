// Core counts of the processors of today: recorded processors against their published facts,
// the walk over every logical processor that counts a hybrid's cores on a live machine, and
// the published-count table's model-number matching.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cpu_fixture.h"
#include "probe/cpu/cpu_today_cores.h"

namespace velora {
namespace {

namespace fs = std::filesystem;

const fs::path kDumps = fs::path(VELORA_TESTDATA) / "cpuid";
const fs::path kTable =
    fs::path(VELORA_TESTS_DIR) / "data" / "cpu" / "cores_today.tsv";

struct Published {
  std::string dump;
  int32_t cores = 0;
  int32_t logicalPerCore = 0;
  std::string l2;
};

std::vector<Published> ReadTable() {
  std::vector<Published> out;
  std::ifstream in(kTable);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> cells;
    std::stringstream s(line);
    for (std::string cell; std::getline(s, cell, '\t');) cells.push_back(cell);
    cells.resize(4);
    out.push_back({cells[0], std::stoi(cells[1]), std::stoi(cells[2]), cells[3]});
  }
  return out;
}

class PublishedCoreCountTest : public ::testing::TestWithParam<Published> {};

TEST_P(PublishedCoreCountTest, RecordedProcessorAnswersItsPublishedCounts) {
  const Published& p = GetParam();
  TestProbeEnvironment t;
  ASSERT_GT(t.cpuid.LoadDump((kDumps / p.dump).string()), 0) << p.dump;
  t.system.processors = t.cpuid.logicalProcessors;
  CpuProbe probe(t.env, 1, 0);
  int32_t cores = 0, logical = 0, multiCore = 0, l2 = 0;
  probe.GetInt(0x10B0, cores);
  probe.GetInt(0x103E, logical);
  probe.GetInt(0x1092, multiCore);
  probe.GetInt(0x103C, l2);
  EXPECT_EQ(cores, p.cores);
  EXPECT_EQ(logical, p.logicalPerCore);
  EXPECT_EQ(multiCore, p.cores >= 2 ? 1 : 0);
  if (p.l2 != "-") {
    EXPECT_EQ(l2, std::stoi(p.l2));
  }
}

INSTANTIATE_TEST_SUITE_P(Recorded, PublishedCoreCountTest, ::testing::ValuesIn(ReadTable()),
                         [](const auto& info) {
                           std::string n = info.param.dump;
                           for (char& c : n) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return n;
                         });

TEST(PublishedCoreCountTest, TheTableCoversEveryGroup) { EXPECT_GE(ReadTable().size(), 50u); }

// ---- The walk over the logical processors ----

// A hybrid of 2 performance cores with two threads each and 4 efficient cores: 8 logical
// processors, x2APIC identifiers 0, 1, 2, 3 (performance) and 8, 10, 12, 14 (efficient), as
// Intel spaces them, SMT shift 1 and package shift 4 in leaf 0xB.
class HybridWalkTest : public CpuFixture {
 protected:
  void SetUp() override {
    SetVendor("GenuineIntel", 0x1A);
    SetLeaf(1, {0x000906A3, 0x00080800, 0, 1u << 28});  // display model 0x9A
    SetLeaf(7, {0, 0, 0, 1u << 15});
    SetBrandString("12th Gen Intel(R) Core(TM) i7-1265U");
    const uint32_t ids[8] = {0, 1, 2, 3, 8, 10, 12, 14};
    for (uint32_t cpu = 0; cpu < 8; ++cpu) {
      bool performance = ids[cpu] < 8;
      auto& own = t.cpuid.perProcessor[1u << cpu];
      own[{0xB, 0}] = {1, performance ? 2u : 1u, 0x100, ids[cpu]};
      own[{0xB, 1}] = {4, 8, 0x201, ids[cpu]};
      own[{0xB, 2}] = {0, 0, 2, ids[cpu]};
    }
    // The leaves as processor 0 answers them, for the identification itself.
    for (uint32_t sub = 0; sub < 3; ++sub) SetLeaf(0xB, t.cpuid.perProcessor[1][{0xB, sub}], sub);
    t.system.processors = 8;
  }
  void SetBrandString(const char* brand) { t.cpuid.SetBrandString(brand); }
};

TEST_F(HybridWalkTest, CountsEveryCoreOnceWhateverItsThreads) {
  SetHighestExtended(0x80000004);
  const CpuFields& f = Identify();
  // The leaves of processor 0 alone: 8 logical / 2 threads = 4; the walk finds 6.
  EXPECT_EQ(f.coresPerPackage, 6);
  EXPECT_EQ(f.logicalPerCore, 2);
  EXPECT_EQ(f.multiCore, 1);
  // One pin for the identification, then one per logical processor.
  ASSERT_EQ(t.cpuid.pinnedMasks.size(), 9u);
  EXPECT_EQ(t.cpuid.pinnedMasks[8], 0x80u);
}

TEST_F(HybridWalkTest, CountsOnlyThePackageOfTheSelectedProcessor) {
  // Processors 4 to 7 moved to a second package (identifiers 16 and up).
  const uint32_t second[4] = {16, 18, 20, 22};
  for (uint32_t cpu = 4; cpu < 8; ++cpu) {
    for (uint32_t sub = 0; sub < 3; ++sub) {
      t.cpuid.perProcessor[1u << cpu][{0xB, sub}].edx = second[cpu - 4];
    }
  }
  EXPECT_EQ(Identify().coresPerPackage, 2);
}

TEST_F(HybridWalkTest, RepeatedIdentifiersLeaveThePublishedCount) {
  // One processor's registers replayed for all, as a recorded dump: the i7-1265U's published
  // 2 performance and 8 efficient cores stand.
  SetHighestExtended(0x80000004);
  t.cpuid.perProcessor.clear();
  EXPECT_EQ(Identify().coresPerPackage, 10);
}

TEST_F(HybridWalkTest, ANonHybridIsNotWalked) {
  SetLeaf(7, {0, 0, 0, 0});
  const CpuFields& f = Identify();
  EXPECT_EQ(f.coresPerPackage, 4);
  EXPECT_EQ(t.cpuid.pinnedMasks.size(), 1u);
}

// ---- AMD family 15h ----

TEST(AmdFamily15hTest, ComputeUnitCoresAreCoresNotThreads) {
  TestProbeEnvironment t;
  CpuidRegisters leaf0{0xD, 0x68747541, 0x444D4163, 0x69746E65};  // "AuthenticAMD"
  t.cpuid.Set(0, 0, leaf0);
  t.cpuid.Set(1, 0, {0x00600F20, 0x00080800, 0, 1u << 28});       // family 15h model 2
  t.cpuid.Set(0x80000000, 0, {0x8000001E, 0, 0, 0});
  t.cpuid.Set(0x80000001, 0, {0x00600F20, 0, 1u << 22, 0});       // topology extensions
  t.cpuid.Set(0x80000008, 0, {0x3030, 0, 7, 0});                   // 8 cores
  t.cpuid.Set(0x8000001E, 0, {0x10, 0x0108, 0, 0});                 // 2 cores per compute unit
  CpuProbe probe(t.env, 1, 0);
  EXPECT_EQ(probe.Fields().coresPerPackage, 8);
  EXPECT_EQ(probe.Fields().logicalPerCore, 0) << "one thread per core: no SMT";
  EXPECT_EQ(probe.Fields().hyperThreading, 0);
}

// ---- The table's model-number matching ----

TEST(PublishedCoreCountTable, SuffixesPartTheSameNumber) {
  auto cores = [](int32_t model, const char* name) {
    const CoreCountRow* row =
        FindPublishedCoreCount(kPublishedCoreCounts, kVendorIntel, 6, model, name);
    return row ? row->performanceCores + row->efficientCores : 0;
  };
  EXPECT_EQ(cores(0x9A, "Core i9-12900H"), 14);
  EXPECT_EQ(cores(0x9A, "Core i9-12900HK"), 14);
  EXPECT_EQ(cores(0x97, "Core i9-12900HX"), 16);
  EXPECT_EQ(cores(0x97, "Core i9-12900K"), 16);
  EXPECT_EQ(cores(0x97, "Core i5-12600K"), 10);
  // The 12600 without K has no efficient cores and no row; nor has a number on another model.
  EXPECT_EQ(cores(0x97, "Core i5-12600"), 0);
  EXPECT_EQ(cores(0x9A, "Core i9-12900K"), 0);
  EXPECT_EQ(cores(0xAA, "Core Ultra 7 155H"), 16);
  EXPECT_EQ(cores(0xAA, "Core Ultra 7 155U"), 12);
  EXPECT_EQ(cores(0xAA, "Core Ultra 7 1555H"), 0);
}

}  // namespace
}  // namespace velora
