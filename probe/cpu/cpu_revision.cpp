#include "probe/cpu/cpu_revision.h"

#include "probe/cpu/cpu_format.h"
#include "probe/cpu/cpu_k8_brand.h"

namespace velora {

namespace {

constexpr CoreRevisionRow kIntelRevisions[] = {
    {{0x517}, 1, kAnyL3, "D1", 294, 3.1},
    {{0x51A}, 1, kAnyL3, "tA0", 91, 3.3},
    {{0x525}, 1, kAnyL3, "C2", -1, 3.2},
    {{0x52C}, 1, kAnyL3, "C2", 81, 3.3},
    {{0x543}, 1, kAnyL3, "B1", 128, 4.5},
    {{0x544}, 1, kAnyL3, "A3", 140, 4.5},
    {{0x581}, 1, kAnyL3, "A0", 90, 4.5},
    {{0x582}, 1, kAnyL3, "B2", 90, 4.5},
    {{0x611}, 1, kAnyL3, "B0", 306, 5.5},
    {{0x612}, 1, kAnyL3, "C0", 306, 5.5},
    {{0x616}, 1, kAnyL3, "sA0", 195, 5.5},
    {{0x617}, 1, kAnyL3, "sA1", 195, 5.5},
    {{0x619}, 1, kAnyL3, "sB1", 195, 5.5},
    {{0x632}, 1, kAnyL3, "TdB0", -1, -1},
    {{0x633}, 1, kAnyL3, "C0", 203, 7.5},
    {{0x634}, 1, kAnyL3, "C1", 203, 7.5},
    {{0x650}, 1, kAnyL3, "A0", 131, 7.5},
    {{0x651}, 1, kAnyL3, "A1", 131, 7.5},
    {{0x652}, 1, kAnyL3, "B0", -1, 7.5},
    {{0x653}, 1, kAnyL3, "B1", 118, 7.5},
    {{0x660}, 1, kAnyL3, "mA0", 154, 19},
    {{0x665}, 1, kAnyL3, "mB0", 154, 19},
    {{0x66A}, 1, kAnyL3, "A0", -1, -1},
    {{0x672}, 1, kAnyL3, "B0", 123, 9.5},
    {{0x673}, 1, kAnyL3, "C0", 123, 9.5},
    {{0x681}, 1, kAnyL3, "A2", 106, 28},
    {{0x683}, 1, kAnyL3, "B0", 105, 28},
    {{0x686}, 1, kAnyL3, "C0", 90, 28},
    {{0x68A}, 1, kAnyL3, "D0", 95, 28},
    {{0x695}, 1, kAnyL3, "B1", 83, 77},
    {{0x6A0}, 1, kAnyL3, "A0", 375, 140},
    {{0x6A1}, 1, kAnyL3, "A1", 375, 140},
    {{0x6B1}, 1, kAnyL3, "A1", 80, 44},
    {{0x6B4}, 1, kAnyL3, "B1", 80, 44},
    {{0x6D6}, 1, kAnyL3, "B1", 87, 144},
    {{0x6D8}, 1, kAnyL3, "C0", 87, 144},
    {{0xF07}, 1, kAnyL3, "B2", 217, 42},
    {{0xF0A}, 1, kAnyL3, "C1", 217, 42},
    {{0xF11}, 1, kAnyL3, "C0", -1, 76},
    {{0xF12}, 1, kAnyL3, "D0", 217, 42},
    {{0xF13}, 1, kAnyL3, "E0", 217, 42},
    {{0xF22}, 1, 1024, "A0", -1, 110},
    {{0xF22}, 1, 2048, "A0", 237, 169},
    {{0xF24}, 1, kAnyL3, "B0", 146, 55},
    {{0xF25}, 1, 1024, "B1", -1, 108},
    {{0xF25}, 1, 2048, "M0", 237, 169},
    {{0xF25}, 1, kAnyL3, "M0", 131, 55},
    {{0xF26}, 1, 2048, "C0", 237, 169},
    {{0xF26}, 1, kAnyL3, "C0", -1, -1},
    {{0xF27}, 1, kAnyL3, "C1", 131, 55},
    {{0xF29}, 1, kAnyL3, "D1", 131, 55},
    {{0xF33}, 1, kAnyL3, "C0", 81, 125},
    {{0xF34}, 1, kAnyL3, "D0", 81, 125},
    {{0xF41}, 1, kAnyL3, "E0", 81, 125},
    {{0xF43}, 1, kAnyL3, "N0", 135, 169},
    {{0xF44}, 1, kAnyL3, "A0", 206, 230},
    {{0xF49}, 1, kAnyL3, "G1", 81, 125},
    {{0xF4A}, 1, kAnyL3, "R0", 135, 169},
};

constexpr CoreRevisionRow kAmdRevisions[] = {
    {{0x561}, 1, kAnyL3, "B", 162, 8.8},
    {{0x562}, 1, kAnyL3, "C", 162, 8.8},
    {{0x570}, 1, kAnyL3, "A", 68, 8.8},
    {{0x580}, 1, kAnyL3, "A", 81, 9.3},
    {{0x58C}, 1, kAnyL3, "C", 81, 9.3},
    {{0x590}, 1, kAnyL3, "A", 118, 21.3},
    {{0x591}, 1, kAnyL3, "B", 118, 21.3},
    {{0x611}, 1, kAnyL3, "C1", 184, 22},
    {{0x612}, 1, kAnyL3, "C2", 184, 22},
    {{0x621}, 1, kAnyL3, "A1", 102, 22},
    {{0x622}, 1, kAnyL3, "A2", 102, 22},
    {{0x630}, 1, kAnyL3, "A0", 100, 25},
    {{0x631}, 1, kAnyL3, "A2", 100, 25},
    {{0x642}, 1, kAnyL3, "A4", 120, 37},
    {{0x644}, 1, kAnyL3, "A9", 120, 37},
    {{0x660}, 1, kAnyL3, "A0", 130, 37.5},
    {{0x661}, 1, kAnyL3, "A2", 130, 37.5},
    {{0x662}, 1, kAnyL3, "A5", 130, 37.5},
    {{0x670}, 1, kAnyL3, "A0", 106, 25.2},
    {{0x671}, 1, kAnyL3, "A1", 106, 25.2},
    {{0x680}, 1, kAnyL3, "A0", 81, 37.5},
    {{0x681}, 1, kAnyL3, "B1", 85, 37.5},
    {{0x6A0}, 1, kAnyL3, "A2", 101, 54.3},
};

constexpr CoreRevisionRow kAmdFamily15Revisions[] = {
    {{0xF40, 0xF50}, 2, kAnyL3, "SH-B0", 193, 105.9},
    {{0xF48, 0xF58}, 2, kAnyL3, "SH-C0", 193, 105.9},
    {{0xF4A, 0xF5A, 0xF7A, 0xFF4}, 4, kAnyL3, "SH-CG", 193, 105.9},
    {{0xF51}, 1, kAnyL3, "SH-B3", 193, 105.9},
    {{0xF82, 0xFB2}, 2, kAnyL3, "CH-CG", 144, 68.5},
    {{0xFC0, 0xFE0, 0xFF0}, 3, kAnyL3, "DH-CG", 144, 68.5},
    {{0x10F40, 0x10F50, 0x10F70}, 3, kAnyL3, "SH-D0", 84, 68.5},
    {{0x10F80, 0x10FB0}, 2, kAnyL3, "CH-D0", 84, 68.5},
    {{0x10FC0, 0x10FF0}, 2, kAnyL3, "DH-D0", 84, 68.5},
    {{0x20F10}, 1, kAnyL3, "JH-E1", 205, 233},
    {{0x20F12, 0x20F32}, 2, kAnyL3, "JH-E6", 205, 233},
    {{0x20F42}, 1, kAnyL3, "BH-E5", 115, 114},
    {{0x20F51, 0x20F71}, 2, kAnyL3, "SH-E4", 115, 114},
    {{0x20FB1}, 1, kAnyL3, "BH-E4", 147, 154},
    {{0x20FC0, 0x20FF0}, 2, kAnyL3, "DH-E3", 84, 76},
    {{0x20FC2, 0x20FF2}, 2, kAnyL3, "DH-E6", 84, 76},
};

constexpr CoreRevisionRow kCyrixIdtRevisions[] = {
    {{0x520}, 1, kAnyL3, "", -1, 3},
    {{0x530}, 1, kAnyL3, "", 169, 3},
    {{0x600}, 1, kAnyL3, "", 197, 6},
    {{0x601}, 1, kAnyL3, "", 156, 6},
    {{0x651}, 1, kAnyL3, "", -1, 6},
    {{0x660}, 1, kAnyL3, "S1", 75, 11.3},
    {{0x670, 0x671, 0x672}, 3, kAnyL3, "S2", 52, 15.2},
    {{0x678}, 1, kAnyL3, "E", 52, 15.4},
    {{0x680, 0x689}, 2, kAnyL3, "ET", 47, 15.5},
    {{0x691, 0x693}, 2, kAnyL3, "N", 47, 20.5},
    {{0x694, 0x695, 0x696, 0x697}, 4, kAnyL3, "N", 52, 20.5},
    {{0x698}, 1, kAnyL3, "A", 47, 20.4},
};

struct SuffixRow {
  std::array<int32_t, 7> brandIds;  // the first `count` are used
  uint8_t count;
  const char* format;  // one %d
  int32_t scale;
  int32_t offset;
};

// Brand identifier 0 writes nothing; identifiers in no row give the empty text.
constexpr SuffixRow kModelNumberSuffixes[] = {
    {{4, 5, 8, 9, 29, 30, 32}, 7, " %d00+", 1, 22},
    {{10, 11}, 2, "-%d", 1, 22},
    {{12, 13, 14, 15}, 4, " 1%d", 2, 38},
    {{16, 17, 18, 19}, 4, " 2%d", 2, 38},
    {{20, 21, 22, 23}, 4, " 8%d", 2, 38},
    {{24}, 1, " %d00+", 1, 9},
    {{33, 34, 35, 38}, 4, " %d00+", 1, 24},
    {{36}, 1, "-%d", 1, 24},
    {{41, 44, 45, 46, 47, 56}, 6, " 1%d", 5, 45},
    {{42, 48, 49, 50, 51, 57}, 6, " 2%d", 5, 45},
    {{43, 52, 53, 54, 55, 58}, 6, " 8%d", 5, 45},
};

}  // namespace

std::span<const CoreRevisionRow> CoreRevisionRows(RevisionTable table, bool amdFamily15) {
  switch (table) {
    case RevisionTable::Intel: return kIntelRevisions;
    case RevisionTable::Amd:
      if (amdFamily15) return kAmdFamily15Revisions;
      return kAmdRevisions;
    case RevisionTable::CyrixIdt: return kCyrixIdtRevisions;
  }
  return {};
}

void ApplyCoreRevision(RevisionTable table, CpuFields& f) {
  bool amdFamily15 = table == RevisionTable::Amd && f.family == 15;
  uint32_t signature = amdFamily15 ? f.extLeaf1Eax : (f.leaf1Eax & 0xFFF);
  f.coreRevision.clear();
  for (const CoreRevisionRow& row : CoreRevisionRows(table, amdFamily15)) {
    bool matches = false;
    for (uint8_t i = 0; i < row.count; ++i) matches = matches || row.signatures[i] == signature;
    if (!matches || (row.l3Kb != kAnyL3 && row.l3Kb != f.l3)) continue;
    f.coreRevision = std::string(row.revision);
    f.dieSize = row.dieMm2;
    f.transistors = row.transistorsM;
    return;
  }
}

void ApplyModelNumberSuffix(CpuFields& f) {
  // Read with the earlier layout, a revision F brand id gives a number the part never had.
  if (IsK8RevisionFOrLater(f)) {
    f.modelNumberSuffix.clear();
    return;
  }
  if (f.brandId == 0) return;
  f.modelNumberSuffix.clear();
  int32_t index = K8BrandTableIndex(f);
  for (const SuffixRow& row : kModelNumberSuffixes) {
    for (uint8_t i = 0; i < row.count; ++i) {
      if (row.brandIds[i] != index) continue;
      f.modelNumberSuffix = FormatText(row.format, f.brandNumber * row.scale + row.offset);
      return;
    }
  }
}

}  // namespace velora
