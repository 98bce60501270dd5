// Cache decoding on a fake processor: Intel descriptors, the deterministic leaves and the AMD
// leaves.

#include <gtest/gtest.h>

#include "cpu_fixture.h"
#include "probe/cache/cache_amd.h"
#include "probe/cache/cache_decode.h"
#include "probe/cache/cache_descriptors.h"

namespace velora {
namespace {

using CacheDecodeTest = CpuFixture;

TEST_F(CacheDecodeTest, Descriptors2C307DGiveL1AndL2WithTheirDetails) {
  SetVendor("GenuineIntel", 2);
  SetLeaf(1, {0x000006F6, 0, 0, 0});
  SetLeaf(2, {0x7D302C01, 0, 0, 0});
  const CpuFields& f = Identify();
  EXPECT_EQ(f.l1Data, 32);
  EXPECT_EQ(f.l1Instruction, 32);
  EXPECT_EQ(f.l2, 2048);
  EXPECT_EQ(f.l3, -1);
  EXPECT_EQ(DetailTexts(),
            (std::vector<std::string>{"8", "64", "8", "64", "8", "64", "-1", "-1"}));
  EXPECT_EQ(Int(0x1084), 8);
  EXPECT_EQ(Int(0x1086), -1);
}

TEST_F(CacheDecodeTest, Descriptor40ClearsL3OnFamily15AndL2OnFamily6) {
  SetVendor("GenuineIntel", 2);
  SetLeaf(1, {0x00000F29, 0, 0, 0});
  SetLeaf(2, {0x227D4001, 0, 0, 0});  // 0x40 after L3 512 KB and L2 2048 KB
  Identify();
  EXPECT_EQ(Int(0x103D), 0);
  EXPECT_EQ(Int(0x103C), 2048);
  EXPECT_EQ(Int(0x1086), 4);  // the ways of descriptor 0x22 stay

  SetLeaf(1, {0x00000652, 0, 0, 0});
  SetLeaf(2, {0x00400801, 0, 0, 0x0C000000});
  Identify();
  EXPECT_EQ(Int(0x103C), 0);
  EXPECT_EQ(Int(0x103D), -1);
  EXPECT_EQ(Int(0x1039), 16);
  EXPECT_EQ(Int(0x103B), 16);
}

TEST_F(CacheDecodeTest, XeonMpDescriptorsGiveTheL3) {
  // The Xeon 7140M's leaf 2: 7C L2 1 MB beside 4D L3 16 MB, no FF, so leaf 4 is not asked.
  SetVendor("GenuineIntel", 2);
  SetLeaf(1, {0x00000F68, 0, 0, 0});
  SetLeaf(2, {0x605B5001, 0, 0, 0x007C704D});
  Identify();
  EXPECT_EQ(Int(0x103C), 1024);
  EXPECT_EQ(Int(0x103D), 16384);
  EXPECT_EQ(Int(0x1086), 16);
  EXPECT_EQ(Int(0x1087), 64);
  SetLeaf(2, {0x605B5001, 0, 0, 0x007C704A});
  Identify();
  EXPECT_EQ(Int(0x103D), 6144);
  EXPECT_EQ(Int(0x1086), 12);
}

TEST_F(CacheDecodeTest, TraceCacheSetsTheInstructionWays) {
  SetVendor("GenuineIntel", 2);
  SetLeaf(1, {0x00000F24, 0, 0, 0});
  SetLeaf(2, {0x665B5001, 0, 0, 0x007B7040});
  Identify();
  EXPECT_EQ(Int(0x103A), 12);
  EXPECT_EQ(Int(0x1080), 8);
  EXPECT_EQ(Int(0x1081), -1);
  EXPECT_EQ(Int(0x103B), 8);
  EXPECT_EQ(Int(0x103C), 512);
  EXPECT_EQ(Int(0x103D), 0);
}

TEST_F(CacheDecodeTest, DescriptorFFDefersToLeaf4) {
  SetVendor("GenuineIntel", 4);
  SetLeaf(1, {0x000906EA, 0, 0, 0});
  SetLeaf(2, {0x00FEFF01, 0x000000F0, 0, 0});
  // L1D 32 KB 8-way 64-byte (64 sets), L1I the same, L2 256 KB 4-way, L3 12 MB 16-way.
  SetLeaf(4, {0x1C004121, 0x01C0003F, 0x0000003F, 0}, 0);
  SetLeaf(4, {0x1C004122, 0x01C0003F, 0x0000003F, 0}, 1);
  SetLeaf(4, {0x1C004143, 0x00C0003F, 0x000003FF, 0}, 2);
  SetLeaf(4, {0x1C03C163, 0x02C0003F, 0x00003FFF, 6}, 3);
  Identify();
  EXPECT_EQ(Int(0x103B), 32);
  EXPECT_EQ(Int(0x1039), 32);
  EXPECT_EQ(Int(0x103C), 256);
  EXPECT_EQ(Int(0x103D), 12288);
  EXPECT_EQ(DetailTexts(),
            (std::vector<std::string>{"8", "64", "8", "64", "4", "64", "12", "64"}));
  EXPECT_EQ(Int(0x10B0), 8);  // leaf 4 EAX bits 26-31 + 1
}

TEST_F(CacheDecodeTest, NoL2FromLeaf2FallsBackToLeaf4ButOldProcessorsKeepTheTable) {
  SetVendor("GenuineIntel", 5);
  SetLeaf(1, {0x00010676, 0, 0, 0});
  SetLeaf(2, {0x05B0B101, 0x005657F0, 0, 0x2CB43049});  // 0x49 is not in the table
  SetLeaf(4, {0x04000121, 0x01C0003F, 0x3F, 1}, 0);
  SetLeaf(4, {0x04000143, 0x05C0003F, 0x0FFF, 1}, 1);
  Identify();
  EXPECT_EQ(Int(0x103C), 6144);
  EXPECT_EQ(Int(0x1084), 24);
  EXPECT_EQ(Int(0x1039), 32);  // leaf 4 has no instruction cache here: leaf 2 stays

  SetVendor("GenuineIntel", 2);
  Identify();
  EXPECT_EQ(Int(0x103C), -1);
}

TEST_F(CacheDecodeTest, AmdLeavesGiveL1WaysTextsAndL2AssociativityCodes) {
  SetVendor("AuthenticAMD", 1);
  SetLeaf(1, {0x00000F48, 0, 0, 0});
  SetHighestExtended(0x80000006);
  SetLeaf(0x80000005, {0, 0, 0x40020140, 0x40FF0140});
  SetLeaf(0x80000006, {0, 0, 0x04006140, 0});
  const CpuFields& f = Identify();
  EXPECT_EQ(f.l1Data, 64);
  EXPECT_EQ(f.l1Instruction, 64);
  EXPECT_EQ(Text(0x1080), "Full");
  EXPECT_EQ(Int(0x1080), 255);
  EXPECT_EQ(Text(0x1082), "2");
  EXPECT_EQ(Int(0x103C), 1024);
  EXPECT_EQ(Int(0x1084), 6);
  EXPECT_EQ(Text(0x1084), "8");
  EXPECT_EQ(Text(0x1085), "64");
  EXPECT_EQ(Int(0x103D), -1);
  EXPECT_EQ(Text(0x1086), "");

  SetLeaf(0x80000006, {0, 0, 0x0400F140, 0});
  Identify();
  EXPECT_EQ(Text(0x1084), "Full");
  EXPECT_EQ(Int(0x1084), 15);
  SetLeaf(0x80000006, {0, 0, 0x04000140, 0});
  Identify();
  EXPECT_EQ(Text(0x1084), "None");
  EXPECT_EQ(Int(0x1084), 0);
  SetLeaf(0x80000006, {0, 0, 0x04001140, 0});
  Identify();
  EXPECT_EQ(Text(0x1084), "Direct Mapped");
}

TEST(AmdWaysTextTest, LaterCodesReadAsWayCounts) {
  EXPECT_EQ(AmdWaysText(0xA), "32");
  EXPECT_EQ(AmdWaysText(0xB), "48");
  EXPECT_EQ(AmdWaysText(0xC), "64");
  EXPECT_EQ(AmdWaysText(0xD), "96");
  EXPECT_EQ(AmdWaysText(0xE), "128");
  EXPECT_EQ(AmdWaysText(5), "6");
  EXPECT_EQ(AmdWaysText(7), "None");
  EXPECT_EQ(AmdWaysText(9), "None");
}

TEST_F(CacheDecodeTest, EarlyAthlonL2SizesAreFixed) {
  SetVendor("AuthenticAMD", 1);
  SetLeaf(1, {0x00000641, 0, 0, 0});
  SetHighestExtended(0x80000006);
  SetLeaf(0x80000005, {0, 0, 0x40020140, 0x40020140});
  SetLeaf(0x80000006, {0, 0, 0x00404140, 0});  // says 64 KB
  Identify();
  EXPECT_EQ(Int(0x103C), 256);
  EXPECT_EQ(Int(0x1084), -1);  // the leaf is not read
  EXPECT_EQ(Int(0x103B), 64);

  SetLeaf(1, {0x00000630, 0, 0, 0});
  Identify();
  EXPECT_EQ(Int(0x103C), 64);

  SetLeaf(1, {0x00000642, 0, 0, 0});
  Identify();
  EXPECT_EQ(Int(0x103C), 64);
}

TEST_F(CacheDecodeTest, IdtFamily6AfterModel6HasA64KbL2) {
  SetVendor("CentaurHauls", 1);
  SetLeaf(1, {0x00000698, 0, 0, 0});
  SetHighestExtended(0x80000006);
  SetLeaf(0x80000006, {0, 0, 0x00404120, 0});
  Identify();
  EXPECT_EQ(Int(0x103C), 64);
  SetLeaf(0x80000006, {0, 0, 0x00804120, 0});
  Identify();
  EXPECT_EQ(Int(0x103C), 64);
  SetLeaf(1, {0x00000662, 0, 0, 0});
  Identify();
  EXPECT_EQ(Int(0x103C), 128);
  // The Nano (model 15) is past the C3 and C7 the rule was written for: its 1 MB stands.
  SetLeaf(1, {0x000006F2, 0, 0, 0});
  SetLeaf(0x80000006, {0, 0, 0x04008140, 0});
  Identify();
  EXPECT_EQ(Int(0x103C), 1024);
  EXPECT_EQ(Text(0x1084), "16");
}

TEST_F(CacheDecodeTest, AmdL3FromLeaf0x80000006OrTheDeterministicLeaf) {
  SetVendor("AuthenticAMD", 1);
  SetLeaf(1, {0x00100F42, 0, 0, 0});
  SetHighestExtended(0x80000008);
  SetLeaf(0x80000006, {0, 0, 0x02006140, 0x0010A140});  // 2 MB L3, code 0xA
  Identify();
  EXPECT_EQ(Int(0x103D), 2048);
  EXPECT_EQ(Text(0x1086), "32");
  EXPECT_EQ(Int(0x1086), 0xA);

  // Zen: code 9 defers to leaf 0x8000001D, whose L3 instance is 32 MB 16-way.
  SetLeaf(1, {0x00A00F11, 0, 0, 0});
  SetLeaf(0x80000001, {0x00A00F11, 0, 1u << 22, 0});
  SetHighestExtended(0x8000001F);
  SetLeaf(0x80000006, {0, 0, 0x02009140, 0x08009140});
  SetLeaf(0x8000001D, {0x121, 0x01C0003F, 0x3F, 0}, 0);
  SetLeaf(0x8000001D, {0x143, 0x01C0003F, 0x3FF, 2}, 1);
  SetLeaf(0x8000001D, {0x4163, 0x03C0003F, 0x7FFF, 1}, 2);
  Identify();
  EXPECT_EQ(Int(0x103C), 512);
  EXPECT_EQ(Int(0x1084), 9);
  EXPECT_EQ(Text(0x1084), "8");
  EXPECT_EQ(Int(0x103D), 32768);
  EXPECT_EQ(Text(0x1086), "16");
  EXPECT_EQ(Int(0x1087), 64);

  // A guest whose hypervisor clears the topology extensions flag but answers the leaf.
  SetLeaf(0x80000001, {0x00A00F11, 0, 0, 0});
  Identify();
  EXPECT_EQ(Text(0x1084), "8");
  EXPECT_EQ(Text(0x1086), "16");
  // Without the leaf the ways are not known: no "None", no row.
  SetHighestExtended(0x8000001C);
  Identify();
  EXPECT_EQ(Int(0x103D), 0x200 * 512) << "EDX bits 18 to 31 count the package's L3 in 512 KB";
  EXPECT_EQ(Text(0x1084), "");
  EXPECT_EQ(Int(0x1084), 0);
  EXPECT_EQ(Text(0x1086), "");
  EXPECT_EQ(Int(0x1086), 0);
}

TEST(L2SpeedRatioTest, EarlyAthlonCodeFromTheSecondClockRegister) {
  CpuFields f;
  f.vendorCode = kVendorAmd;
  f.family = 6;
  f.model = 2;
  f.l2 = 512;
  f.clockRegister2Low = 3u << 4;
  DecodeL2SpeedRatio(f);
  EXPECT_EQ(f.l2SpeedRatioText, "");
  EXPECT_EQ(f.l2SpeedRatio, -1.0);
  f.clockRegister2Low = 1u << 4;
  DecodeL2SpeedRatio(f);
  EXPECT_EQ(f.l2SpeedRatioText, "2/5");
  EXPECT_DOUBLE_EQ(f.l2SpeedRatio, 0.4);
  f.clockRegister2Low = 2u << 4;
  DecodeL2SpeedRatio(f);
  EXPECT_EQ(f.l2SpeedRatioText, "1/3");
  f.clockRegister2Low = 0;
  DecodeL2SpeedRatio(f);
  EXPECT_EQ(f.l2SpeedRatioText, "1/2");

  CpuFields intel;
  intel.vendorCode = kVendorIntel;
  intel.l2 = 512;
  intel.l2HalfSpeed = 1;
  DecodeL2SpeedRatio(intel);
  EXPECT_EQ(intel.l2SpeedRatioText, "1/2");
  intel.l2HalfSpeed = 0;
  DecodeL2SpeedRatio(intel);
  EXPECT_EQ(intel.l2SpeedRatioText, "Full");
  EXPECT_DOUBLE_EQ(intel.l2SpeedRatio, 1.0);

  CpuFields none;
  none.l2 = 0;
  DecodeL2SpeedRatio(none);
  EXPECT_EQ(none.l2SpeedRatioText, "");
}

TEST(CacheDescriptorTableTest, EveryCodeAppearsOnce) {
  int seen[256] = {};
  for (const CacheDescriptorRow& row : kIntelCacheDescriptors) {
    for (uint8_t i = 0; i < row.count; ++i) ++seen[row.codes[i]];
  }
  for (int code = 0; code < 256; ++code) EXPECT_LE(seen[code], 1) << std::hex << code;
}

}  // namespace
}  // namespace velora
