#include "probe/probe_id_table.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "probe/cpu/cpu_answers.h"
#include "probe/pci/pci_probe.h"
#include "probe_test_environment.h"

namespace velora {
namespace {

// The kind the table gives each id of [first, end), per-device runs over the PCI table.
std::map<uint32_t, ProbeIdKind> KindsIn(uint32_t first, uint32_t end) {
  std::map<uint32_t, ProbeIdKind> kinds;
  for (const ProbeIdRow& row : kProbeIdTable) {
    uint32_t count = row.count == kPerDeviceEntry ? kPciTableEntries : row.count;
    for (uint32_t n = 0; n < count; ++n) {
      if (row.first + n >= first && row.first + n < end) kinds[row.first + n] = row.kind;
    }
  }
  return kinds;
}

bool HasText(ProbeIdKind k) {
  return k == ProbeIdKind::Text || k == ProbeIdKind::TextAndInt || k == ProbeIdKind::TextAction;
}
bool HasInt(ProbeIdKind k) { return k == ProbeIdKind::Int || k == ProbeIdKind::TextAndInt; }

// Every id of the processor range answers in exactly the forms the table gives it; actions and
// commands are handled before the answers are read, so the answers know nothing of them.
TEST(ProbeIdTable, ProcessorAnswersMatchTheTable) {
  auto kinds = KindsIn(kCpuIds.first, kCpuIds.end);
  CpuFields fields;
  for (uint32_t id = kCpuIds.first; id < kCpuIds.end; ++id) {
    auto it = kinds.find(id);
    std::string text;
    int32_t value = 0;
    bool text_answered = CpuTextAnswer(fields, id, text) == 0;
    bool int_answered = CpuIntAnswer(fields, id, value) == 0;
    EXPECT_EQ(text_answered, it != kinds.end() && HasText(it->second)) << std::hex << id;
    EXPECT_EQ(int_answered, it != kinds.end() && HasInt(it->second)) << std::hex << id;
  }
}

// The chipset and device-table ranges likewise, on a bus with no functions at all: the forms do
// not depend on what was found.
TEST(ProbeIdTable, ChipsetAndDeviceAnswersMatchTheTable) {
  TestProbeEnvironment t;
  PciProbe pci(t.env);
  for (ProbeIdRange range : {kChipsetIds, kPciDeviceIds}) {
    auto kinds = KindsIn(range.first, range.end);
    for (uint32_t id = range.first; id < range.end; ++id) {
      auto it = kinds.find(id);
      std::string text;
      int32_t value = 0;
      EXPECT_EQ(pci.GetString(id, text) == 0, it != kinds.end() && HasText(it->second))
          << std::hex << id;
      EXPECT_EQ(pci.GetInt(id, value) == 0, it != kinds.end() && HasInt(it->second))
          << std::hex << id;
    }
  }
}

TEST(ProbeIdTable, NamesAreUniqueAndConstantsMatchRows) {
  std::map<std::string, uint32_t> names;
  for (const ProbeIdRow& row : kProbeIdTable) {
    EXPECT_TRUE(names.emplace(row.name, row.first).second) << row.name;
  }
  EXPECT_EQ(names.at("CpuCoreClock"), probe_id::kCpuCoreClock);
  EXPECT_EQ(probe_id::kCpuCoreClock, 0x1020u);
  EXPECT_EQ(probe_id::kPciDeviceCount, 0x5001u);
  EXPECT_EQ(probe_id::kSmbiosProcessorSocket, 0x6300u);
  EXPECT_EQ(kSelectProcessorIds.end - kSelectProcessorIds.first, 32u);
}

}  // namespace
}  // namespace velora
