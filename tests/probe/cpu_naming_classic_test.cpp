// The classic naming tables on targeted inputs: fake CPUID registers through the whole
// identification where the registers alone decide, direct processor records where the clock
// registers (platform identifier, multiplier, nominal bus) would.

#include <gtest/gtest.h>

#include "cpu_fixture.h"
#include "platform/fake/fake_system_queries.h"
#include "probe/cpu/cpu_identity_text.h"
#include "probe/cpu/cpu_naming.h"
#include "probe/cpu/cpu_naming_rows.h"
#include "probe/cpu/cpu_revision.h"

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

// Names the record in place and gives its name with code name.
const std::string& NameOf(CpuFields& f, const std::string& machine = "x86_64") {
  Name(f, machine);
  return f.nameWithCodeName;
}

// An AMD family 6 record with its L2 and, for the Sempron rules, extended EDX bit 19.
CpuFields K7(int32_t model, int32_t l2Kb, bool mpBit = false) {
  CpuFields f = Record(kVendorAmd, 6, model);
  f.l2 = l2Kb;
  if (mpBit) f.extLeaf1Edx = 1u << 19;
  return f;
}

// An AMD family 15 record of the brand table, its model-number suffix already written.
CpuFields K8Record(int32_t model, int32_t brandId, const char* suffix = "") {
  CpuFields f = Record(kVendorAmd, 15, model);
  f.brandId = brandId;
  f.modelNumberSuffix = suffix;
  return f;
}

// Leaf 0x80000001 EBX for an AMD family 15 brand identifier and brand number.
constexpr uint32_t K8BrandEbx(uint32_t brandId, uint32_t brandNumber) {
  return brandId << 6 | brandNumber;
}

// What the probe answers for the naming of a processor.
struct Naming {
  std::string nameWithCodeName, platform, process, suffix;
  bool operator==(const Naming&) const = default;
};

void PrintTo(const Naming& n, std::ostream* os) {
  *os << "{\"" << n.nameWithCodeName << "\", \"" << n.platform << "\", \"" << n.process
      << "\", \"" << n.suffix << "\"}";
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
    SetLeaf(0x80000007, {0, 0, 0, 0});
  }
  // A K8 that carries only the 8-bit brand id of leaf 1 EBX bits 7 to 0.
  void K8EightBitBrand(uint32_t signature, uint32_t leaf1Ebx, const char* brand) {
    K8(signature, 0, 1024, brand);
    SetLeaf(1, {signature, leaf1Ebx, 0, 0});
  }
  // Revision F and G: the signature in both leaves, the core count in leaf 0x80000008. The
  // extended brand id is the one of the recorded 6400+, which the brand table reads as a
  // Sempron.
  void K8RevisionF(uint32_t signature, uint32_t cores, uint32_t l2Kb, const char* brand) {
    K8(signature, K8BrandEbx(38, 39), l2Kb, brand);
    SetLeaf(1, {signature, 0, 0, 0});
    Cores(cores);
  }
  void Cores(uint32_t cores) { SetLeaf(0x80000008, {0x3028, 0, cores - 1, 0}); }
  void FrequencyAndVoltageControl() { SetLeaf(0x80000007, {0, 0, 0, 0x6}); }
  Naming Named() {
    Identify();
    return {Text(0x1001), Text(0x1006), Text(0x100D), Text(0x1011)};
  }
};

// --- Intel -------------------------------------------------------------------------------

TEST(ClassicNamingIntel, CoppermineIsMobileOnlyWithAnOddPlatformIdentifier) {
  CpuFields f = Record(kVendorIntel, 6, 8, 6);
  f.l2 = 256;
  f.platformId = 5;
  EXPECT_EQ(NameOf(f), "Mobile Pentium III (Coppermine)");
  EXPECT_EQ(f.platform, "Mobile Module");
  EXPECT_EQ(f.process, "0.18");
  EXPECT_EQ(f.multiplierMethod, 3);

  f.platformId = 4;
  EXPECT_EQ(NameOf(f), "Pentium III (Coppermine)");
  EXPECT_EQ(f.platform, "Socket 370");

  // Before the registers are read the identifier is unknown, which is not odd.
  f.platformId = -1;
  EXPECT_EQ(NameOf(f), "Pentium III (Coppermine)");
  f.l2 = 128;
  EXPECT_EQ(NameOf(f), "Celeron (Coppermine-128K)");
  f.platformId = 1;
  EXPECT_EQ(NameOf(f), "Mobile Celeron (Coppermine-128K)");
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
  EXPECT_EQ(NameOf(f), "Pentium 4 HT (Northwood)");
  EXPECT_EQ(f.platform, "Socket 478/LGA775");
  f.platformId = 2;
  Name(f);
  EXPECT_EQ(f.platform, "Socket 478");
  f.platformId = 4;
  Name(f);
  EXPECT_EQ(f.platform, "LGA775");
  // Rows with a socket of their own keep it.
  f.brandId = 11;
  EXPECT_EQ(NameOf(f), "Xeon (Prestonia)");
  EXPECT_EQ(f.platform, "Socket 603/604");
}

TEST(ClassicNamingIntel, TheSecondPassSeesTheNominalBusClock) {
  CpuFields f = Record(kVendorIntel, 15, 2, 7);
  f.l2 = 512;
  f.brandId = 14;
  f.logicalPerCore = 1;
  EXPECT_EQ(NameOf(f), "Mobile Pentium 4-M (Northwood)");  // first pass: bus still unknown
  EXPECT_EQ(f.warmUpNeeded, 1);
  f.nominalBusClock = 133.33;
  EXPECT_EQ(NameOf(f), "Mobile Pentium 4 (Northwood)");

  CpuFields p = Record(kVendorIntel, 15, 4, 3);
  p.l2 = 2048;
  p.brandString = "Intel(R) Pentium(R) 4 CPU 3.73GHz";
  EXPECT_EQ(NameOf(p), "Pentium 4 HT (Prescott-2M)");
  p.nominalBusClock = 266.67;
  EXPECT_EQ(NameOf(p), "Pentium 4 XE (Prescott-2M)");
}

// A 65 nm NetBurst record: brand string, L2 per core, cores and logical processors per core.
CpuFields NetBurst65(const char* brand, int32_t l2, int32_t cores, int32_t logicalPerCore) {
  CpuFields f = Record(kVendorIntel, 15, 6, 4);
  f.brandString = brand;
  f.l2 = l2;
  f.coresPerPackage = cores;
  f.logicalPerCore = logicalPerCore;
  f.processors = cores * (logicalPerCore > 1 ? logicalPerCore : 1);
  return f;
}

TEST(ClassicNamingIntel, NetBurst65ByBrandWhatEverThePlatformIdentifier) {
  for (int32_t platformId : {-1, 0, 4}) {
    SCOPED_TRACE(platformId);
    CpuFields celeron = NetBurst65("Intel(R) Celeron(R) D CPU 3.06GHz", 512, 1, 1);
    celeron.platformId = platformId;
    EXPECT_EQ(NameOf(celeron), "Celeron D (Cedar Mill)");
    EXPECT_EQ(celeron.platform, "LGA775");
    EXPECT_EQ(celeron.process, "0.065");
    EXPECT_EQ(celeron.multiplierMethod, 6);

    CpuFields p4 = NetBurst65("Intel(R) Pentium(R) 4 CPU 3.60GHz", 2048, 1, 2);
    p4.platformId = platformId;
    EXPECT_EQ(NameOf(p4), "Pentium 4 HT (Cedar Mill)");
    EXPECT_EQ(p4.platform, "LGA775");
    p4.logicalPerCore = 1;
    EXPECT_EQ(NameOf(p4), "Pentium 4 (Cedar Mill)");

    CpuFields xeon = NetBurst65("Intel(R) Xeon(TM) CPU 3.20GHz", 2048, 2, 2);
    xeon.platformId = platformId;
    EXPECT_EQ(NameOf(xeon), "Xeon (Dempsey)");
    EXPECT_EQ(xeon.platform, "Socket 604");
    xeon.l3 = 16384;
    EXPECT_EQ(NameOf(xeon), "Xeon MP (Tulsa)");
    EXPECT_EQ(xeon.platform, "Socket 604");
    EXPECT_EQ(xeon.process, "0.065");
  }
}

TEST(ClassicNamingIntel, PentiumDAndItsExtremeEditionStayPreslers) {
  // The Extreme Edition 955 and 965 report "Pentium(R) D" too; Hyper-Threading tells them.
  for (int32_t platformId : {-1, 0, 4}) {
    SCOPED_TRACE(platformId);
    CpuFields d = NetBurst65("Intel(R) Pentium(R) D CPU 3.40GHz", 2048, 2, 1);
    d.platformId = platformId;
    EXPECT_EQ(NameOf(d), "Pentium D (Presler)");
    EXPECT_EQ(d.platform, "LGA775");
    CpuFields xe = NetBurst65("Intel(R) Pentium(R) D CPU 3.73GHz", 2048, 2, 2);
    xe.platformId = platformId;
    EXPECT_EQ(NameOf(xe), "Pentium XE (Presler)");
    EXPECT_EQ(xe.platform, "LGA775");
  }
}

TEST(ClassicNamingIntel, NetBurst65WithoutAProductInTheBrandFollowsThePlatformIdentifier) {
  // A known identifier other than 4 is the server platform, as before.
  for (const char* brand : {"", "Genuine Intel(R) CPU 3.20GHz"}) {
    SCOPED_TRACE(brand);
    CpuFields f = NetBurst65(brand, 2048, 2, 1);
    f.platformId = 1;
    EXPECT_EQ(NameOf(f), "Xeon (Dempsey)");
    EXPECT_EQ(f.platform, "Socket 604");
    f.platformId = 4;
    EXPECT_EQ(NameOf(f), "Pentium D (Presler)");
    EXPECT_EQ(f.platform, "LGA775");
    f.logicalPerCore = 2;
    f.processors = 4;
    EXPECT_EQ(NameOf(f), "Pentium XE (Presler)");
    // One core on the desktop platform is the Pentium 4 die, not a Pentium D.
    CpuFields single = NetBurst65(brand, 2048, 1, 2);
    single.platformId = 4;
    EXPECT_EQ(NameOf(single), "Pentium 4 HT (Cedar Mill)");
  }
}

TEST(ClassicNamingIntel, NetBurst65WithoutBrandOrPlatformIdentifierByTopology) {
  CpuFields single = NetBurst65("", 2048, 1, 1);
  EXPECT_EQ(NameOf(single), "Pentium 4 (Cedar Mill)");
  CpuFields dual = NetBurst65("", 2048, 2, 1);
  EXPECT_EQ(NameOf(dual), "Pentium D (Presler)");
  // Two cores with Hyper-Threading: a Xeon 50xx far more often than an Extreme Edition.
  CpuFields dualHt = NetBurst65("", 2048, 2, 2);
  EXPECT_EQ(NameOf(dualHt), "Xeon (Dempsey)");
  EXPECT_EQ(dualHt.platform, "Socket 604");
  // The L2 and the L3 name the die without any brand.
  CpuFields celeron = NetBurst65("", 512, 1, 1);
  EXPECT_EQ(NameOf(celeron), "Celeron D (Cedar Mill)");
  CpuFields tulsa = NetBurst65("", 1024, 2, 2);
  tulsa.l3 = 6144;
  EXPECT_EQ(NameOf(tulsa), "Xeon MP (Tulsa)");
  EXPECT_EQ(tulsa.name, "Xeon MP");
  EXPECT_EQ(tulsa.codeName, "Tulsa");
}

TEST(ClassicNamingIntel, EarlyFamiliesSetTheirCacheDefaults) {
  CpuFields f = Record(kVendorIntel, 4, 8);
  f.l1Unified = -1;
  EXPECT_EQ(NameOf(f), "486DX4");
  EXPECT_EQ(f.l1Unified, 8);

  CpuFields other = Record(kVendorIntel, 4, 6);
  EXPECT_EQ(NameOf(other), "486");
  EXPECT_EQ(other.l1Unified, -1);

  CpuFields mmx = Record(kVendorIntel, 5, 4, 3);
  mmx.l1Data = 8;  // a decoded size the default replaces
  EXPECT_EQ(NameOf(mmx), "Pentium MMX (P55C)");
  EXPECT_EQ(mmx.l1Instruction, 16);
  EXPECT_EQ(mmx.l1Data, 16);
  EXPECT_EQ(mmx.platform, "");
  EXPECT_EQ(mmx.process, "0.28");
  mmx.processorType = 1;
  EXPECT_EQ(NameOf(mmx), "Pentium MMX OverDrive");
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
  EXPECT_EQ(NameOf(b), "Pentium M (Banias)");
  EXPECT_EQ(b.warmUpNeeded, 1);
  EXPECT_EQ(b.multiplierMethod, 7);
  EXPECT_EQ(b.l2HalfSpeed, 0);
}

TEST(ClassicNamingIntel, ModelsTheTablesDoNotKnowStayUnknown) {
  CpuFields f = Record(kVendorIntel, 15, 7);
  f.platform = "left over";
  EXPECT_EQ(NameOf(f), "Unknown CPU");
  EXPECT_EQ(f.platform, "");
  EXPECT_EQ(f.process, "");
  CpuFields g = Record(kVendorIntel, 9, 0);
  EXPECT_EQ(NameOf(g), "Unknown CPU");
  CpuFields madison = Record(kVendorIntel, 15, 1);
  madison.extendedFamily = 2;
  EXPECT_EQ(NameOf(madison), "Itanium 2 (Madison)");
}

// --- AMD ---------------------------------------------------------------------------------

TEST(ClassicNamingAmd, BartonIsASempronOnlyAtMultiplierTwelve) {
  CpuFields f = K7(10, 512, true);
  f.multiplier = 12.0;
  EXPECT_EQ(NameOf(f), "Sempron (Barton)");
  EXPECT_EQ(f.sempron, 1);
  EXPECT_EQ(f.platform, "Socket A");
  EXPECT_EQ(f.process, "0.13");
  EXPECT_EQ(f.multiplierMethod, 11);

  CpuFields g = K7(10, 512, true);
  g.multiplier = 11.5;
  EXPECT_EQ(NameOf(g), "Athlon XP (Barton)");
  EXPECT_EQ(g.sempron, 0);

  // Thorton: any multiplier up to 12, so also the unknown one of the first pass.
  CpuFields h = K7(10, 256, true);
  EXPECT_EQ(NameOf(h), "Sempron (Thorton)");
}

TEST(ClassicNamingAmd, MultiprocessorFlagFromTheBrandOrTheProcessorCount) {
  CpuFields f = K7(10, 512);
  f.brandString = "AMD Athlon(tm) MP 2800+";
  EXPECT_EQ(NameOf(f), "Athlon MP (Barton)");
  EXPECT_EQ(f.multiprocessor, 1);

  CpuFields g = K7(6, 256);
  g.processors = 2;
  EXPECT_EQ(NameOf(g), "Athlon MP (Palomino)");

  CpuFields k8 = Record(kVendorAmd, 15, 5);
  k8.processors = 2;
  Name(k8);
  EXPECT_EQ(k8.multiprocessor, 0);
}

TEST(ClassicNamingAmd, MobileK7TakesThePowerControlRegisters) {
  CpuFields f = K7(8, 64);
  f.powerControlCapable = 1;
  EXPECT_EQ(NameOf(f), "Mobile Duron (Applebred)");
  EXPECT_EQ(f.multiplierMethod, 12);
  EXPECT_EQ(f.powerControlType, 7);
  EXPECT_EQ(f.warmUpNeeded, 1);
  f.l2 = 256;
  EXPECT_EQ(NameOf(f), "Mobile Athlon XP-M (Thoroughbred)");
}

TEST(ClassicNamingAmd, K6PlusSetsTheK6PowerControl) {
  CpuFields f = Record(kVendorAmd, 5, 13);
  f.l2 = 128;
  EXPECT_EQ(NameOf(f), "K6-2+");
  EXPECT_EQ(f.platform, "Socket 7 / Mobile");
  EXPECT_EQ(f.multiplierMethod, 10);
  EXPECT_EQ(f.powerControlType, 6);

  CpuFields am486 = Record(kVendorAmd, 4, 15);
  EXPECT_EQ(NameOf(am486), "Am5x86");
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
  FrequencyAndVoltageControl();
  Identify();
  EXPECT_EQ(Text(0x1001), "Dual Core Opteron 150 HE (Denmark)");
  EXPECT_EQ(Text(0x1006), "Socket 940");  // extended-leaf combined model 0x21 = 33
  EXPECT_EQ(Int(0x1202), 14);
  EXPECT_EQ(Int(0x1201), 8);
  EXPECT_EQ(probe_->Fields().warmUpNeeded, 1);
}

TEST_F(ClassicNamingTest, EightBitBrandIdCountsTableRowsInFours) {
  // Leaf 1 EBX 81h, as the recorded Opteron 240 HE: bits 7 to 5 are 4, row 16; NN 1.
  K8EightBitBrand(0xF51, 0x881, "AMD Opteron(tm) Processor 240 HE");
  EXPECT_EQ(Named(), (Naming{"Opteron DP 240 (SledgeHammer)", "Socket 940", "0.13", " 240"}));
  EXPECT_EQ(Text(0x100C), "AMD Opteron DP 240");
  EXPECT_EQ(Text(0x1036), "04");  // the brand identifier itself stays as leaf 1 gives it

  K8EightBitBrand(0xF51, 3u << 5 | 3, "AMD Opteron(tm) Processor 144");
  EXPECT_EQ(Named().nameWithCodeName, "Opteron UP 144 (SledgeHammer)");
  K8EightBitBrand(0xF4A, 1u << 5 | 10, "AMD Athlon(tm) 64 Processor 3200+");
  EXPECT_EQ(Named().nameWithCodeName, "Athlon 64 3200+ (ClawHammer)");
  // Row 24, Athlon 64 with NN + 9.
  K8EightBitBrand(0xF4A, 6u << 5 | 23, "AMD Athlon(tm) 64 Processor 3200+");
  EXPECT_EQ(Named().nameWithCodeName, "Athlon 64 3200+ (ClawHammer)");
  // Row 28 is in no line of the table.
  K8EightBitBrand(0xF4A, 7u << 5 | 1, "");
  EXPECT_EQ(Named().nameWithCodeName, "Hammer (K8)");

  // With bits 7 to 5 zero the identifier comes from bits 8 to 10 and is a row itself.
  K8EightBitBrand(0xF4A, 5u << 8 | 16, "");
  EXPECT_EQ(Named(), (Naming{"Athlon 64 X2 3800+ (Toledo)", "Socket 754", "0.13", " 3800+"}));
  EXPECT_EQ(Int(0x1036), 5);
}

TEST(ClassicNamingAmd, K8BrandTableEnds) {
  CpuFields sample = K8Record(4, 0);
  EXPECT_EQ(NameOf(sample), "Hammer Engineering Sample");
  EXPECT_EQ(sample.codeName, "");

  for (int32_t brand : {1, 7, 25, 37, 40, 58 + 1, 63}) {
    CpuFields f = K8Record(4, brand, " 9900+");
    EXPECT_EQ(NameOf(f), "Hammer (K8)") << brand;
  }

  CpuFields sempron = K8Record(12, 34, " 3000+");
  sempron.extLeafCombinedModel = 0x1F;
  EXPECT_EQ(NameOf(sempron), "Sempron 3000+ (Winchester-128K)");
  sempron.extLeafCombinedModel = 0x2F;
  EXPECT_EQ(NameOf(sempron), "Sempron 3000+");

  CpuFields victoria = K8Record(12, 38, " 2800+");
  victoria.extendedModel = 1;
  EXPECT_EQ(NameOf(victoria), "Sempron 2800+ (Victoria)");
  victoria.sse3 = 1;
  EXPECT_EQ(NameOf(victoria), "Sempron 2800+ (Palermo)");

  CpuFields lv = K8Record(4, 9, " 3000+");
  lv.extendedModel = 2;
  lv.l2 = 1024;
  EXPECT_EQ(NameOf(lv), "Mobile Athlon 64 3000+ [LV] (Lancaster)");
}

TEST(ClassicNamingAmd, SocketTableByExtendedLeafCombinedModel) {
  struct Case {
    int32_t model;
    const char* socket;
  };
  for (Case c : {Case{4, "Socket 754"}, Case{46, "Socket 754"}, Case{5, "Socket 940"},
                 Case{37, "Socket 940"}, Case{7, "Socket 939"}, Case{47, "Socket 939"},
                 Case{6, ""}, Case{65, ""}}) {
    CpuFields f = K8Record(c.model & 15, 4);
    f.extLeafCombinedModel = c.model;
    Name(f);
    EXPECT_EQ(f.platform, c.socket) << c.model;
  }
}

TEST_F(ClassicNamingTest, K8RevisionFKeepsTheClockAndPowerRulesOfTheK8) {
  // AM2: model 4Bh, the BH die with both cores.
  K8RevisionF(0x40FB2, 2, 512, "AMD Athlon(tm) 64 X2 Dual Core Processor 5000+");
  FrequencyAndVoltageControl();
  EXPECT_EQ(Named(), (Naming{"Athlon 64 X2 5000+ (Windsor)", "Socket AM2", "0.09", ""}));
  EXPECT_EQ(Text(0x100A), "Athlon 64 X2 5000+");
  EXPECT_EQ(Text(0x100B), "Windsor");
  EXPECT_EQ(Text(0x100C), "AMD Athlon 64 X2 5000+");
  EXPECT_EQ(Int(0x1202), 14);
  EXPECT_EQ(Int(0x1201), 8);
  EXPECT_EQ(probe_->Fields().warmUpNeeded, 1);

  K8RevisionF(0x40F82, 2, 512, "AMD Turion(tm) 64 X2 Mobile Technology TL-60");
  Identify();
  EXPECT_EQ(Int(0x1202), 13);
  EXPECT_EQ(probe_->Fields().warmUpNeeded, 0);
}

TEST_F(ClassicNamingTest, K8RevisionsFAndGByDieAndPackage) {
  struct Case {
    uint32_t signature, cores, l2Kb;
    const char* brand;
    Naming expected;
  };
  const Case cases[] = {
      // S1g1: model 48h, told apart by the L2 per core.
      {0x40F82, 2, 512, "AMD Turion(tm) 64 X2 Mobile Technology TL-60",
       {"Turion 64 X2 Mobile Technology TL-60 (Trinidad)", "Socket S1g1", "0.09", ""}},
      {0x40F82, 2, 256, "AMD Turion(tm) 64 X2 Mobile Technology TL-50",
       {"Turion 64 X2 Mobile Technology TL-50 (Taylor)", "Socket S1g1", "0.09", ""}},
      // Socket F (1207): model 41h, and 0C1h of revision F3, still 90 nm.
      {0x40F13, 2, 1024, "Dual-Core AMD Opteron(tm) Processor 8218",
       {"Opteron 8218 (Santa Rosa)", "Socket F", "0.09", ""}},
      {0xC0F13, 2, 1024, "Dual-Core AMD Opteron(tm) Processor 8220 SE",
       {"Opteron 8220 SE (Santa Rosa)", "Socket F", "0.09", ""}},
      // The same die on AM2 is the Opteron 1200.
      {0x40F33, 2, 1024, "Dual-Core AMD Opteron(tm) Processor 1216",
       {"Opteron 1216 (Santa Ana)", "Socket AM2", "0.09", ""}},
      // Revision G is 65 nm.
      {0x60FB2, 2, 512, "AMD Athlon(tm) 64 X2 Dual Core Processor 5000+",
       {"Athlon 64 X2 5000+ (Brisbane)", "Socket AM2", "0.065", ""}},
      {0x70FF2, 1, 256, "AMD Sempron(tm) Processor LE-1250",
       {"Sempron LE-1250 (Sparta)", "Socket AM2", "0.065", ""}},
      {0x70FF2, 1, 512, "AMD Athlon(tm) Processor LE-1640",
       {"Athlon LE-1640 (Lima)", "Socket AM2", "0.065", ""}},
      {0x60FC2, 1, 256, "Mobile AMD Sempron(tm) Processor 3600+",
       {"Mobile Sempron 3600+ (Sherman)", "Socket S1g1", "0.065", ""}},
  };
  for (const Case& c : cases) {
    K8RevisionF(c.signature, c.cores, c.l2Kb, c.brand);
    EXPECT_EQ(Named(), c.expected) << c.brand;
  }
}

TEST_F(ClassicNamingTest, K8RevisionFWithoutARowKeepsItsBrandName) {
  // Model 4Eh is no die; its low bits name no package either.
  K8RevisionF(0x40FE2, 1, 512, "AMD Athlon(tm) 64 Processor 3500+");
  EXPECT_EQ(Named(), (Naming{"Athlon 64 3500+", "", "0.09", ""}));
  EXPECT_EQ(Text(0x100B), "");
  EXPECT_EQ(Text(0x100C), "AMD Athlon 64 3500+");
  // A dual-core die with one core is not named after the dual-core part.
  K8RevisionF(0x60FB2, 1, 512, "AMD Athlon(tm) 64 Processor 3500+");
  EXPECT_EQ(Named(), (Naming{"Athlon 64 3500+", "Socket AM2", "0.065", ""}));
  // Without a brand string the signature stands for the name.
  K8RevisionF(0x60FB2, 2, 512, "");
  EXPECT_EQ(Named().nameWithCodeName, "Family 0Fh Model 6Bh (Brisbane)");
}

TEST_F(ClassicNamingTest, K8BeforeRevisionFStaysWithTheBrandTable) {
  // Extended model 3 still reads the brand table; the same registers as model 4Bh do not.
  K8(0x30FB1, K8BrandEbx(5, 16), 1024, "AMD Athlon(tm) 64 X2 Dual Core Processor 3800+");
  Cores(2);
  EXPECT_EQ(Named(), (Naming{"Athlon 64 X2 3800+ (Toledo)", "", "0.09", " 3800+"}));
  K8(0x40FB1, K8BrandEbx(5, 16), 1024, "AMD Athlon(tm) 64 X2 Dual Core Processor 3800+");
  Cores(2);
  EXPECT_EQ(Named(), (Naming{"Athlon 64 X2 3800+ (Windsor)", "Socket AM2", "0.09", ""}));
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
  EXPECT_EQ(NameOf(f), "Efficeon TM8800");
  EXPECT_EQ(f.process, "0.09");
  f.brandString = "Transmeta Efficeon(tm) Processor TM8820";
  Name(f);
  EXPECT_EQ(f.codeName, "Astro");
  EXPECT_EQ(f.name, "Efficeon TM8820");

  CpuFields g = Record(kVendorTransmeta, 5, 4);
  g.brandString = "Transmeta Crusoe TM9999";
  EXPECT_EQ(NameOf(g), "Unknown CPU");
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
  EXPECT_EQ(NameOf(idt), "WinChip C6");
  EXPECT_EQ(idt.l1Instruction, 32);
  EXPECT_EQ(idt.l1Data, 32);
  EXPECT_EQ(idt.vendorShortName, "IDT");

  CpuFields cyrix = Record(kVendorCyrix, 5, 4);
  cyrix.vendorShortName = "Cyrix";
  EXPECT_EQ(NameOf(cyrix), "MediaGX");
  EXPECT_EQ(cyrix.l1Unified, 16);
  EXPECT_EQ(cyrix.l1Instruction, -1);

  CpuFields m1 = Record(kVendorIdt, 5, 2);
  EXPECT_EQ(NameOf(m1), "Unknown CPU");

  CpuFields mx = Record(kVendorCyrix, 6, 0, 1);
  EXPECT_EQ(NameOf(mx), "6x86MX (M II)");
  EXPECT_EQ(mx.process, "0.30");
  EXPECT_EQ(mx.l1Unified, 64);
}

TEST(ClassicNamingCyrixIdt, SamuelTwoMethodBySteppingAndEstherAbove) {
  CpuFields s0 = Record(kVendorIdt, 6, 7, 0);
  EXPECT_EQ(NameOf(s0), "C3 (Samuel 2)");
  EXPECT_EQ(s0.multiplierMethod, 20);
  CpuFields s1 = Record(kVendorIdt, 6, 7, 1);
  Name(s1);
  EXPECT_EQ(s1.multiplierMethod, 21);

  CpuFields c7 = Record(kVendorIdt, 6, 13);
  EXPECT_EQ(NameOf(c7), "C7 (Esther)");
  EXPECT_EQ(c7.platform, "Socket 400?");
  EXPECT_EQ(c7.vendorShortName, "VIA");

  CpuFields gap = Record(kVendorIdt, 6, 3);
  EXPECT_EQ(NameOf(gap), "Unknown CPU");
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

// A leaf 0 of zeros names no vendor and no leaf: nothing is identified, as without CPUID, and
// the system's processor type does not make a Pentium of it.
TEST_F(ClassicNamingTest, ALeafZeroOfZerosIdentifiesNothing) {
  t.cpuid.Set(0, 0, {0, 0, 0, 0});
  t.system.machine = "x86_64";
  Identify();
  EXPECT_EQ(Text(0x1001), "");
  EXPECT_EQ(Text(0x1002), "") << "no leaf was decoded";
  // The same with a leaf 1 behind it, which the highest leaf of 0 disowns.
  SetLeaf(1, {0x543, 0, 0, 0x10});
  Identify();
  EXPECT_EQ(Text(0x1001), "");
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
  EXPECT_EQ(NameOf(rise), "mP6 (iDragon II)");
  EXPECT_EQ(rise.l1Instruction, 8);
  EXPECT_EQ(rise.l1Data, 8);
  EXPECT_EQ(rise.process, "0.18");
  CpuFields riseOther = Record(kVendorRise, 5, 4);
  EXPECT_EQ(NameOf(riseOther), "Unknown CPU");

  CpuFields nexgen = Record(kVendorNexGen, 5, 0);
  EXPECT_EQ(NameOf(nexgen), "Nx586");
  EXPECT_EQ(nexgen.process, "0.44/0.50");
  EXPECT_EQ(nexgen.l1Instruction, 16);
  CpuFields nexgenOther = Record(kVendorNexGen, 5, 1);
  EXPECT_EQ(NameOf(nexgenOther), "Unknown CPU");

  CpuFields nsc = Record(kVendorNsc, 5, 5);
  EXPECT_EQ(NameOf(nsc, "i586"), "Geode");
  EXPECT_EQ(nsc.platform, "");
}

}  // namespace
}  // namespace velora
