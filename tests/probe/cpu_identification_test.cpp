// Identification leaves on a fake processor: vendor, signatures, brand, counts, features.

#include <gtest/gtest.h>

#include "cpu_fixture.h"
#include "probe/cpu/cpu_identity_text.h"
#include "probe/probix_object.h"

namespace velora {
namespace {

using CpuIdentificationTest = CpuFixture;

TEST_F(CpuIdentificationTest, VendorStringsMatchExactlyIncludingTheTrailingBlank) {
  SetVendor("UMC UMC UMC ", 1);
  Identify();
  EXPECT_EQ(Int(0x1046), 7);
  EXPECT_EQ(Text(0x1004), "UMC");
  EXPECT_EQ(Text(0x1003), "UMC UMC UMC ");

  SetVendor("UMC UMC UMC", 1);  // NUL where the blank belongs
  Identify();
  EXPECT_EQ(Int(0x1046), 0);
  EXPECT_EQ(Text(0x1004), "");

  SetVendor("GenuineTMx86", 1);
  Identify();
  EXPECT_EQ(Int(0x1046), 3);
  SetVendor("Geode By NSC", 1);
  Identify();
  EXPECT_EQ(Int(0x1046), 11);
  // The two vendors after the classic ones have codes of their own.
  SetVendor("HygonGenuine", 1);
  Identify();
  EXPECT_EQ(Int(0x1046), 12);
  EXPECT_EQ(Text(0x1004), "Hygon");
  SetVendor("  Shanghai  ", 1);
  Identify();
  EXPECT_EQ(Int(0x1046), 13);
  EXPECT_EQ(Text(0x1004), "Zhaoxin");
}

TEST_F(CpuIdentificationTest, ExtendedLeafExactly0x80000000ReadsNoExtendedLeaf) {
  SetVendor("AuthenticAMD", 1);
  SetLeaf(1, {0x00000622, 0, 0, 0});
  SetHighestExtended(0x80000000);
  SetLeaf(0x80000001, {0x722, 0x1FF, 0xFFFFFFFF, 0xFFFFFFFF});
  t.cpuid.SetBrandString("AMD Athlon");
  SetLeaf(0x80000005, {0, 0, 0x40020140, 0x40020140});
  const CpuFields& f = Identify();
  EXPECT_EQ(Int(0x1038), 0);
  EXPECT_EQ(Int(0x1057), 0);
  EXPECT_EQ(Int(0x1054), 0);
  EXPECT_EQ(Text(0x1005), "");
  EXPECT_EQ(f.l1Data, -1);
  EXPECT_EQ(Int(0x10A0), -1);  // no extended signature
}

TEST_F(CpuIdentificationTest, ExtendedLeaf0x80000004ReadsTheBrandButNoCacheLeaves) {
  SetVendor("AuthenticAMD", 1);
  SetLeaf(1, {0x00000622, 0, 0, 0});
  SetHighestExtended(0x80000004);
  t.cpuid.SetBrandString("   AMD Athlon(tm) Processor");
  SetLeaf(0x80000005, {0, 0, 0x40020140, 0x40020140});
  SetLeaf(0x80000006, {0, 0, 0x01004140, 0});
  Identify();
  EXPECT_EQ(Text(0x1005), "AMD Athlon(tm) Processor");
  EXPECT_EQ(Int(0x103C), -1);
  EXPECT_EQ(Int(0x103B), -1);
  EXPECT_EQ(Text(0x1084), "");
}

TEST_F(CpuIdentificationTest, BrandStringStopsAtItsNulAndKeepsFormatCharacters) {
  SetVendor("GenuineIntel", 1);
  SetHighestExtended(0x80000004);
  t.cpuid.SetBrandString("  %s%n 100%");
  Identify();
  EXPECT_EQ(Text(0x1005), "%s%n 100%");
}

TEST_F(CpuIdentificationTest, CoresFromLeaf0x80000008OnlyWhenTheProcessorHasIt) {
  SetVendor("AuthenticAMD", 1);
  SetLeaf(1, {0x00020F32, 0x00020800, 0, 0x178BFBFF});  // Athlon 64 X2, HTT set
  SetHighestExtended(0x80000007);
  SetLeaf(0x80000008, {0x3028, 0, 0x01, 0});
  Identify();
  EXPECT_EQ(Int(0x10B0), 1);
  EXPECT_EQ(Int(0x1092), 0);

  SetHighestExtended(0x80000008);
  Identify();
  EXPECT_EQ(Int(0x10B0), 2);
  EXPECT_EQ(Int(0x1092), 1);
  // Not Intel: no logical count, so no Hyper-Threading although EDX bit 28 is set.
  EXPECT_EQ(Int(0x103E), 0);
  EXPECT_EQ(Int(0x1056), 0);
}

TEST_F(CpuIdentificationTest, HyperThreadingNeedsMoreThanOneLogicalProcessorPerCore) {
  SetVendor("GenuineIntel", 1);
  SetLeaf(1, {0x00000F29, 0x00010800, 0, 1u << 28});  // HTT flag, logical count 1
  Identify();
  EXPECT_EQ(Int(0x103E), 1);
  EXPECT_EQ(Int(0x1056), 0);

  SetLeaf(1, {0x00000F29, 0x00020800, 0, 1u << 28});  // Northwood with HT: two logical
  Identify();
  EXPECT_EQ(Int(0x103E), 2);
  EXPECT_EQ(Int(0x1056), 1);
  EXPECT_EQ(Int(0x10B0), 1);
}

TEST_F(CpuIdentificationTest, IntelCoresComeFromLeaf4OrTheTopologyLeaf) {
  // Core 2 Duo: leaf 0x80000008 ECX reserved (0), leaf 4 says two cores.
  SetVendor("GenuineIntel", 10);
  SetLeaf(1, {0x000006F6, 0x00020800, 0, 1u << 28});
  SetHighestExtended(0x80000008);
  SetLeaf(4, {0x04000121, 0x01C0003F, 0x3F, 0});
  Identify();
  EXPECT_EQ(Int(0x10B0), 2);
  EXPECT_EQ(Int(0x1092), 1);
  // A core that runs one thread answers as a processor without SMT, though bit 28 is set.
  EXPECT_EQ(Int(0x103E), 0);
  EXPECT_EQ(Int(0x1056), 0);

  // Leaf 0xB, where present, wins: 2 threads per core, 8 logical: 4 cores.
  SetVendor("GenuineIntel", 0xB);
  SetLeaf(1, {0x000306C3, 0x00100800, 0, 1u << 28});
  SetLeaf(0xB, {1, 2, 0x100, 0}, 0);
  SetLeaf(0xB, {4, 8, 0x201, 0}, 1);
  Identify();
  EXPECT_EQ(Int(0x10B0), 4);
  EXPECT_EQ(Int(0x103E), 2);  // the SMT level, not 16 addressable ids over 4 cores
  EXPECT_EQ(Int(0x1056), 1);
}

TEST_F(CpuIdentificationTest, AmdFamily15BrandIdentifierFallbacks) {
  SetVendor("AuthenticAMD", 1);
  SetHighestExtended(0x80000001);
  SetLeaf(0x80000001, {0x00000F48, 0, 0, 0});  // extended brand identifier 0
  SetLeaf(1, {0x00000F48, 0x00000500 | 0x0C, 0, 0});  // bits 5-7 zero, bits 8-10 = 5
  Identify();
  EXPECT_EQ(Int(0x1036), 5);
  EXPECT_EQ(Text(0x1036), "05");
  EXPECT_EQ(probe_->Fields().brandNumber, 12);

  SetLeaf(1, {0x00000F48, 0x00000500 | (3 << 5) | 0x0A, 0, 0});
  Identify();
  EXPECT_EQ(Int(0x1036), 3);
  EXPECT_EQ(probe_->Fields().brandNumber, 10);

  // A nonzero extended brand identifier wins over leaf 1.
  SetLeaf(0x80000001, {0x00000F48, (4 << 6) | 10, 0, 0});
  Identify();
  EXPECT_EQ(Int(0x1036), 4);
  EXPECT_EQ(probe_->Fields().brandNumber, 10);
}

TEST_F(CpuIdentificationTest, CombinedFamilyAndModelAreHexConcatenations) {
  SetVendor("AuthenticAMD", 1);
  SetLeaf(1, {0x00120F31, 0, 0, 0});
  SetHighestExtended(0x80000001);
  SetLeaf(0x80000001, {0x00120F31, 0, 0, 0});
  Identify();
  EXPECT_EQ(Text(0x10B1), "1F");
  EXPECT_EQ(Text(0x10B2), "23");
  EXPECT_EQ(Text(0x10B3), "1F");
  EXPECT_EQ(Text(0x10B4), "23");
  EXPECT_EQ(Text(0x1034), "01");
  EXPECT_EQ(Text(0x1035), "2");
  EXPECT_EQ(Text(0x1008), "F31");
}

TEST_F(CpuIdentificationTest, ExtendedSignatureOverridesExtendedFieldsForNonIntelOnly) {
  SetVendor("AuthenticAMD", 1);
  SetLeaf(1, {0x00000F31, 0, 0, 0});
  SetHighestExtended(0x80000001);
  SetLeaf(0x80000001, {0x00320F54, 0, 0, 0});
  Identify();
  EXPECT_EQ(Int(0x1034), 3);
  EXPECT_EQ(Int(0x1035), 2);
  EXPECT_EQ(Int(0x10A1), 5);
  EXPECT_EQ(Int(0x10A2), 4);
  EXPECT_EQ(Text(0x10B1), "F");  // from leaf 1, before the override

  SetVendor("GenuineIntel", 1);
  Identify();
  EXPECT_EQ(Int(0x1034), 0);
  EXPECT_EQ(Int(0x10A0), -1);
  EXPECT_EQ(Text(0x10A0), "FFFFFFFF");  // "%X" of the reset value
}

TEST_F(CpuIdentificationTest, FeatureFlagsAndVendorDependentLongModeBit) {
  SetVendor("GenuineIntel", 1);
  SetLeaf(1, {0x00000F41, 0x00010800, 0x1, (1u << 23) | (1u << 25) | (1u << 26) | (1u << 5) |
                                               (1u << 4) | (1u << 30)});
  SetHighestExtended(0x80000001);
  SetLeaf(0x80000001, {0, 0, 0, (1u << 29) | (1u << 20)});
  Identify();
  EXPECT_EQ(Int(0x1050), 1);
  EXPECT_EQ(Int(0x1052), 1);
  EXPECT_EQ(Int(0x1053), 1);
  EXPECT_EQ(Int(0x1059), 1);
  EXPECT_EQ(Int(0x1058), 1);
  EXPECT_EQ(Int(0x1091), 1);
  EXPECT_EQ(Int(0x105F), 1);
  EXPECT_EQ(Int(0x1057), 0);
  EXPECT_EQ(Int(0x1090), 1);
  EXPECT_EQ(Int(0x1047), 0);
  EXPECT_EQ(Int(0x1042), 4);
  EXPECT_EQ(Text(0x1002), "QDR");

  SetVendor("AuthenticAMD", 1);
  SetLeaf(0x80000001, {0, 0, 0, (1u << 29) | (1u << 31) | (1u << 30) | (1u << 22)});
  Identify();
  EXPECT_EQ(Int(0x105F), 0);
  EXPECT_EQ(Int(0x1057), 1);
  EXPECT_EQ(Int(0x1054), 1);
  EXPECT_EQ(Int(0x1055), 1);
  EXPECT_EQ(Int(0x1051), 1);
  EXPECT_EQ(Text(0x1002), "---");
}

TEST_F(CpuIdentificationTest, ApicIdentifierOnlyForFamily15) {
  SetVendor("GenuineIntel", 1);
  SetLeaf(1, {0x00000F29, 0x07010800, 0, 0});
  Identify();
  EXPECT_EQ(Text(0x1047), "07");
  SetLeaf(1, {0x000006F6, 0x07010800, 0, 0});
  Identify();
  EXPECT_EQ(Int(0x1047), -1);
  EXPECT_EQ(Text(0x1007), "Original OEM processor");
  SetLeaf(1, {0x00002652, 0, 0, 0});
  Identify();
  EXPECT_EQ(Text(0x1007), "Dual processor");
}

TEST_F(CpuIdentificationTest, SerialNumberFromLeaf3) {
  SetVendor("GenuineIntel", 3);
  SetLeaf(1, {0x00000672, 0, 0, 1u << 18});
  SetLeaf(3, {0, 0, 0x9ABCDEF0, 0x12345678});
  Identify();
  EXPECT_EQ(Text(0x100E), "0000-0672-1234-5678-9ABC-DEF0");
  EXPECT_EQ(Int(0x105A), 1);

  SetVendor("GenuineIntel", 2);
  Identify();
  EXPECT_EQ(Text(0x100E), "");
  EXPECT_EQ(Int(0x105A), 0);
}

TEST_F(CpuIdentificationTest, TransmetaLeaves) {
  SetVendor("GenuineTMx86", 1);
  SetLeaf(0x80860000, {0x80860007, 0, 0, 0});
  SetLeaf(0x80860001, {0, 0x01020304, 933, 0x0000000F});
  SetLeaf(0x80860002, {0, 0x04030201, 0x12, 0});
  // " Transmeta..." across 0x80860003 to 0x80860006.
  const char description[17] = " Crusoe TM5800  ";
  uint32_t words[4];
  std::memcpy(words, description, 16);
  SetLeaf(0x80860003, {words[0], words[1], words[2], words[3]});
  SetLeaf(0x80860007, {800, 1250, 50, 3});
  Identify();
  EXPECT_EQ(Text(0x1066), "1.2-3.4");
  EXPECT_EQ(Text(0x1067), "4.3.2-1-18");
  EXPECT_EQ(Text(0x1060), "Crusoe TM5800  ");
  EXPECT_EQ(Int(0x1062), 933);
  EXPECT_EQ(Text(0x1061), "800");
  EXPECT_EQ(Int(0x1063), 1250);
  EXPECT_EQ(Int(0x1064), 50);
  EXPECT_EQ(Int(0x1065), 3);
  EXPECT_EQ(Int(0x1071), 0x0F);

  // The re-read picks up new registers and writes 0.
  SetLeaf(0x80860007, {600, 1100, 20, 2});
  int32_t value = 9;
  EXPECT_EQ(probe_->GetInt(0x1068, value), 0);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(Int(0x1061), 600);

  SetLeaf(0x80860001, {0, 0x20000000, 933, 0});
  Identify();
  EXPECT_EQ(Text(0x1066), "");
}

TEST_F(CpuIdentificationTest, TransmetaNumbersStayEmptyTextsWhileUnknown) {
  SetVendor("GenuineTMx86", 1);
  SetLeaf(0x80860000, {0x80860001, 0, 0, 0});
  Identify();
  EXPECT_EQ(Text(0x1062), "");
  EXPECT_EQ(Int(0x1062), -1);
}

TEST_F(CpuIdentificationTest, CentaurFlagsAreAskedOfEveryVendor) {
  SetVendor("GenuineIntel", 1);
  SetLeaf(0xC0000000, {0xC0000001, 0, 0, 0});
  SetLeaf(0xC0000001, {0, 0, 0, 0x3C0});
  Identify();
  EXPECT_EQ(Int(0x1070), 0x3C0);
  SetLeaf(0xC0000000, {0xC0000000, 0, 0, 0});
  Identify();
  EXPECT_EQ(Int(0x1070), 0);
}

TEST_F(CpuIdentificationTest, WithoutCpuidOnlyTheSystemValuesAnswer) {
  t.cpuid.available = false;
  t.system.processors = 4;
  t.system.machine = "i686";
  SetVendor("GenuineIntel", 1);
  Identify();
  EXPECT_EQ(Int(0x1030), 4);
  EXPECT_EQ(Text(0x100F), "x86");
  EXPECT_EQ(Text(0x1003), "");
  EXPECT_EQ(Int(0x1031), -1);
  EXPECT_EQ(Int(0x10B0), 1);
  EXPECT_EQ(Text(0x1028), "-100.00");
  EXPECT_EQ(Text(0x1020), "-1.00");
  EXPECT_EQ(Text(0x10C0), "-1.0");
  EXPECT_EQ(t.cpuid.queries, 0);
  // The thread was pinned and given back all the same.
  EXPECT_EQ(t.cpuid.pinnedMasks.size(), 1u);
  EXPECT_FALSE(t.cpuid.pinned);
}

TEST_F(CpuIdentificationTest, EveryIdentificationStartsFromTheResetValues) {
  SetVendor("GenuineIntel", 3);
  SetLeaf(1, {0x00000672, 0, 0, (1u << 18) | (1u << 23)});
  SetHighestExtended(0x80000004);
  t.cpuid.SetBrandString("Pentium");
  Identify();
  ASSERT_EQ(Int(0x1050), 1);
  t.cpuid.leaves.clear();
  t.system.processors = 0;  // the system does not say
  probe_->Identify(2, 0);
  EXPECT_EQ(Text(0x1005), "");
  EXPECT_EQ(Text(0x1003), "");
  EXPECT_EQ(Int(0x1050), 0);
  EXPECT_EQ(Text(0x100E), "");
  EXPECT_EQ(Int(0x1030), 1);
  EXPECT_EQ(Int(0x1031), -1);  // a leaf 0 of zeros: nothing decoded, the reset value stands
}

TEST_F(CpuIdentificationTest, UnknownIdsAnswerMinusOne) {
  Identify();
  std::string text = "x";
  int32_t value = 5;
  EXPECT_EQ(probe_->GetString(0x1030, text), -1);  // integer only
  EXPECT_EQ(text, "");
  EXPECT_EQ(probe_->GetInt(0x1005, value), -1);  // text only
  EXPECT_EQ(value, -1);
  EXPECT_EQ(probe_->GetInt(0x1120, value), -1);
  EXPECT_EQ(probe_->GetInt(0x104A, value), -1);
  EXPECT_EQ(probe_->Set(0x1217, 3), 0);
}

TEST_F(CpuIdentificationTest, SelectingTheFourthProcessorPinsMaskEight) {
  ProbixObject probe(t.env, 0x100);
  int32_t value = 0;
  EXPECT_EQ(probe.GetInt(0x1103, &value), 0);
  EXPECT_EQ(value, 0);
  ASSERT_EQ(t.cpuid.pinnedMasks.size(), 2u);
  EXPECT_EQ(t.cpuid.pinnedMasks[0], 1u);
  EXPECT_EQ(t.cpuid.pinnedMasks[1], 8u);
  EXPECT_EQ(t.cpuid.restores, 2);
  EXPECT_FALSE(t.cpuid.pinned);
  EXPECT_EQ(probe.cpu()->Fields().selectionMask, 8u);
}

TEST_F(CpuIdentificationTest, PowerManagementBooleans) {
  SetVendor("GenuineIntel", 1);
  SetLeaf(1, {0x00000F34, 0, 1u << 7, 0});
  Identify();
  EXPECT_EQ(Int(0x105B), 1);
  EXPECT_EQ(Int(0x1093), 1);
  EXPECT_EQ(Int(0x1201), 87);

  SetLeaf(1, {0x000006D8, 0, 0, 0});
  Identify();
  EXPECT_EQ(Int(0x105B), 0);
  EXPECT_EQ(Int(0x1201), 86);

  SetLeaf(1, {0x000006B1, 6, 0, 0});  // Tualatin with brand identifier 6
  Identify();
  EXPECT_EQ(Int(0x105B), 1);
  EXPECT_EQ(Int(0x1201), 0);

  SetVendor("AuthenticAMD", 1);
  SetLeaf(1, {0x00000F48, 0, 0, 0});
  SetHighestExtended(0x80000007);
  SetLeaf(0x80000007, {0, 0, 0, 0x6});
  Identify();
  EXPECT_EQ(Int(0x105C), 1);
  SetLeaf(0x80000007, {0, 0, 0, 0x2});
  Identify();
  EXPECT_EQ(Int(0x105C), 0);
}

TEST(ArchitectureTextTest, KernelMachineNames) {
  EXPECT_EQ(ArchitectureText("x86_64"), "x64");
  EXPECT_EQ(ArchitectureText("i686"), "x86");
  EXPECT_EQ(ArchitectureText("i386"), "x86");
  EXPECT_EQ(ArchitectureText("aarch64"), "");
  EXPECT_EQ(ArchitectureText(""), "");
}

TEST(SplitProcessorNameTest, NameAndCodeName) {
  CpuFields f;
  f.vendorShortName = "Intel";
  f.nameWithCodeName = "Pentium 4 (Northwood)";
  SplitProcessorName(f);
  EXPECT_EQ(f.name, "Pentium 4");
  EXPECT_EQ(f.codeName, "Northwood");
  EXPECT_EQ(f.vendorPlusName, "Intel Pentium 4");

  f.nameWithCodeName = "Athlon 64 3200+ (Winchester)";
  SplitProcessorName(f);
  EXPECT_EQ(f.name, "Athlon 64 3200+");
  EXPECT_EQ(f.codeName, "Winchester");

  f.nameWithCodeName = "486DX2";
  SplitProcessorName(f);
  EXPECT_EQ(f.name, "486DX2");
  EXPECT_EQ(f.codeName, "");

  f.nameWithCodeName = "(Open";  // no blank, no closing parenthesis
  SplitProcessorName(f);
  EXPECT_EQ(f.name, "");
  EXPECT_EQ(f.codeName, "Open");
}

}  // namespace
}  // namespace velora
