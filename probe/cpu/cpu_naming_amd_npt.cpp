// AMD K8 revisions F and G, from the 90 nm Windsor to the 65 nm Brisbane. Their BIOS writes the
// brand string from a brand-id layout of their own, so the name is the brand string's; the
// model tells the die, and its low two bits the package.

#include <string>
#include <string_view>

#include "probe/cpu/cpu_brand_clean.h"
#include "probe/cpu/cpu_format.h"
#include "probe/cpu/cpu_naming_rows.h"

namespace velora {

namespace {

struct NptRow {
  int32_t model;              // display model: extended model x 16 + model
  int32_t cores;              // 0 for any
  int32_t l2Kb;               // per core; 0 for any
  std::string_view nameHas;   // in the cleaned brand name; empty for any
  std::string_view codeName;
};

// The dual-core dies (JH, BH) name a part only when both cores are there; a model without a
// row keeps the brand string's name and no code name.
// clang-format off
constexpr NptRow kNptRows[] = {
    // 90 nm, revision F.
    {0x41, 2, 0, "Athlon 64 FX", "Windsor"},
    {0x41, 2, 0, "Opteron", "Santa Rosa"},
    {0x43, 2, 0, "Opteron", "Santa Ana"},
    {0x43, 2, 0, "", "Windsor"},
    {0x48, 2, 256, "Turion", "Taylor"},
    {0x48, 2, 512, "Turion", "Trinidad"},
    {0x4B, 2, 0, "", "Windsor"},
    {0x4C, 0, 0, "Turion", "Richmond"},
    {0x4C, 0, 0, "Sempron", "Keene"},
    {0x4F, 0, 0, "Sempron", "Manila"},
    {0x4F, 0, 0, "Athlon", "Orleans"},
    {0x5F, 0, 0, "Sempron", "Manila"},
    {0x5F, 0, 0, "Athlon", "Orleans"},
    {0xC1, 2, 0, "Opteron", "Santa Rosa"},
    // 65 nm, revision G.
    {0x68, 2, 0, "", "Tyler"},
    {0x6B, 2, 0, "", "Brisbane"},
    {0x6C, 0, 0, "Sempron", "Sherman"},
    {0x6F, 0, 0, "Sempron", "Sparta"},
    {0x6F, 0, 0, "Athlon", "Lima"},
    {0x7C, 0, 0, "Sempron", "Sherman"},
    {0x7F, 0, 0, "Sempron", "Sparta"},
    {0x7F, 0, 0, "Athlon", "Lima"},
};
// clang-format on

const NptRow* FindNptRow(int32_t model, const CpuFields& f, std::string_view name) {
  for (const NptRow& row : kNptRows) {
    if (row.model != model) continue;
    if (row.cores != 0 && row.cores != f.coresPerPackage) continue;
    if (row.l2Kb != 0 && row.l2Kb != f.l2) continue;
    if (!row.nameHas.empty() && name.find(row.nameHas) == std::string_view::npos) continue;
    return &row;
  }
  return nullptr;
}

// The low two bits of the model: 0 S1g1, 1 Socket F (1207), 3 AM2. Leaf 0x80000001 EBX bits
// 31 to 28, the package type of the later families, read zero on these parts.
std::string_view PackageOf(int32_t model) {
  switch (model & 3) {
    case 0: return "Socket S1g1";
    case 1: return "Socket F";
    case 3: return "Socket AM2";
    default: return {};
  }
}

std::string_view ProcessOf(int32_t extendedModel) {
  switch (extendedModel) {
    case 4: case 5: case 0xC: return "0.09";
    case 6: case 7: return "0.065";
    default: return {};
  }
}

constexpr size_t kNameCapacity = 64;

}  // namespace

void NameK8RevisionF(CpuFields& f) {
  int32_t model = f.extendedModel * 16 + f.model;
  std::string name = CleanBrandString(f.brandString);
  if (name.empty()) name = FormatText("Family 0Fh Model %02Xh", static_cast<unsigned>(model));
  if (const NptRow* row = FindNptRow(model, f, name)) {
    name += " (" + std::string(row->codeName) + ")";
  }
  if (name.size() > kNameCapacity) name.resize(kNameCapacity);
  f.nameWithCodeName = std::move(name);
  f.platform = std::string(PackageOf(model));
  f.process = std::string(ProcessOf(f.extendedModel));
}

}  // namespace velora
