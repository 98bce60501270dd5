// Every recorded processor decodes with self-consistent results; the ones with a hand-worked
// expectation file in tests/data/cpu/ match it field by field.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "probe/cpu/cpu_leaves.h"
#include "probe/cpu/cpu_probe.h"
#include "probe/cpu/cpu_vendor.h"
#include "probe_test_environment.h"

namespace velora {
namespace {

namespace fs = std::filesystem;

const fs::path kDumps = fs::path(VELORA_TESTDATA) / "cpuid";
const fs::path kExpected = fs::path(VELORA_TESTS_DIR) / "data" / "cpu";

std::vector<std::string> AllDumps() {
  std::vector<std::string> out;
  if (!fs::exists(kDumps)) return out;
  for (const auto& entry : fs::recursive_directory_iterator(kDumps)) {
    if (entry.is_regular_file() && entry.path().extension() == ".txt") {
      out.push_back(fs::relative(entry.path(), kDumps).string());
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::string ExpectedFileFor(const std::string& dump) {
  std::string name = dump;
  for (size_t at; (at = name.find('/')) != std::string::npos;) name.replace(at, 1, "__");
  return (kExpected / (name.substr(0, name.size() - 4) + ".expected")).string();
}

struct Replayed {
  TestProbeEnvironment t;
  std::unique_ptr<CpuProbe> probe;
};

std::unique_ptr<Replayed> Replay(const std::string& dump) {
  auto r = std::make_unique<Replayed>();
  EXPECT_GT(r->t.cpuid.LoadDump((kDumps / dump).string()), 0) << dump;
  r->t.system.processors = r->t.cpuid.logicalProcessors;
  r->probe = std::make_unique<CpuProbe>(r->t.env, 1, 0);
  return r;
}

class CpuCorpusTest : public ::testing::TestWithParam<std::string> {};

TEST_P(CpuCorpusTest, DecodesConsistently) {
  auto r = Replay(GetParam());
  const CpuFields& f = r->probe->Fields();
  FakeCpuidSource& cpuid = r->t.cpuid;

  const CpuVendorRow* vendor = FindCpuVendor(f.vendorString);
  EXPECT_EQ(f.vendorCode, vendor ? vendor->code : 0);
  // Centaur's short name is replaced by the maker the naming finds: VIA from the C3 on, or
  // Zhaoxin.
  if (f.vendorCode == kVendorIdt && f.vendorShortName != "IDT") {
    EXPECT_TRUE(f.vendorShortName == "Zhaoxin" ||
                (f.vendorShortName == "VIA" && (f.family > 6 || (f.family == 6 && f.model >= 5))))
        << f.vendorShortName << " " << f.family << "/" << f.model;
  } else {
    EXPECT_EQ(f.vendorShortName, vendor ? std::string(vendor->shortName) : std::string());
  }

  if (f.highestExtendedLeaf >= 0x80000004u) {
    uint32_t regs[12];
    for (uint32_t i = 0; i < 3; ++i) {
      CpuidRegisters q = cpuid.Query(0x80000002 + i, 0);
      regs[4 * i] = q.eax, regs[4 * i + 1] = q.ebx, regs[4 * i + 2] = q.ecx, regs[4 * i + 3] = q.edx;
    }
    std::string raw(reinterpret_cast<const char*>(regs), 48);
    raw = raw.substr(0, raw.find('\0'));
    EXPECT_EQ(f.brandString, raw.substr(std::min(raw.size(), raw.find_first_not_of(' '))));
  } else {
    EXPECT_EQ(f.brandString, "");
  }

  bool intelLeaf2 = f.vendorCode == kVendorIntel && f.highestStandardLeaf >= 2 &&
                    (cpuid.Query(2, 0).eax >> 8) != 0;
  bool amdLeaves = f.vendorCode != kVendorIntel && f.highestExtendedLeaf >= 0x80000005u &&
                   cpuid.Query(0x80000005, 0).ecx != 0;
  if (intelLeaf2) {
    EXPECT_TRUE(f.l1Data > 0 || f.l1Instruction > 0 || f.l2 > 0 || f.l3 > 0 || f.traceCache > 0);
  }
  if (amdLeaves) {
    EXPECT_GT(f.l1Data, 0);
  }
  EXPECT_GE(f.coresPerPackage, 1);
  EXPECT_EQ(f.multiCore, f.coresPerPackage >= 2 ? 1 : 0);
  if (f.logicalPerCore <= 1) {
    EXPECT_EQ(f.hyperThreading, 0);
  }
  EXPECT_EQ(f.familyModelStepping.size(), 3u);
  EXPECT_EQ(f.processors, cpuid.logicalProcessors > 0 ? cpuid.logicalProcessors : 1);
}

INSTANTIATE_TEST_SUITE_P(Recorded, CpuCorpusTest, ::testing::ValuesIn(AllDumps()),
                         [](const auto& info) {
                           std::string n = info.param;
                           for (char& c : n) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return n;
                         });

TEST(CpuCorpusTest, TheCorpusIsThere) { EXPECT_GE(AllDumps().size(), 200u); }

struct Expectation {
  uint32_t id;
  char form;
  std::string value;
};

std::vector<Expectation> ReadExpectations(const std::string& path) {
  std::vector<Expectation> out;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    Expectation e;
    e.id = static_cast<uint32_t>(std::stoul(line.substr(0, 6), nullptr, 16));
    e.form = line.size() > 7 ? line[7] : '?';
    e.value = line.size() > 9 ? line.substr(9) : std::string();
    out.push_back(e);
  }
  return out;
}

std::vector<std::string> ExpectedDumps() {
  std::vector<std::string> out;
  for (const std::string& dump : AllDumps()) {
    if (fs::exists(ExpectedFileFor(dump))) out.push_back(dump);
  }
  return out;
}

class CpuExpectedTest : public ::testing::TestWithParam<std::string> {};

TEST_P(CpuExpectedTest, MatchesTheHandWorkedFields) {
  auto r = Replay(GetParam());
  std::vector<Expectation> expected = ReadExpectations(ExpectedFileFor(GetParam()));
  ASSERT_GT(expected.size(), 10u);
  for (const Expectation& e : expected) {
    std::string actual;
    if (e.form == 'S') {
      EXPECT_EQ(r->probe->GetString(e.id, actual), 0);
    } else {
      int32_t v = 0;
      EXPECT_EQ(r->probe->GetInt(e.id, v), 0);
      actual = std::to_string(v);
    }
    EXPECT_EQ(actual, e.value) << "id 0x" << std::hex << e.id << " (" << e.form << ")";
  }
}

INSTANTIATE_TEST_SUITE_P(HandWorked, CpuExpectedTest, ::testing::ValuesIn(ExpectedDumps()),
                         [](const auto& info) {
                           std::string n = info.param;
                           for (char& c : n) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return n;
                         });

TEST(CpuExpectedTest, AtLeastTwentyDumpsAreWorkedByHand) { EXPECT_GE(ExpectedDumps().size(), 20u); }

}  // namespace
}  // namespace velora
