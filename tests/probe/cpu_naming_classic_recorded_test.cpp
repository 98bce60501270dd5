// Recorded processors of the classic era, named as worked out by hand in
// tests/data/cpu/naming_classic.tsv.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "probe/cpu/cpu_era.h"
#include "probe/cpu/cpu_probe.h"
#include "probe_test_environment.h"

namespace velora {
namespace {

namespace fs = std::filesystem;

const fs::path kDumps = fs::path(VELORA_TESTDATA) / "cpuid";
const fs::path kTable =
    fs::path(VELORA_TESTS_DIR) / "data" / "cpu" / "naming_classic.tsv";

struct NamedDump {
  std::string dump;
  std::string nameWithCodeName;
  std::string vendorPlusName;
  std::string platform;
  std::string process;
  int32_t method = -1;
};

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    out.push_back(line.substr(start, tab - start));
  }
  out.push_back(line.substr(start));
  return out;
}

std::vector<NamedDump> ReadTable() {
  std::vector<NamedDump> out;
  std::ifstream in(kTable);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> cells = SplitTabs(line);
    if (cells.size() != 6) {
      ADD_FAILURE() << "malformed row: " << line;
      continue;
    }
    out.push_back({cells[0], cells[1], cells[2], cells[3], cells[4], std::stoi(cells[5])});
  }
  return out;
}

class ClassicNamingRecordedTest : public ::testing::TestWithParam<NamedDump> {};

TEST_P(ClassicNamingRecordedTest, NamesTheProcessorAsWorkedByHand) {
  const NamedDump& row = GetParam();
  TestProbeEnvironment t;
  ASSERT_GT(t.cpuid.LoadDump((kDumps / row.dump).string()), 0) << row.dump;
  if (t.cpuid.logicalProcessors > 0) t.system.processors = t.cpuid.logicalProcessors;
  CpuProbe probe(t.env, 1, 0);
  ASSERT_FALSE(IsProcessorOfToday(probe.Fields())) << "not a classic processor: " << row.dump;

  auto text = [&](uint32_t id) {
    std::string s;
    EXPECT_EQ(probe.GetString(id, s), 0);
    return s;
  };
  int32_t method = 0;
  probe.GetInt(0x1202, method);
  EXPECT_EQ(text(0x1001), row.nameWithCodeName);
  EXPECT_EQ(text(0x100C), row.vendorPlusName);
  EXPECT_EQ(text(0x1006), row.platform);
  EXPECT_EQ(text(0x100D), row.process);
  EXPECT_EQ(method, row.method);
}

INSTANTIATE_TEST_SUITE_P(Recorded, ClassicNamingRecordedTest, ::testing::ValuesIn(ReadTable()),
                         [](const auto& info) {
                           std::string n = info.param.dump;
                           for (char& c : n) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return n;
                         });

TEST(ClassicNamingRecordedTable, CoversEveryClassicFamilyFolder) {
  std::vector<NamedDump> rows = ReadTable();
  EXPECT_GE(rows.size(), 45u);
  std::set<std::string> folders;
  for (const NamedDump& row : rows) folders.insert(fs::path(row.dump).parent_path().string());
  for (const char* folder : {"intel/ia-32/p6", "intel/ia-32/netburst", "intel/x86-64/netburst",
                             "amd/k5", "amd/k6", "amd/k7", "amd/k8", "via/samuel",
                             "via/samuel2", "via/ezra", "via/nehemiah", "via/esther"}) {
    EXPECT_EQ(folders.count(folder), 1u) << folder;
  }
}

}  // namespace
}  // namespace velora
