#include "info/feature_page_data.h"

#include "probe/probe_id_table.h"

namespace velora {

namespace {

namespace ids = probe_id;

constexpr uint32_t kRegisterIds[kFeatureRegisterCount] = {
    ids::kCpuLeaf1Edx,    ids::kCpuLeaf1Ecx, ids::kCpuExtLeaf1Edx,
    ids::kCpuExtLeaf1Ecx, ids::kCentaurEdx,  ids::kTransmetaEdx,
    ids::kCpuLeaf7Ebx,    ids::kCpuLeaf7Ecx, ids::kCpuLeaf7Edx,
    ids::kCpuLeaf7Sub1Eax, ids::kCpuLeafDSub1Eax, ids::kCpuLeaf6Eax,
    ids::kCpuExtLeaf7Edx, ids::kCpuExtLeaf8Ebx};

std::array<FeatureRow, 32> RowsOf(const FeaturePageData& page, FeatureRegister reg) {
  const FeatureTable table = FeatureTableFor(reg, page.vendorShortName);
  const uint32_t bits = page.registers[static_cast<size_t>(reg)];
  std::array<FeatureRow, 32> rows{};
  for (int bit = 0; bit < 32; ++bit) {
    const FeatureBit& b = table[static_cast<size_t>(bit)];
    rows[static_cast<size_t>(bit)] = {b.name, b.description, (bits >> bit) & 1u ? "YES" : "NO"};
  }
  return rows;
}

}  // namespace

FeaturePageData ReadFeaturePageData(ProbeObject& probe) {
  FeaturePageData page;
  for (int i = 0; i < kFeatureRegisterCount; ++i) {
    int32_t value = 0;
    // A register the probe cannot answer has no flags set.
    if (probe.GetInt(kRegisterIds[i], &value) != 0) value = 0;
    page.registers[static_cast<size_t>(i)] = static_cast<uint32_t>(value);
  }
  char vendor[kProbeTextCapacity] = "";
  if (probe.GetString(ids::kCpuVendorShortName, vendor) == 0) {
    vendor[kProbeTextCapacity - 1] = '\0';
    page.vendorShortName = vendor;
  }
  ShowFeatureTable(page, FeatureRegister::kStandardEdx);
  return page;
}

void ShowFeatureTable(FeaturePageData& page, FeatureRegister reg) {
  page.shown = reg;
  page.rows = RowsOf(page, reg);
}

PageView FeaturePageView(const FeaturePageData& page) {
  PageView v;
  v.name = "Feature";
  for (int i = 0; i < kFeatureRegisterCount; ++i) {
    const auto reg = static_cast<FeatureRegister>(i);
    PageTable table{FeatureTableCaption(reg), {"Name", "Description", "Supported"}, {}};
    for (const FeatureRow& row : RowsOf(page, reg)) {
      table.rows.push_back({row.name, row.description, row.answer});
    }
    v.tables.push_back(std::move(table));
  }
  return v;
}

}  // namespace velora
