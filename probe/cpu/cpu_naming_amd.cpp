// AMD processors from the Am486 to the K8 generation (Athlon 64, Opteron, Sempron, Turion).

#include <algorithm>
#include <array>
#include <string>

#include "probe/cpu/cpu_k8_brand.h"
#include "probe/cpu/cpu_naming_rows.h"

namespace velora {

namespace {

constexpr int32_t kTop = kTopModel;

bool PowerCapable(const CpuFields& f) { return f.powerControlCapable != 0; }
bool MpBit(const CpuFields& f) { return (f.extLeaf1Edx & (1u << 19)) != 0; }

// Mobile parts of family 6 (power-control-capable) switch clock and voltage: they take power
// type 7, warm-up and the FID/VID multiplier register.
constexpr uint32_t kMobileK7 = kWarmUp;

// clang-format off
constexpr NamingRow kAmdRows[] = {
    // family, models, condition, name, platform, process, method, power, flags, L1 I, D, unified
    {4, 3, 3, nullptr, "Am486DX2", "Socket 3", "", 0, 0, 0, 0, 0, 8},
    {4, 7, 7, nullptr, "Am486DX2", "Socket 3", "", 0, 0, 0, 0, 0, 8},
    {4, 8, 9, nullptr, "Am5x86", "Socket 3", "", 0, 0, 0, 0, 0, 16},
    {4, 15, 15, nullptr, "Am5x86", "Socket 3", "", 0, 0, 0, 0, 0, 16},

    {5, 0, 0, nullptr, "K5", "Socket 5/7", "0.35/0.50", 0, 0, 0, 16, 8},
    {5, 1, 3, nullptr, "K5", "Socket 5/7", "0.35", 0, 0, 0, 16, 8},
    {5, 6, 6, nullptr, "K6", "Socket 7", "0.30"},
    {5, 7, 7, nullptr, "K6", "Socket 7", "0.25"},
    {5, 8, 8, nullptr, "K6-2 (K6-3D)", "Socket 7", "0.25", 10},
    {5, 9, 9, nullptr, "K6-III (Sharptooth)", "Socket 7", "0.25", 10},
    {5, 12, 13, [](const CpuFields& f) { return f.l2 == 256; }, "K6-III+", "Socket 7 / Mobile", "0.18", 10, 6},
    {5, 12, 13, nullptr, "K6-2+", "Socket 7 / Mobile", "0.18", 10, 6},

    {6, 0, 1, nullptr, "Athlon (K7)", "Slot A", "0.25", 11},
    {6, 2, 2, nullptr, "Athlon (K75)", "Slot A", "0.18", 11},
    {6, 3, 3, nullptr, "Duron (Spitfire)", "Socket A", "0.18", 11},
    {6, 4, 4, nullptr, "Athlon (Thunderbird)", "Slot A / Socket A", "0.18", 11},
    {6, 6, 6, [](const CpuFields& f) { return PowerCapable(f) && f.l2 == 64; }, "Mobile Duron (Palomino)", "Socket A", "0.18", 12, 7, kMobileK7},
    {6, 6, 6, PowerCapable, "Mobile Athlon 4 (Palomino)", "Socket A", "0.18", 12, 7, kMobileK7},
    {6, 6, 6, [](const CpuFields& f) { return f.l2 == 256 && f.multiprocessor != 0; }, "Athlon MP (Palomino)", "Socket A", "0.18", 11},
    {6, 6, 6, [](const CpuFields& f) { return f.l2 == 256; }, "Athlon XP (Palomino)", "Socket A", "0.18", 11},
    {6, 6, 6, [](const CpuFields& f) { return f.l2 == 64; }, "Duron (Morgan)", "Socket A", "0.18", 11},
    {6, 6, 6, nullptr, "Athlon XP/MP (Palomino)", "Socket A", "0.18", 11},
    {6, 7, 7, PowerCapable, "Mobile Duron (Morgan)", "Socket A", "0.18", 12, 7, kMobileK7},
    {6, 7, 7, nullptr, "Duron (Morgan)", "Socket A", "0.18", 11},
    {6, 8, 8, [](const CpuFields& f) { return PowerCapable(f) && f.l2 == 64; }, "Mobile Duron (Applebred)", "Socket A", "0.13", 12, 7, kMobileK7},
    {6, 8, 8, PowerCapable, "Mobile Athlon XP-M (Thoroughbred)", "Socket A", "0.13", 12, 7, kMobileK7},
    {6, 8, 8, [](const CpuFields& f) { return f.l2 == 256 && f.multiprocessor != 0; }, "Athlon MP (Thoroughbred)", "Socket A", "0.13", 11},
    {6, 8, 8, [](const CpuFields& f) { return MpBit(f) && f.l2 == 256 && f.multiplier <= 12.0; }, "Sempron (Thoroughbred)", "Socket A", "0.13", 11, 0, kSempronFlag},
    {6, 8, 8, [](const CpuFields& f) { return f.l2 == 256; }, "Athlon XP (Thoroughbred)", "Socket A", "0.13", 11},
    {6, 8, 8, [](const CpuFields& f) { return f.l2 == 64; }, "Duron (Applebred)", "Socket A", "0.13", 11},
    {6, 8, 8, nullptr, "Athlon XP/MP (Thoroughbred)", "Socket A", "0.13", 11},
    {6, 10, 10, [](const CpuFields& f) { return PowerCapable(f) && f.l2 == 512; }, "Mobile Athlon XP-M (Barton)", "Socket A", "0.13", 12, 7, kMobileK7},
    {6, 10, 10, PowerCapable, "Mobile Athlon XP-M (Thorton)", "Socket A", "0.13", 12, 7, kMobileK7},
    {6, 10, 10, [](const CpuFields& f) { return f.l2 == 512 && f.multiprocessor != 0; }, "Athlon MP (Barton)", "Socket A", "0.13", 11},
    {6, 10, 10, [](const CpuFields& f) { return MpBit(f) && f.l2 == 512 && f.multiplier == 12.0; }, "Sempron (Barton)", "Socket A", "0.13", 11, 0, kSempronFlag},
    {6, 10, 10, [](const CpuFields& f) { return MpBit(f) && f.l2 == 256 && f.multiplier <= 12.0; }, "Sempron (Thorton)", "Socket A", "0.13", 11, 0, kSempronFlag},
    {6, 10, 10, [](const CpuFields& f) { return f.l2 == 512; }, "Athlon XP (Barton)", "Socket A", "0.13", 11},
    {6, 10, 10, [](const CpuFields& f) { return f.l2 == 256; }, "Athlon XP (Thorton)", "Socket A", "0.13", 11},
    {6, 10, 10, nullptr, "Athlon XP/MP (Barton)", "Socket A", "0.13", 11},
    {6, 0, kTop, nullptr, "Unknown CPU", "", "", 11},
};
// clang-format on

// K8 sockets by extended-leaf combined model.
struct SocketRow {
  std::array<uint8_t, 12> models;
  uint8_t count;
  std::string_view socket;
};

constexpr SocketRow kK8Sockets[] = {
    {{4, 8, 12, 14, 20, 24, 28, 30, 36, 40, 44, 46}, 12, "Socket 754"},
    {{5, 21, 33, 37}, 4, "Socket 940"},
    {{7, 11, 15, 23, 27, 31, 35, 39, 43, 47}, 10, "Socket 939"},
};

using TextRule = std::string_view (*)(const CpuFields&);

// A word after the suffix that only some brand identifiers of a row carry (" HE", " [LV]").
struct K8Tag {
  uint8_t brandId;  // 0: no tag
  std::string_view text;
};

// K8 names: base, then the model-number suffix, then a tag and the code name.
struct K8BrandRow {
  std::array<uint8_t, 6> brandIds;
  uint8_t count;
  std::string_view base;
  bool withSuffix;
  std::array<K8Tag, 3> tags;
  TextRule codeName;  // null: none
};

std::string_view Athlon64Code(const CpuFields& f) {
  if (f.l2 == 512) {
    if (f.extendedModel == 2) return " (Venice)";
    if (f.extendedModel == 1) return " (Winchester)";
    if (f.model == 4 || f.model == 7) return " (ClawHammer)";
    switch (f.model) {
      case 8: case 11: case 12: case 14: case 15: return " (NewCastle)";
      default: return {};
    }
  }
  if (f.extendedModel > 0) return " (San Diego)";
  if (f.model == 4 || f.model == 12 || f.model == 14) return " (ClawHammer)";
  return " (SledgeHammer)";
}

// clang-format off
constexpr K8BrandRow kK8Brands[] = {
    {{0}, 1, "Hammer Engineering Sample", false, {}, nullptr},
    {{4, 24}, 2, "Athlon 64", true, {}, Athlon64Code},
    {{5}, 1, "Athlon 64 X2", true, {}, [](const CpuFields& f) -> std::string_view {
       if (f.l2 == 512 && f.extendedModel == 2) return " (Toledo-512K)";
       return f.l2 == 512 ? " (Manchester)" : " (Toledo)"; }},
    {{8}, 1, "Mobile Athlon 64", true, {}, [](const CpuFields& f) -> std::string_view {
       if (f.extendedModel > 0) return " (Newark)";
       return f.model == 4 ? " (ClawHammer)" : " (NewCastle)"; }},
    {{9}, 1, "Mobile Athlon 64", true, {{{9, " [LV]"}}},
     [](const CpuFields& f) -> std::string_view {
       if (f.extendedModel > 0 && f.l2 == 1024) return " (Lancaster)";
       if (f.extendedModel > 0) return " (Oakville)";
       return f.model == 4 ? " (ClawHammer)" : " (NewCastle)"; }},
    {{10}, 1, "Turion 64 ML", true, {}, [](const CpuFields&) -> std::string_view { return " (Lancaster)"; }},
    {{11}, 1, "Turion 64 MT", true, {}, [](const CpuFields&) -> std::string_view { return " (Lancaster)"; }},
    {{12, 13, 14, 15}, 4, "Opteron UP", true, {{{14, " HE"}, {15, " EE"}}},
     [](const CpuFields& f) -> std::string_view { return f.model < 8 ? " (SledgeHammer)" : " (Venus)"; }},
    {{16, 17, 18, 19}, 4, "Opteron DP", true, {{{18, " HE"}, {19, " EE"}}},
     [](const CpuFields& f) -> std::string_view { return f.model < 8 ? " (SledgeHammer)" : " (Troy)"; }},
    {{20, 21, 22, 23}, 4, "Opteron MP", true, {{{22, " HE"}, {23, " EE"}}},
     [](const CpuFields& f) -> std::string_view { return f.model < 8 ? " (SledgeHammer)" : " (Athens)"; }},
    {{29, 30}, 2, "Mobile Athlon XP-M", true, {}, nullptr},
    {{32}, 1, "Athlon XP", true, {}, [](const CpuFields& f) -> std::string_view {
       return f.extendedModel > 0 ? " (Palermo)" : " (Paris)"; }},
    {{33}, 1, "Mobile Sempron", true, {}, [](const CpuFields& f) -> std::string_view {
       return f.extendedModel <= 0 ? " (Dublin)" : " (Georgetown)"; }},
    {{34}, 1, "Sempron", true, {}, [](const CpuFields& f) -> std::string_view {
       switch (f.extLeafCombinedModel) {
         case 12: return " (Paris)";
         case 28: case 44: return " (Palermo)";
         case 31: return " (Winchester-128K)";
         default: return {};
       } }},
    {{35}, 1, "Mobile Sempron", true, {{{35, " [LV]"}}},
     [](const CpuFields& f) -> std::string_view { return f.extendedModel <= 0 ? " (Dublin)" : " (Sonora)"; }},
    {{36}, 1, "Athlon 64 FX", true, {}, [](const CpuFields& f) -> std::string_view {
       return f.extendedModel > 0 ? " (San Diego)" : " (SledgeHammer)"; }},
    {{38}, 1, "Sempron", true, {}, [](const CpuFields& f) -> std::string_view {
       if (f.extendedModel <= 0) return " (Paris)";
       return f.amd64 != 0 || f.sse3 != 0 ? " (Palermo)" : " (Victoria)"; }},
    {{41, 44, 45, 46, 47, 56}, 6, "Dual Core Opteron", true, {{{41, " SE"}, {46, " HE"}, {47, " EE"}}},
     [](const CpuFields&) -> std::string_view { return " (Denmark)"; }},
    {{42, 48, 49, 50, 51, 57}, 6, "Dual Core Opteron", true, {{{42, " SE"}, {50, " HE"}, {51, " EE"}}},
     [](const CpuFields&) -> std::string_view { return " (Italy)"; }},
    {{43, 52, 53, 54, 55, 58}, 6, "Dual Core Opteron", true, {{{43, " SE"}, {54, " HE"}, {55, " EE"}}},
     [](const CpuFields&) -> std::string_view { return " (Egypt)"; }},
};
// clang-format on

constexpr size_t kNameCapacity = 64;

std::string_view TagOf(const K8BrandRow& row, int32_t index) {
  for (const K8Tag& tag : row.tags) {
    if (tag.brandId != 0 && tag.brandId == index) return tag.text;
  }
  return {};
}

void NameK8FromBrandTable(CpuFields& f) {
  f.platform.clear();
  for (const SocketRow& row : kK8Sockets) {
    const uint8_t* end = row.models.data() + row.count;
    if (std::find(row.models.data(), end, f.extLeafCombinedModel) != end) {
      f.platform = std::string(row.socket);
    }
  }
  f.process = f.extendedModel > 0 ? "0.09" : "0.13";

  int32_t index = K8BrandTableIndex(f);
  f.nameWithCodeName = "Hammer (K8)";
  for (const K8BrandRow& row : kK8Brands) {
    const uint8_t* end = row.brandIds.data() + row.count;
    if (std::find(row.brandIds.data(), end, index) == end) continue;
    std::string name(row.base);
    if (row.withSuffix) name += f.modelNumberSuffix;
    name += TagOf(row, index);
    if (row.codeName != nullptr) name += row.codeName(f);
    if (name.size() > kNameCapacity) name.resize(kNameCapacity);
    f.nameWithCodeName = std::move(name);
    break;
  }
}

void NameK8(CpuFields& f) {
  if (PowerCapable(f)) {
    f.warmUpNeeded = 1;
    f.multiplierMethod = 14;
    f.powerControlType = 8;
  } else {
    f.multiplierMethod = 13;
  }
  if (IsK8RevisionFOrLater(f)) {
    NameK8RevisionF(f);
  } else {
    NameK8FromBrandTable(f);
  }
}

}  // namespace

void NameAmdProcessor(CpuFields& f) {
  if (f.family == 6 && (BrandHas(f, "MP") || f.processors > 1)) f.multiprocessor = 1;
  if (f.family == 15) {
    NameK8(f);
    return;
  }
  const NamingRow* row = FindNamingRow(kAmdRows, f);
  if (row == nullptr) {
    NameUnknown(f);
    return;
  }
  ApplyNamingRow(*row, f);
}

}  // namespace velora
