// Every flag bit a recorded processor of today sets has a named row on the Feature page, and
// the leaves beyond leaf 7 sub-leaf 0 reach the page.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "info/cpu_extensions.h"
#include "info/feature_page_data.h"
#include "probe/cpu/cpu_era.h"
#include "probe/cpu/cpu_probe.h"
#include "probe/probe_id_table.h"
#include "tests/probe/probe_test_environment.h"
#include "tests/support/fake_probe_object.h"

namespace velora {
namespace {

namespace fs = std::filesystem;
namespace ids = probe_id;

const fs::path kDumps = fs::path(VELORA_TESTDATA) / "cpuid";

// The probe's answers for the Feature page, as the page reads them.
testing::FakeProbeObject FeatureAnswers(CpuProbe& probe) {
  testing::FakeProbeObject answers;
  std::string vendor;
  probe.GetString(ids::kCpuVendorShortName, vendor);
  answers.texts[ids::kCpuVendorShortName] = vendor;
  for (uint32_t id : {ids::kCpuLeaf1Edx, ids::kCpuLeaf1Ecx, ids::kCpuExtLeaf1Edx,
                      ids::kCpuExtLeaf1Ecx, ids::kCpuLeaf7Ebx, ids::kCpuLeaf7Ecx, ids::kCpuLeaf7Edx,
                      ids::kCpuLeaf7Sub1Eax, ids::kCpuLeafDSub1Eax, ids::kCpuLeaf6Eax,
                      ids::kCpuExtLeaf7Edx, ids::kCpuExtLeaf8Ebx}) {
    int32_t value = 0;
    probe.GetInt(id, value);
    answers.ints[id] = value;
  }
  return answers;
}

std::vector<std::string> DumpsOfToday() {
  std::vector<std::string> out;
  for (const char* folder : {"amd/zen", "amd/zen2", "amd/zen3", "amd/zen4", "amd/zen5",
                             "intel/x86-64"}) {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(kDumps / folder, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
      if (it->path().extension() == ".txt") out.push_back(it->path().string());
    }
  }
  return out;
}

// Set bits the vendors' public manuals leave reserved, with the dumps that set them ("" for any).
struct Undocumented {
  FeatureRegister reg;
  int bit;
  const char* dump;
};
constexpr Undocumented kUndocumented[] = {
    // Zen 2 and Zen 3 set 80000008h EBX bit 10, which AMD's manual lists as reserved.
    {FeatureRegister::kExtendedEbx8, 10, ""},
    // The 4700S is a console's APU sold on a desktop board; it sets reserved bits of its own.
    {FeatureRegister::kExtendedEcx, 31, "amd-4700s"},
    {FeatureRegister::kExtendedEbx8, 5, "amd-4700s"},
    {FeatureRegister::kExtendedEbx8, 7, "amd-4700s"},
    {FeatureRegister::kExtendedEbx8, 11, "amd-4700s"},
    // These recordings hold sub-leaf 2 of leaf 0Dh under sub-leaf 1: EAX 100h is the size of
    // the AVX state, not a flag.
    {FeatureRegister::kXsaveEax, 8, "sandy-bridge/"},
    {FeatureRegister::kXsaveEax, 8, "haswell/intel-core-i7-4500u"},
};

bool IsUndocumented(FeatureRegister reg, int bit, const std::string& dump) {
  for (const Undocumented& u : kUndocumented) {
    if (u.reg == reg && u.bit == bit && dump.find(u.dump) != std::string::npos) return true;
  }
  return false;
}

TEST(FeatureCorpus, EverySetBitOfAProcessorOfTodayHasANamedRow) {
  const std::vector<std::string> dumps = DumpsOfToday();
  ASSERT_GE(dumps.size(), 20u);
  int checked = 0;
  for (const std::string& dump : dumps) {
    TestProbeEnvironment t;
    ASSERT_GT(t.cpuid.LoadDump(dump), 0) << dump;
    t.system.processors = t.cpuid.logicalProcessors;
    CpuProbe probe(t.env, 1, 0);
    if (!IsProcessorOfToday(probe.Fields())) continue;
    ++checked;
    testing::FakeProbeObject answers = FeatureAnswers(probe);
    FeaturePageData page = ReadFeaturePageData(answers);
    for (int reg = 0; reg < kFeatureRegisterCount; ++reg) {
      const auto r = static_cast<FeatureRegister>(reg);
      // The two vendor tables list only the bits their vendors documented.
      if (r == FeatureRegister::kVia || r == FeatureRegister::kTransmeta) continue;
      ShowFeatureTable(page, r);
      for (int bit = 0; bit < 32; ++bit) {
        const FeatureRow& row = page.rows[static_cast<size_t>(bit)];
        if (row.answer == "YES" && !IsUndocumented(r, bit, dump)) {
          EXPECT_FALSE(row.name.empty())
              << dump << ": " << FeatureTableCaption(r) << " bit " << bit << " is set";
        }
      }
    }
  }
  EXPECT_GE(checked, 20);
}

// This machine's registers (a KVM guest of family 19h model 11h), recorded with cpuid: leaf 6
// EAX 4, leaf 7.1 EAX 20h, leaf 0Dh.1 EAX 0Fh, 80000001h EDX 2FD3FBFFh, 80000007h EDX 100h,
// 80000008h EBX 50120005h. Each set bit's name worked out from the vendors' manuals.
TEST(FeaturePage, TheLeavesBeyondLeaf7NameTheirSetBits) {
  testing::FakeProbeObject probe;
  probe.texts[ids::kCpuVendorShortName] = "AMD";
  probe.ints[ids::kCpuExtLeaf1Edx] = 0x2FD3FBFF;
  probe.ints[ids::kCpuLeaf6Eax] = 4;
  probe.ints[ids::kCpuLeaf7Sub1Eax] = 0x20;
  probe.ints[ids::kCpuLeafDSub1Eax] = 0x0F;
  probe.ints[ids::kCpuExtLeaf7Edx] = 0x100;
  probe.ints[ids::kCpuExtLeaf8Ebx] = 0x50120005;
  FeaturePageData page = ReadFeaturePageData(probe);
  struct Case {
    FeatureRegister reg;
    std::vector<std::pair<int, const char*>> set;
  } cases[] = {
      {FeatureRegister::kExtendedEdx, {{25, "FFXSR"}, {26, "Page1GB"}, {27, "RDTSCP"}, {29, "x64"}}},
      {FeatureRegister::kPowerEax, {{2, "ARAT"}}},
      {FeatureRegister::kStructured1Eax, {{5, "AVX512_BF16"}}},
      {FeatureRegister::kXsaveEax, {{0, "XSAVEOPT"}, {1, "XSAVEC"}, {2, "XGETBV1"}, {3, "XSAVES"}}},
      {FeatureRegister::kAdvancedPowerEdx, {{8, "TscInvariant"}}},
      {FeatureRegister::kExtendedEbx8,
       {{0, "CLZERO"}, {2, "XSAVEERPTR"}, {17, "STIBP_ALWAYS_ON"}, {20, "NO_EFER_LMSLE"},
        {28, "PSFD"}, {30, "IBPB_RET"}}},
  };
  for (const Case& c : cases) {
    ShowFeatureTable(page, c.reg);
    for (const auto& [bit, name] : c.set) {
      EXPECT_EQ(page.rows[static_cast<size_t>(bit)].name, name) << FeatureTableCaption(c.reg);
      EXPECT_EQ(page.rows[static_cast<size_t>(bit)].answer, "YES") << name;
    }
  }
  ShowFeatureTable(page, FeatureRegister::kExtendedEbx8);
  EXPECT_EQ(page.rows[9].name, "WBNOINVD");
  EXPECT_EQ(page.rows[9].answer, "NO");
  // Intel defines only the invariant TSC in 80000007h EDX and WBNOINVD in 80000008h EBX.
  probe.texts[ids::kCpuVendorShortName] = "Intel";
  FeaturePageData intel = ReadFeaturePageData(probe);
  ShowFeatureTable(intel, FeatureRegister::kExtendedEbx8);
  EXPECT_EQ(intel.rows[0].description, "Reserved");
  EXPECT_EQ(intel.rows[9].name, "WBNOINVD");
  ShowFeatureTable(intel, FeatureRegister::kAdvancedPowerEdx);
  EXPECT_EQ(intel.rows[8].name, "TscInvariant");
  EXPECT_EQ(intel.rows[9].description, "Reserved");
}

// The same machine's leaf 1 ECX FFFA3203h, 80000001h ECX 004003F3h, leaf 7 EBX F1BF07ABh and
// leaf 7.1 EAX 20h: bits 9, 19, 20, 25, 28, 12 of the first, 6 of the second, 5, 16, 29 of the
// third; neither FMA4 (80000001h ECX bit 16) nor AVX-VNNI (7.1 EAX bit 4).
TEST(CpuExtensions, ReadFromTheFlagRegistersInOrder) {
  struct Case {
    CpuFlagRegisters flags;
    std::vector<std::string> names;
  } cases[] = {
      {{0xFFFA3203, 0x004003F3, 0xF1BF07AB, 0x20},
       {"SSSE3", "SSE4.1", "SSE4.2", "SSE4A", "AES", "AVX", "FMA3", "AVX2", "AVX-512", "SHA"}},
      {{0x00000001, 0, 0, 0}, {}},  // SSE3 alone is one of the labels
      {{0, 0x00010000, 0, 0x10}, {"FMA4", "AVX-VNNI"}},
  };
  for (const Case& c : cases) EXPECT_EQ(InstructionExtensions(c.flags), c.names);
}

}  // namespace
}  // namespace velora
