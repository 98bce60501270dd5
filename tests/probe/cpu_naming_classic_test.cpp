// The classic naming tables on targeted inputs: fake CPUID registers through the whole
// identification where the registers alone decide, direct processor records where the clock
// registers (platform identifier, multiplier, nominal bus) would.

#include <gtest/gtest.h>

#include "cpu_fixture.h"
#include "platform/fake/fake_system_queries.h"
#include "probe/cpu_identity_text.h"
#include "probe/cpu_naming.h"
#include "probe/cpu_naming_rows.h"
#include "probe/cpu_revision.h"

namespace velora {
namespace {

// A processor record as the identification leaves it before naming.
CpuFields Record(int32_t vendor, int32_t family, int32_t model, int32_t stepping = 0) {
  CpuFields f;
  f.vendorCode = vendor;
  f.vendorShortName = vendor == kVendorIntel ? "Intel"
                      : vendor == kVendorAmd ? "AMD"
                      : vendor == kVendorIdt ? "IDT"
                                             : "";
  f.family = family;
  f.model = model;
  f.stepping = stepping;
  f.extendedFamily = 0;
  f.extendedModel = 0;
  return f;
}

void Name(CpuFields& f, const std::string& machine = "x86_64") {
  FakeSystemQueries system;
  system.machine = machine;
  NameClassicProcessor(f, system);
  SplitProcessorName(f);
}

// Leaf 0x80000001 EBX for an AMD family 15 brand identifier and brand number.
constexpr uint32_t K8BrandEbx(uint32_t brandId, uint32_t brandNumber) {
  return brandId << 6 | brandNumber;
}

class ClassicNamingTest : public CpuFixture {
 protected:
  void K8(uint32_t extendedSignature, uint32_t brandEbx, uint32_t l2Kb, const char* brand) {
    SetVendor("AuthenticAMD", 1);
    SetLeaf(1, {extendedSignature & 0xFFF, 0, 0, 0});
    SetHighestExtended(0x80000008);
    SetLeaf(0x80000001, {extendedSignature, brandEbx, 0, 1u << 29});
    t.cpuid.SetBrandString(brand);
    SetLeaf(0x80000005, {0, 0, 0x40020140, 0x40020140});
    SetLeaf(0x80000006, {0, 0, l2Kb << 16 | 0x4140, 0});
  }
};

// --- Intel -------------------------------------------------------------------------------

TEST(ClassicNamingIntel, CoppermineIsMobileOnlyWithAnOddPlatformIdentifier) {
  CpuFields f = Record(kVendorIntel, 6, 8, 6);
  f.l2 = 256;
  f.platformId = 5;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Mobile Pentium III (Coppermine)");
  EXPECT_EQ(f.platform, "Mobile Module");
  EXPECT_EQ(f.process, "0.18");
  EXPECT_EQ(f.multiplierMethod, 3);

  f.platformId = 4;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Pentium III (Coppermine)");
  EXPECT_EQ(f.platform, "Socket 370");

  // Before the registers are read the identifier is unknown, which is not odd.
  f.platformId = -1;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Pentium III (Coppermine)");
  f.l2 = 128;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Celeron (Coppermine-128K)");
  f.platformId = 1;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Mobile Celeron (Coppermine-128K)");
}

TEST_F(ClassicNamingTest, PentiumDSmithfieldHasTwoCoresWithoutHyperThreading) {
  SetVendor("GenuineIntel", 4);
  SetLeaf(1, {0xF34, 0x00020800, 0, 1u << 28});
  SetHighestExtended(0x80000008);
  t.cpuid.SetBrandString("Intel(R) Pentium(R) D CPU 3.00GHz");
  t.system.processors = 2;
  Identify();
  EXPECT_EQ(Text(0x1001), "Pentium D (Smithfield)");
  EXPECT_EQ(Text(0x100C), "Intel Pentium D");
  EXPECT_EQ(Int(0x103E), 0);
  EXPECT_EQ(Int(0x10B0), 2);
  EXPECT_EQ(Int(0x1092), 1);
  EXPECT_EQ(Int(0x1056), 0);
  EXPECT_EQ(Int(0x1202), 6);

  t.system.processors = 4;
  Identify();
  EXPECT_EQ(Text(0x1001), "Pentium XE (Smithfield)");
  EXPECT_EQ(Int(0x103E), 2);
  EXPECT_EQ(Int(0x10B0), 2);
  EXPECT_EQ(Int(0x1092), 1);
  EXPECT_EQ(Int(0x1056), 1);
}

TEST(ClassicNamingIntel, PentiumFourPlatformFollowsThePlatformIdentifier) {
  CpuFields f = Record(kVendorIntel, 15, 2, 9);
  f.l2 = 512;
  f.logicalPerCore = 2;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Pentium 4 HT (Northwood)");
  EXPECT_EQ(f.platform, "Socket 478/LGA775");
  f.platformId = 2;
  Name(f);
  EXPECT_EQ(f.platform, "Socket 478");
  f.platformId = 4;
  Name(f);
  EXPECT_EQ(f.platform, "LGA775");
  // Rows with a socket of their own keep it.
  f.brandId = 11;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Xeon (Prestonia)");
  EXPECT_EQ(f.platform, "Socket 603/604");
}

TEST(ClassicNamingIntel, TheSecondPassSeesTheNominalBusClock) {
  CpuFields f = Record(kVendorIntel, 15, 2, 7);
  f.l2 = 512;
  f.brandId = 14;
  f.logicalPerCore = 1;
  Name(f);  // first pass: bus still unknown
  EXPECT_EQ(f.nameWithCodeName, "Mobile Pentium 4-M (Northwood)");
  EXPECT_EQ(f.warmUpNeeded, 1);
  f.nominalBusClock = 133.33;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Mobile Pentium 4 (Northwood)");

  CpuFields p = Record(kVendorIntel, 15, 4, 3);
  p.l2 = 2048;
  p.brandString = "Intel(R) Pentium(R) 4 CPU 3.73GHz";
  Name(p);
  EXPECT_EQ(p.nameWithCodeName, "Pentium 4 HT (Prescott-2M)");
  p.nominalBusClock = 266.67;
  Name(p);
  EXPECT_EQ(p.nameWithCodeName, "Pentium 4 XE (Prescott-2M)");
}

TEST(ClassicNamingIntel, PreslerNeedsTheDesktopPlatformIdentifier) {
  CpuFields f = Record(kVendorIntel, 15, 6, 5);
  f.processors = 2;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Xeon (Dempsey)");
  EXPECT_EQ(f.platform, "Socket 604");
  f.platformId = 4;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Pentium D (Presler)");
  EXPECT_EQ(f.platform, "LGA775");
  EXPECT_EQ(f.process, "0.065");
  f.processors = 4;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Pentium XE (Presler)");
}

TEST(ClassicNamingIntel, EarlyFamiliesSetTheirCacheDefaults) {
  CpuFields f = Record(kVendorIntel, 4, 8);
  f.l1Unified = -1;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "486DX4");
  EXPECT_EQ(f.l1Unified, 8);

  CpuFields other = Record(kVendorIntel, 4, 6);
  Name(other);
  EXPECT_EQ(other.nameWithCodeName, "486");
  EXPECT_EQ(other.l1Unified, -1);

  CpuFields mmx = Record(kVendorIntel, 5, 4, 3);
  mmx.l1Data = 8;  // a decoded size the default replaces
  Name(mmx);
  EXPECT_EQ(mmx.nameWithCodeName, "Pentium MMX (P55C)");
  EXPECT_EQ(mmx.l1Instruction, 16);
  EXPECT_EQ(mmx.l1Data, 16);
  EXPECT_EQ(mmx.platform, "");
  EXPECT_EQ(mmx.process, "0.28");
  mmx.processorType = 1;
  Name(mmx);
  EXPECT_EQ(mmx.nameWithCodeName, "Pentium MMX OverDrive");
}

TEST(ClassicNamingIntel, KatmaiRunsItsL2AtHalfSpeedAndBaniasWarmsUp) {
  CpuFields k = Record(kVendorIntel, 6, 7, 3);
  k.l2 = 512;
  Name(k);
  EXPECT_EQ(k.codeName, "Katmai");
  EXPECT_EQ(k.l2HalfSpeed, 1);
  EXPECT_EQ(k.warmUpNeeded, 0);

  CpuFields b = Record(kVendorIntel, 6, 9, 5);
  b.l2 = 1024;
  Name(b);
  EXPECT_EQ(b.nameWithCodeName, "Pentium M (Banias)");
  EXPECT_EQ(b.warmUpNeeded, 1);
  EXPECT_EQ(b.multiplierMethod, 7);
  EXPECT_EQ(b.l2HalfSpeed, 0);
}

TEST(ClassicNamingIntel, ModelsTheTablesDoNotKnowStayUnknown) {
  CpuFields f = Record(kVendorIntel, 15, 7);
  f.platform = "left over";
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Unknown CPU");
  EXPECT_EQ(f.platform, "");
  EXPECT_EQ(f.process, "");
  CpuFields g = Record(kVendorIntel, 9, 0);
  Name(g);
  EXPECT_EQ(g.nameWithCodeName, "Unknown CPU");
  CpuFields madison = Record(kVendorIntel, 15, 1);
  madison.extendedFamily = 2;
  Name(madison);
  EXPECT_EQ(madison.nameWithCodeName, "Itanium 2 (Madison)");
}

// --- AMD ---------------------------------------------------------------------------------

TEST(ClassicNamingAmd, BartonIsASempronOnlyAtMultiplierTwelve) {
  CpuFields f = Record(kVendorAmd, 6, 10);
  f.extLeaf1Edx = 1u << 19;
  f.l2 = 512;
  f.multiplier = 12.0;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Sempron (Barton)");
  EXPECT_EQ(f.sempron, 1);
  EXPECT_EQ(f.platform, "Socket A");
  EXPECT_EQ(f.process, "0.13");
  EXPECT_EQ(f.multiplierMethod, 11);

  CpuFields g = Record(kVendorAmd, 6, 10);
  g.extLeaf1Edx = 1u << 19;
  g.l2 = 512;
  g.multiplier = 11.5;
  Name(g);
  EXPECT_EQ(g.nameWithCodeName, "Athlon XP (Barton)");
  EXPECT_EQ(g.sempron, 0);

  // Thorton: any multiplier up to 12, so also the unknown one of the first pass.
  CpuFields h = Record(kVendorAmd, 6, 10);
  h.extLeaf1Edx = 1u << 19;
  h.l2 = 256;
  Name(h);
  EXPECT_EQ(h.nameWithCodeName, "Sempron (Thorton)");
}

TEST(ClassicNamingAmd, MultiprocessorFlagFromTheBrandOrTheProcessorCount) {
  CpuFields f = Record(kVendorAmd, 6, 10);
  f.l2 = 512;
  f.brandString = "AMD Athlon(tm) MP 2800+";
  Name(f);
  EXPECT_EQ(f.multiprocessor, 1);
  EXPECT_EQ(f.nameWithCodeName, "Athlon MP (Barton)");

  CpuFields g = Record(kVendorAmd, 6, 6);
  g.l2 = 256;
  g.processors = 2;
  Name(g);
  EXPECT_EQ(g.nameWithCodeName, "Athlon MP (Palomino)");

  CpuFields k8 = Record(kVendorAmd, 15, 5);
  k8.processors = 2;
  Name(k8);
  EXPECT_EQ(k8.multiprocessor, 0);
}

TEST(ClassicNamingAmd, MobileK7TakesThePowerControlRegisters) {
  CpuFields f = Record(kVendorAmd, 6, 8);
  f.powerControlCapable = 1;
  f.l2 = 64;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Mobile Duron (Applebred)");
  EXPECT_EQ(f.multiplierMethod, 12);
  EXPECT_EQ(f.powerControlType, 7);
  EXPECT_EQ(f.warmUpNeeded, 1);
  f.l2 = 256;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Mobile Athlon XP-M (Thoroughbred)");
}

TEST(ClassicNamingAmd, K6PlusSetsTheK6PowerControl) {
  CpuFields f = Record(kVendorAmd, 5, 13);
  f.l2 = 128;
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "K6-2+");
  EXPECT_EQ(f.platform, "Socket 7 / Mobile");
  EXPECT_EQ(f.multiplierMethod, 10);
  EXPECT_EQ(f.powerControlType, 6);

  CpuFields am486 = Record(kVendorAmd, 4, 15);
  Name(am486);
  EXPECT_EQ(am486.nameWithCodeName, "Am5x86");
  EXPECT_EQ(am486.l1Unified, 16);
}

TEST_F(ClassicNamingTest, AthlonSixtyFourWinchester) {
  K8(0x10FF0, K8BrandEbx(4, 10), 512, "AMD Athlon(tm) 64 Processor 3200+");
  Identify();
  EXPECT_EQ(Text(0x1001), "Athlon 64 3200+ (Winchester)");
  EXPECT_EQ(Text(0x100A), "Athlon 64 3200+");
  EXPECT_EQ(Text(0x100B), "Winchester");
  EXPECT_EQ(Text(0x100C), "AMD Athlon 64 3200+");
  EXPECT_EQ(Text(0x100D), "0.09");
  EXPECT_EQ(Text(0x1006), "Socket 939");  // extended-leaf combined model 0x1F
  EXPECT_EQ(Int(0x1202), 13);
  EXPECT_EQ(Int(0x1201), 0);
}

TEST_F(ClassicNamingTest, DualCoreOpteronHeDenmark) {
  K8(0x20F12, K8BrandEbx(46, 1), 1024, "Dual Core AMD Opteron(tm) Processor 150 HE");
  SetLeaf(0x80000007, {0, 0, 0, 0x6});  // frequency and voltage control
  Identify();
  EXPECT_EQ(Text(0x1001), "Dual Core Opteron 150 HE (Denmark)");
  EXPECT_EQ(Text(0x1006), "Socket 940");  // extended-leaf combined model 0x21 = 33
  EXPECT_EQ(Int(0x1202), 14);
  EXPECT_EQ(Int(0x1201), 8);
  EXPECT_EQ(probe_->Fields().warmUpNeeded, 1);
}

TEST(ClassicNamingAmd, K8BrandTableEnds) {
  CpuFields sample = Record(kVendorAmd, 15, 4);
  sample.brandId = 0;
  sample.modelNumberSuffix = "";
  Name(sample);
  EXPECT_EQ(sample.nameWithCodeName, "Hammer Engineering Sample");
  EXPECT_EQ(sample.codeName, "");

  for (int32_t brand : {1, 7, 25, 37, 40, 58 + 1, 63}) {
    CpuFields f = Record(kVendorAmd, 15, 4);
    f.brandId = brand;
    f.modelNumberSuffix = " 9900+";
    Name(f);
    EXPECT_EQ(f.nameWithCodeName, "Hammer (K8)") << brand;
  }

  CpuFields sempron = Record(kVendorAmd, 15, 12);
  sempron.brandId = 34;
  sempron.modelNumberSuffix = " 3000+";
  sempron.extLeafCombinedModel = 0x1F;
  Name(sempron);
  EXPECT_EQ(sempron.nameWithCodeName, "Sempron 3000+ (Winchester-128K)");
  sempron.extLeafCombinedModel = 0x2F;
  Name(sempron);
  EXPECT_EQ(sempron.nameWithCodeName, "Sempron 3000+");

  CpuFields victoria = Record(kVendorAmd, 15, 12);
  victoria.brandId = 38;
  victoria.extendedModel = 1;
  victoria.modelNumberSuffix = " 2800+";
  Name(victoria);
  EXPECT_EQ(victoria.nameWithCodeName, "Sempron 2800+ (Victoria)");
  victoria.sse3 = 1;
  Name(victoria);
  EXPECT_EQ(victoria.nameWithCodeName, "Sempron 2800+ (Palermo)");

  CpuFields lv = Record(kVendorAmd, 15, 4);
  lv.brandId = 9;
  lv.extendedModel = 2;
  lv.l2 = 1024;
  lv.modelNumberSuffix = " 3000+";
  Name(lv);
  EXPECT_EQ(lv.nameWithCodeName, "Mobile Athlon 64 3000+ [LV] (Lancaster)");
}

TEST(ClassicNamingAmd, SocketTableByExtendedLeafCombinedModel) {
  struct Case {
    int32_t model;
    const char* socket;
  };
  for (Case c : {Case{4, "Socket 754"}, Case{46, "Socket 754"}, Case{5, "Socket 940"},
                 Case{37, "Socket 940"}, Case{7, "Socket 939"}, Case{47, "Socket 939"},
                 Case{6, ""}, Case{65, ""}}) {
    CpuFields f = Record(kVendorAmd, 15, c.model & 15);
    f.brandId = 4;
    f.extLeafCombinedModel = c.model;
    Name(f);
    EXPECT_EQ(f.platform, c.socket) << c.model;
  }
}

// --- Transmeta ---------------------------------------------------------------------------

TEST_F(ClassicNamingTest, CrusoeByTheNumberInItsBrandString) {
  SetVendor("GenuineTMx86", 1);
  SetLeaf(1, {0x543, 0, 0, 0});
  SetHighestExtended(0x80000004);
  t.cpuid.SetBrandString("Transmeta(tm) Crusoe(tm) Processor TM5800");
  Identify();
  EXPECT_EQ(Text(0x1001), "Crusoe TM5800");
  EXPECT_EQ(Text(0x1006), "Mobile Module");
  EXPECT_EQ(Text(0x100D), "0.13");
  EXPECT_EQ(Int(0x105E), 1);
  EXPECT_EQ(probe_->Fields().warmUpNeeded, 1);

  t.cpuid.SetBrandString("Transmeta(tm) Crusoe(tm) Processor TM3200");
  Identify();
  EXPECT_EQ(Text(0x1001), "Crusoe TM3200");
  EXPECT_EQ(Text(0x100D), "0.22");
  EXPECT_EQ(Int(0x105E), 0);
  EXPECT_EQ(probe_->Fields().warmUpNeeded, 0);
}

TEST(ClassicNamingTransmeta, EfficeonAndUnknownParts) {
  CpuFields f = Record(kVendorTransmeta, 15, 2);
  f.brandString = "Transmeta Efficeon(tm) Processor TM8800";
  Name(f);
  EXPECT_EQ(f.nameWithCodeName, "Efficeon TM8800");
  EXPECT_EQ(f.process, "0.09");
  f.brandString = "Transmeta Efficeon(tm) Processor TM8820";
  Name(f);
  EXPECT_EQ(f.codeName, "Astro");
  EXPECT_EQ(f.name, "Efficeon TM8820");

  CpuFields g = Record(kVendorTransmeta, 5, 4);
  g.brandString = "Transmeta Crusoe TM9999";
  Name(g);
  EXPECT_EQ(g.nameWithCodeName, "Unknown CPU");
  EXPECT_EQ(g.platform, "Mobile Module");
  EXPECT_EQ(g.process, "");
}

// --- Cyrix, IDT, VIA ---------------------------------------------------------------------

TEST_F(ClassicNamingTest, EzraFromCentaurIsSoldAsVia) {
  SetVendor("CentaurHauls", 1);
  SetLeaf(1, {0x678, 0, 0, 0});
  Identify();
  EXPECT_EQ(Text(0x1001), "C3 (Ezra)");
  EXPECT_EQ(Text(0x1004), "VIA");
  EXPECT_EQ(Text(0x100C), "VIA C3");
  EXPECT_EQ(Int(0x1202), 22);
  EXPECT_EQ(Int(0x1201), 1);
  EXPECT_EQ(Int(0x105D), 1);  // VIA power control follows the power-control type
}

TEST(ClassicNamingCyrixIdt, VendorDecidesFamilyFive) {
  CpuFields idt = Record(kVendorIdt, 5, 4);
  Name(idt);
  EXPECT_EQ(idt.nameWithCodeName, "WinChip C6");
  EXPECT_EQ(idt.l1Instruction, 32);
  EXPECT_EQ(idt.l1Data, 32);
  EXPECT_EQ(idt.vendorShortName, "IDT");

  CpuFields cyrix = Record(kVendorCyrix, 5, 4);
  cyrix.vendorShortName = "Cyrix";
  Name(cyrix);
  EXPECT_EQ(cyrix.nameWithCodeName, "MediaGX");
  EXPECT_EQ(cyrix.l1Unified, 16);
  EXPECT_EQ(cyrix.l1Instruction, -1);

  CpuFields m1 = Record(kVendorIdt, 5, 2);
  Name(m1);
  EXPECT_EQ(m1.nameWithCodeName, "Unknown CPU");

  CpuFields mx = Record(kVendorCyrix, 6, 0, 1);
  Name(mx);
  EXPECT_EQ(mx.nameWithCodeName, "6x86MX (M II)");
  EXPECT_EQ(mx.process, "0.30");
  EXPECT_EQ(mx.l1Unified, 64);
}

TEST(ClassicNamingCyrixIdt, SamuelTwoMethodBySteppingAndEstherAbove) {
  CpuFields s0 = Record(kVendorIdt, 6, 7, 0);
  Name(s0);
  EXPECT_EQ(s0.nameWithCodeName, "C3 (Samuel 2)");
  EXPECT_EQ(s0.multiplierMethod, 20);
  CpuFields s1 = Record(kVendorIdt, 6, 7, 1);
  Name(s1);
  EXPECT_EQ(s1.multiplierMethod, 21);

  CpuFields c7 = Record(kVendorIdt, 6, 13);
  Name(c7);
  EXPECT_EQ(c7.nameWithCodeName, "C7 (Esther)");
  EXPECT_EQ(c7.platform, "Socket 400?");
  EXPECT_EQ(c7.vendorShortName, "VIA");

  CpuFields gap = Record(kVendorIdt, 6, 3);
  Name(gap);
  EXPECT_EQ(gap.nameWithCodeName, "Unknown CPU");
  EXPECT_EQ(gap.vendorShortName, "IDT");
}

// --- Generic -----------------------------------------------------------------------------

TEST_F(ClassicNamingTest, UnknownVendorOnAPentiumClassSystemIsAPentium) {
  SetVendor("SomeVendorXY", 1);
  SetLeaf(1, {0x543, 0, 0, 0});
  t.system.machine = "x86_64";
  Identify();
  EXPECT_EQ(Text(0x1001), "Pentium");
  EXPECT_EQ(Text(0x1006), "");
  t.system.machine = "i686";
  Identify();
  EXPECT_EQ(Text(0x1001), "Pentium");
  t.system.machine = "i486";
  Identify();
  EXPECT_EQ(Text(0x1001), "486");
  t.system.machine = "i386";
  Identify();
  EXPECT_EQ(Text(0x1001), "386");
  t.system.machine = "ia64";
  Identify();
  EXPECT_EQ(Text(0x1001), "Unknown CPU");
}

TEST(ClassicNamingGeneric, OtherArchitecturesByLevel) {
  auto named = [](const char* vendorString, SystemProcessor system) {
    CpuFields f = Record(kVendorUnknown, 5, 0);
    f.vendorString = vendorString;
    NameGenericProcessor(f, system);
    return f.nameWithCodeName;
  };
  using A = SystemArchitecture;
  EXPECT_EQ(named("ConnectixCPU", {A::X86, 0, 0}), "PowerPC");
  EXPECT_EQ(named("Compaq FX!32", {A::X86, 0, 0}), "Alpha");
  EXPECT_EQ(named("SomeVendorXY", {A::X86, 0, 0}), "");
  EXPECT_EQ(named("", {A::Mips, 0, 4}), "MIPS R4000");
  EXPECT_EQ(named("", {A::Mips, 0, 3}), "MIPS");
  EXPECT_EQ(named("", {A::Alpha, 0, 21164}), "Alpha 21164");
  EXPECT_EQ(named("", {A::Alpha, 0, 21264}), "Alpha");
  EXPECT_EQ(named("", {A::PowerPC, 0, 9}), "PowerPC 604+");
  EXPECT_EQ(named("", {A::PowerPC, 0, 5}), "PowerPC");
  EXPECT_EQ(named("", {A::Unknown, 0, 0}), "Unknown CPU");

  EXPECT_EQ(SystemProcessorFromMachine("i486").type, 486);
  EXPECT_EQ(SystemProcessorFromMachine("x86_64").type, 586);
  EXPECT_EQ(SystemProcessorFromMachine("alpha").architecture, A::Alpha);
  EXPECT_EQ(SystemProcessorFromMachine("").architecture, A::Unknown);
}

TEST(ClassicNamingGeneric, RiseNexGenAndNsc) {
  CpuFields rise = Record(kVendorRise, 5, 9);
  Name(rise);
  EXPECT_EQ(rise.nameWithCodeName, "mP6 (iDragon II)");
  EXPECT_EQ(rise.l1Instruction, 8);
  EXPECT_EQ(rise.l1Data, 8);
  EXPECT_EQ(rise.process, "0.18");
  CpuFields riseOther = Record(kVendorRise, 5, 4);
  Name(riseOther);
  EXPECT_EQ(riseOther.nameWithCodeName, "Unknown CPU");

  CpuFields nexgen = Record(kVendorNexGen, 5, 0);
  Name(nexgen);
  EXPECT_EQ(nexgen.nameWithCodeName, "Nx586");
  EXPECT_EQ(nexgen.process, "0.44/0.50");
  EXPECT_EQ(nexgen.l1Instruction, 16);
  CpuFields nexgenOther = Record(kVendorNexGen, 5, 1);
  Name(nexgenOther);
  EXPECT_EQ(nexgenOther.nameWithCodeName, "Unknown CPU");

  CpuFields nsc = Record(kVendorNsc, 5, 5);
  Name(nsc, "i586");
  EXPECT_EQ(nsc.nameWithCodeName, "Geode");
  EXPECT_EQ(nsc.platform, "");
}

}  // namespace
}  // namespace velora
