// Intel processors from the 386 to the Pentium M and the last Pentium 4 and Pentium D.

#include "probe/cpu/cpu_naming_rows.h"

namespace velora {

namespace {

constexpr int32_t kTop = kTopModel;

constexpr bool OverDrive(const CpuFields& f) { return f.processorType == 1; }
constexpr bool MobileP4Brand(const CpuFields& f) { return f.brandId == 14 || f.brandId == 15; }

// The Xeon of the 90 nm Pentium 4 generation, told by cache, brand and platform.
bool NoconaClass(const CpuFields& f) {
  return !BrandHas(f, "Pentium") && f.l2 >= 1024 && f.brandId != 12 &&
         (f.platformId <= 0 || f.brandId == 11 || BrandHas(f, "Xeon"));
}
bool XeonMpClass(const CpuFields& f) { return f.brandId == 12 || BrandHas(f, "Xeon"); }

// The 65 nm NetBurst line shares one signature: the brand string tells the product, the
// platform identifier only where the brand names none (engineering samples), and the
// topology where the identifier is unknown too (no MSR access, a recording).
bool NoProductInBrand(const CpuFields& f) {
  return !BrandHas(f, "Pentium") && !BrandHas(f, "Celeron") && !BrandHas(f, "Xeon");
}
// The single-core die: a Pentium 4 6x1 by its brand, or one core where the brand names nothing.
bool CedarMillCore(const CpuFields& f) {
  return BrandHas(f, "Pentium(R) 4") || (NoProductInBrand(f) && f.coresPerPackage < 2);
}

// clang-format off
constexpr NamingRow kIntelRows[] = {
    // family, models, condition, name, platform, process, method, power, flags, L1 I, D, unified
    {3, 0, kTop, nullptr, "386", "", ""},

    {4, 0, 1, nullptr, "486DX", "", "", 0, 0, 0, 0, 0, 8},
    {4, 2, 2, nullptr, "486SX", "", "", 0, 0, 0, 0, 0, 8},
    {4, 3, 3, nullptr, "486DX2", "", "", 0, 0, 0, 0, 0, 8},
    {4, 4, 4, nullptr, "486SL", "", "", 0, 0, 0, 0, 0, 8},
    {4, 5, 5, nullptr, "486SX2", "", "", 0, 0, 0, 0, 0, 8},
    {4, 7, 7, nullptr, "486DX2 WB", "", "", 0, 0, 0, 0, 0, 8},
    {4, 8, 8, nullptr, "486DX4", "", "", 0, 0, 0, 0, 0, 8},
    {4, 9, 9, nullptr, "486DX4 WB", "", "", 0, 0, 0, 0, 0, 8},
    {4, 0, kTop, nullptr, "486", "", ""},

    {5, 9, kTop, nullptr, "Pentium", "", ""},
    {5, 0, 1, OverDrive, "Pentium OverDrive", "", "0.80", 0, 0, 0, 8, 8},
    {5, 0, 1, nullptr, "Pentium (P5)", "", "0.80", 0, 0, 0, 8, 8},
    {5, 2, 2, OverDrive, "Pentium OverDrive", "", "0.35", 0, 0, 0, 8, 8},
    {5, 2, 2, nullptr, "Pentium (P54C)", "", "0.50/0.35", 0, 0, 0, 8, 8},
    {5, 3, 3, nullptr, "Pentium OverDrive (P24T)", "", "0.35", 0, 0, 0, 8, 8},
    {5, 4, 4, OverDrive, "Pentium MMX OverDrive", "", "0.28", 0, 0, 0, 16, 16},
    {5, 4, 4, nullptr, "Pentium MMX (P55C)", "", "0.28", 0, 0, 0, 16, 16},
    {5, 7, 7, nullptr, "Pentium (P54C)", "", "0.35", 0, 0, 0, 8, 8},
    {5, 8, 8, nullptr, "Pentium MMX (P55)", "", "0.25", 0, 0, 0, 16, 16},
    {5, 5, 6, nullptr, "Pentium OverDrive", "", "", 0, 0, 0, 8, 8},

    {6, 0, 0, nullptr, "Pentium Pro (P6)", "Socket 8", "0.60", 1},
    {6, 1, 1, [](const CpuFields& f) { return f.stepping > 2; }, "Pentium Pro (P6)", "Socket 8", "0.35", 1},
    {6, 1, 1, nullptr, "Pentium Pro (P6)", "Socket 8", "0.60", 1},
    {6, 2, 2, nullptr, "Pentium Pro (P6)", "Socket 8", "0.35", 1},
    {6, 3, 3, OverDrive, "Pentium II OverDrive", "", "0.25", 1},
    {6, 3, 3, nullptr, "Pentium II (Klamath)", "Slot 1", "0.28", 1, 0, kHalfSpeedL2},
    {6, 4, 4, nullptr, "OverDrive", "", ""},
    {6, 5, 5, [](const CpuFields& f) { return f.l2 > 512; }, "Pentium II Xeon (Deschutes)", "Slot 2", "0.25", 1},
    {6, 5, 5, [](const CpuFields& f) { return f.l2 == 512 && OverDrive(f); }, "Pentium II OverDrive", "", "0.25", 1, 0, kHalfSpeedL2},
    {6, 5, 5, [](const CpuFields& f) { return f.l2 == 512; }, "Pentium II (Deschutes)", "Slot 1", "0.25", 1, 0, kHalfSpeedL2},
    {6, 5, 5, [](const CpuFields& f) { return f.l2 != 0; }, "", "", "0.25", 1},
    {6, 5, 5, nullptr, "Celeron (Covinton)", "Slot 1", "0.25", 1},
    {6, 6, 6, [](const CpuFields& f) { return (f.stepping == 10 || f.stepping == 13) && f.l2 == 256; }, "Mobile Pentium II (Dixon)", "Mobile Module", "0.25", 1},
    {6, 6, 6, [](const CpuFields& f) { return (f.stepping != 10 && f.stepping != 13) || f.l2 != 128; }, "Celeron (Mendocino)", "Socket 370", "0.25", 1},
    {6, 6, 6, nullptr, "Mobile Celeron (Dixon-128K)", "Mobile Module", "0.25", 1},
    {6, 7, 7, [](const CpuFields& f) { return f.l2 == 1024; }, "Pentium III Xeon (Tanner)", "Slot 2", "0.25", 1},
    {6, 7, 7, nullptr, "Pentium III (Katmai)", "Slot 1", "0.25", 1, 0, kHalfSpeedL2},
    {6, 8, 8, [](const CpuFields& f) { return f.brandId == 3; }, "Pentium III Xeon (Cascades)", "", "0.18", 3},
    {6, 8, 8, [](const CpuFields& f) { return f.l2 == 256 && OddPlatformId(f); }, "Mobile Pentium III (Coppermine)", "Mobile Module", "0.18", 3},
    {6, 8, 8, [](const CpuFields& f) { return f.l2 == 256; }, "Pentium III (Coppermine)", "Socket 370", "0.18", 3},
    {6, 8, 8, [](const CpuFields& f) { return f.l2 > 128; }, "", "", "0.18", 3},
    {6, 8, 8, OddPlatformId, "Mobile Celeron (Coppermine-128K)", "Mobile Module", "0.18", 3},
    {6, 8, 8, nullptr, "Celeron (Coppermine-128K)", "Socket 370", "0.18", 3},
    {6, 9, 9, [](const CpuFields& f) { return f.l2 == 1024; }, "Pentium M (Banias)", "Socket 479", "0.13", 7, 0, kWarmUp},
    {6, 9, 9, nullptr, "Celeron M (Banias-512K)", "Socket 479", "0.13", 7},
    {6, 10, 10, nullptr, "Pentium III Xeon (Cascades)", "", "0.18", 3},
    {6, 11, 11, [](const CpuFields& f) { return f.brandId == 7; }, "Mobile Celeron (Tualatin)", "Mobile Module", "0.13", 4, 0, kWarmUp},
    {6, 11, 11, [](const CpuFields& f) { return f.brandId == 6; }, "Mobile Pentium III-M (Tualatin)", "Mobile Module", "0.13", 4, 0, kWarmUp},
    {6, 11, 11, [](const CpuFields& f) { return f.brandId == 3 && f.stepping > 0; }, "Celeron (Tualatin)", "Socket 370", "0.13", 4},
    {6, 11, 11, [](const CpuFields& f) { return f.l2 == 512; }, "Pentium III-S (Tualatin)", "Socket 370", "0.13", 4},
    {6, 11, 11, [](const CpuFields& f) { return f.brandId == 4 || f.brandId == 2; }, "Pentium III (Tualatin)", "Socket 370", "0.13", 4},
    {6, 11, 11, nullptr, "Celeron (Tualatin)", "Socket 370", "0.13", 4},
    {6, 14, 14, nullptr, "Pentium M (Yonah)", "Socket 479", "0.065", 8},
    {6, 12, 13, [](const CpuFields& f) { return f.l2 == 1024; }, "Celeron M (Dothan-1024K)", "Socket 479", "0.09", 8},
    {6, 12, 13, nullptr, "Pentium M (Dothan)", "Socket 479", "0.09", 8, 0, kWarmUp},
    {6, 15, kTop, nullptr, "", "", ""},

    {7, 0, kTop, nullptr, "Itanium (Merced)", "", ""},

    {15, 0, kTop, [](const CpuFields& f) { return f.extendedFamily > 1; }, "Itanium 2 (Madison)", "", ""},
    {15, 0, kTop, [](const CpuFields& f) { return f.extendedFamily == 1; }, "Itanium 2 (McKinley)", "", ""},
    {15, 0, 1, [](const CpuFields& f) { return f.brandId == 11 && f.stepping <= 2; }, "Xeon MP (Foster MP)", "Socket 603", "0.18", 5},
    {15, 0, 1, [](const CpuFields& f) { return f.brandId == 11 || f.brandId == 14; }, "Xeon (Foster)", "Socket 603", "0.18", 5},
    {15, 0, 1, [](const CpuFields& f) { return f.brandId == 12; }, "Xeon MP (Foster MP)", "Socket 603", "0.18", 5},
    {15, 0, 1, [](const CpuFields& f) { return f.l2 == 128; }, "Celeron (Willamette-128K)", "Socket 478", "0.18", 5},
    {15, 1, 1, nullptr, "Pentium 4 (Willamette)", "Socket 478", "0.18", 5},
    {15, 0, 0, nullptr, "Pentium 4 (Willamette)", "Socket 423", "0.18", 5},

    {15, 2, 2, [](const CpuFields& f) { return f.brandId == 12; }, "Xeon MP (Gallatin)", "Socket 603/604", "0.13", 6},
    {15, 2, 2, [](const CpuFields& f) { return f.brandId == 11; }, "Xeon (Prestonia)", "Socket 603/604", "0.13", 6},
    {15, 2, 2, [](const CpuFields& f) { return f.brandId == 9 && f.l3 == 2048; }, "Pentium 4 XE (Gallatin)", "", "0.13", 6, 0, kPlatformById},
    {15, 2, 2, [](const CpuFields& f) { return f.l2 == 256; }, "Mobile Celeron (Northwood-256K)", "Socket 478", "0.13", 6},
    {15, 2, 2, [](const CpuFields& f) { return f.l2 == 128 && BrandHas(f, "Pentium"); }, "Pentium 4 (Northwood-128K)", "", "0.13", 6, 0, kPlatformById},
    {15, 2, 2, [](const CpuFields& f) { return f.l2 == 128; }, "Celeron (Northwood-128K)", "", "0.13", 6, 0, kPlatformById},
    {15, 2, 2, [](const CpuFields& f) { return MobileP4Brand(f) && f.logicalPerCore >= 2; }, "Mobile Pentium 4 HT (Northwood)", "", "0.13", 6, 0, kPlatformById | kWarmUp},
    {15, 2, 2, [](const CpuFields& f) { return MobileP4Brand(f) && f.nominalBusClock >= 125.0; }, "Mobile Pentium 4 (Northwood)", "", "0.13", 6, 0, kPlatformById | kWarmUp},
    {15, 2, 2, MobileP4Brand, "Mobile Pentium 4-M (Northwood)", "", "0.13", 6, 0, kPlatformById | kWarmUp},
    {15, 2, 2, [](const CpuFields& f) { return f.logicalPerCore < 2; }, "Pentium 4 (Northwood)", "", "0.13", 6, 0, kPlatformById},
    {15, 2, 2, nullptr, "Pentium 4 HT (Northwood)", "", "0.13", 6, 0, kPlatformById},

    {15, 3, 4, [](const CpuFields& f) { return NoconaClass(f) && f.l2 == 2048; }, "Xeon (Irwindale)", "Socket 604", "0.09", 6},
    {15, 3, 4, NoconaClass, "Xeon (Nocona)", "Socket 604", "0.09", 6},
    {15, 3, 4, [](const CpuFields& f) { return XeonMpClass(f) && f.l3 > 0; }, "Xeon MP (Potomac)", "Socket 604", "0.09", 6},
    {15, 3, 4, XeonMpClass, "Xeon MP (Cranford)", "Socket 604", "0.09", 6},
    {15, 3, 4, [](const CpuFields& f) { return f.processors >= 4; }, "Pentium XE (Smithfield)", "", "0.09", 6, 0, kPlatformById | kPentiumXeCores},
    {15, 3, 4, [](const CpuFields& f) { return BrandHas(f, "Pentium(R) D"); }, "Pentium D (Smithfield)", "", "0.09", 6, 0, kPlatformById | kPentiumDCores},
    {15, 3, 4, [](const CpuFields& f) { return f.l2 == 2048 && f.nominalBusClock >= 266.6; }, "Pentium 4 XE (Prescott-2M)", "", "0.09", 6, 0, kPlatformById},
    {15, 3, 4, [](const CpuFields& f) { return f.l2 == 2048; }, "Pentium 4 HT (Prescott-2M)", "", "0.09", 6, 0, kPlatformById},
    {15, 3, 4, [](const CpuFields& f) { return BrandHas(f, "obile Celeron") && f.l2 == 256; }, "Mobile Celeron (Prescott-256K)", "", "0.09", 6, 0, kPlatformById},
    {15, 3, 4, [](const CpuFields& f) { return BrandHas(f, "obile Celeron") && f.l2 == 512; }, "Mobile Celeron (Prescott-512K)", "", "0.09", 6, 0, kPlatformById},
    {15, 3, 4, [](const CpuFields& f) { return BrandHas(f, "Celeron") || f.l2 == 256; }, "Celeron D (Prescott-256K)", "", "0.09", 6, 0, kPlatformById},
    {15, 3, 4, [](const CpuFields& f) { return f.logicalPerCore < 2 && !BrandHas(f, "obile"); }, "Pentium 4 (Prescott)", "", "0.09", 6, 0, kPlatformById},
    {15, 3, 4, [](const CpuFields& f) { return f.logicalPerCore < 2; }, "Mobile Pentium 4 (Prescott)", "", "0.09", 6, 0, kPlatformById},
    {15, 3, 4, [](const CpuFields& f) { return !BrandHas(f, "obile"); }, "Pentium 4 HT (Prescott)", "", "0.09", 6, 0, kPlatformById},
    {15, 3, 4, nullptr, "Mobile Pentium 4 HT (Prescott)", "", "0.09", 6, 0, kPlatformById},

    {15, 5, 5, nullptr, "Pentium 4 (Tejas)", "LGA775", "0.09", 6},
    {15, 6, 6, [](const CpuFields& f) { return f.l3 > 0; }, "Xeon MP (Tulsa)", "Socket 604", "0.065", 6},
    {15, 6, 6, [](const CpuFields& f) { return BrandHas(f, "Celeron") || f.l2 == 512; }, "Celeron D (Cedar Mill)", "LGA775", "0.065", 6},
    {15, 6, 6, [](const CpuFields& f) { return BrandHas(f, "Xeon"); }, "Xeon (Dempsey)", "Socket 604", "0.065", 6},
    {15, 6, 6, [](const CpuFields& f) { return !BrandHas(f, "Pentium") && f.platformId >= 0 && f.platformId != 4; }, "Xeon (Dempsey)", "Socket 604", "0.065", 6},
    {15, 6, 6, [](const CpuFields& f) { return CedarMillCore(f) && f.logicalPerCore < 2; }, "Pentium 4 (Cedar Mill)", "LGA775", "0.065", 6},
    {15, 6, 6, CedarMillCore, "Pentium 4 HT (Cedar Mill)", "LGA775", "0.065", 6},
    {15, 6, 6, [](const CpuFields& f) { return NoProductInBrand(f) && f.platformId < 0 && f.logicalPerCore >= 2; }, "Xeon (Dempsey)", "Socket 604", "0.065", 6},
    {15, 6, 6, [](const CpuFields& f) { return f.processors < 4; }, "Pentium D (Presler)", "LGA775", "0.065", 6},
    {15, 6, 6, nullptr, "Pentium XE (Presler)", "LGA775", "0.065", 6},
};
// clang-format on

}  // namespace

void NameIntelProcessor(CpuFields& f) {
  const NamingRow* row = FindNamingRow(kIntelRows, f);
  if (row == nullptr) {
    NameUnknown(f);
    return;
  }
  ApplyNamingRow(*row, f);
}

}  // namespace velora
