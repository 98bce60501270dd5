// Core revisions and model-number suffixes by signature.

#include <gtest/gtest.h>

#include "cpu_fixture.h"
#include "probe/cpu/cpu_revision.h"

namespace velora {
namespace {

CpuFields Intel(uint32_t signature, int32_t l3) {
  CpuFields f;
  f.vendorCode = kVendorIntel;
  f.leaf1Eax = signature;
  f.family = static_cast<int32_t>((signature >> 8) & 0xF);
  f.l3 = l3;
  return f;
}

TEST(CoreRevisionTest, F25DependsOnTheL3) {
  CpuFields f = Intel(0xF25, 2048);
  ApplyCoreRevision(RevisionTable::Intel, f);
  EXPECT_EQ(f.coreRevision, "M0");
  EXPECT_EQ(f.dieSize, 237);
  EXPECT_EQ(f.transistors, 169);

  f = Intel(0xF25, 1024);
  ApplyCoreRevision(RevisionTable::Intel, f);
  EXPECT_EQ(f.coreRevision, "B1");
  EXPECT_EQ(f.dieSize, -1);
  EXPECT_EQ(f.transistors, 108);

  f = Intel(0xF25, -1);
  ApplyCoreRevision(RevisionTable::Intel, f);
  EXPECT_EQ(f.coreRevision, "M0");
  EXPECT_EQ(f.dieSize, 131);
  EXPECT_EQ(f.transistors, 55);
}

TEST(CoreRevisionTest, F22WithoutAListedL3WritesNothing) {
  CpuFields f = Intel(0xF22, 512);
  f.coreRevision = "stale";
  ApplyCoreRevision(RevisionTable::Intel, f);
  EXPECT_EQ(f.coreRevision, "");
  EXPECT_EQ(f.dieSize, -1);
}

TEST(CoreRevisionTest, IntelKeysOnTheLow12BitsOnly) {
  CpuFields f = Intel(0x000106D8 | 0x2000, -1);  // type and extended model are ignored
  ApplyCoreRevision(RevisionTable::Intel, f);
  EXPECT_EQ(f.coreRevision, "C0");
  EXPECT_EQ(f.transistors, 144);
}

TEST(CoreRevisionTest, AmdFamily15KeysOnTheWholeExtendedSignature) {
  CpuFields f;
  f.vendorCode = kVendorAmd;
  f.family = 15;
  f.leaf1Eax = 0x00020FB1;
  f.extLeaf1Eax = 0x00020FB1;
  ApplyCoreRevision(RevisionTable::Amd, f);
  EXPECT_EQ(f.coreRevision, "BH-E4");
  EXPECT_EQ(f.dieSize, 147);
  f.extLeaf1Eax = 0x00000FB1;
  ApplyCoreRevision(RevisionTable::Amd, f);
  EXPECT_EQ(f.coreRevision, "");
  f.extLeaf1Eax = 0x00000FF4;
  ApplyCoreRevision(RevisionTable::Amd, f);
  EXPECT_EQ(f.coreRevision, "SH-CG");

  CpuFields k7;
  k7.vendorCode = kVendorAmd;
  k7.family = 6;
  k7.leaf1Eax = 0x00000681;
  ApplyCoreRevision(RevisionTable::Amd, k7);
  EXPECT_EQ(k7.coreRevision, "B1");
  EXPECT_DOUBLE_EQ(k7.transistors, 37.5);
}

TEST(CoreRevisionTest, CyrixIdtRowsWithoutRevisionStillGiveTheNumbers) {
  CpuFields f;
  f.leaf1Eax = 0x530;
  ApplyCoreRevision(RevisionTable::CyrixIdt, f);
  EXPECT_EQ(f.coreRevision, "");
  EXPECT_EQ(f.dieSize, 169);
  EXPECT_EQ(f.transistors, 3);
  f.leaf1Eax = 0x696;
  ApplyCoreRevision(RevisionTable::CyrixIdt, f);
  EXPECT_EQ(f.coreRevision, "N");
  EXPECT_EQ(f.dieSize, 52);
}

TEST(ModelNumberSuffixTest, FormatsByBrandIdentifier) {
  struct Case {
    int32_t brandId, brandNumber;
    const char* expected;
  } cases[] = {
      {4, 10, " 3200+"}, {12, 3, " 144"}, {10, 8, "-30"},   {16, 2, " 242"},  {20, 5, " 848"},
      {24, 19, " 2800+"}, {33, 4, " 2800+"}, {36, 33, "-57"}, {41, 1, " 150"}, {43, 5, " 870"},
      {3, 5, ""},         {59, 5, ""},
  };
  for (const Case& c : cases) {
    CpuFields f;
    f.brandId = c.brandId;
    f.brandNumber = c.brandNumber;
    f.modelNumberSuffix = "stale";
    ApplyModelNumberSuffix(f);
    EXPECT_EQ(f.modelNumberSuffix, c.expected) << c.brandId;
  }
  CpuFields zero;
  zero.modelNumberSuffix = "kept";
  ApplyModelNumberSuffix(zero);
  EXPECT_EQ(zero.modelNumberSuffix, "kept");
}

using CpuRevisionIdentifyTest = CpuFixture;

TEST_F(CpuRevisionIdentifyTest, SignatureF25With2MbL3ThroughTheProbe) {
  SetVendor("GenuineIntel", 2);
  SetLeaf(1, {0x00000F25, 0, 0, 0});
  SetLeaf(2, {0x00002501, 0, 0, 0});
  Identify();
  EXPECT_EQ(Int(0x103D), 2048);
  EXPECT_EQ(Text(0x1012), "M0");
  EXPECT_EQ(Text(0x10C0), "237.0");
  EXPECT_EQ(Text(0x10C1), "169.0");
}

TEST_F(CpuRevisionIdentifyTest, AmdFamily15SuffixThroughTheProbe) {
  SetVendor("AuthenticAMD", 1);
  SetLeaf(1, {0x00010FF0, 0, 0, 0});
  SetHighestExtended(0x80000001);
  SetLeaf(0x80000001, {0x00010FF0, (4 << 6) | 10, 0, 0});
  Identify();
  EXPECT_EQ(Text(0x1011), " 3200+");
  EXPECT_EQ(Text(0x1012), "DH-D0");
  EXPECT_EQ(Text(0x10C1), "68.5");
}

TEST_F(CpuRevisionIdentifyTest, ProcessorsOfTodayAreNotLookedUpInTheClassicTables) {
  SetVendor("GenuineIntel", 1);
  SetLeaf(1, {0x00030673, 0, 0, 0});  // Silvermont; the low 12 bits read like a Pentium II
  Identify();
  EXPECT_EQ(Text(0x1012), "");
  EXPECT_EQ(Text(0x10C0), "-1.0");
}

}  // namespace
}  // namespace velora
