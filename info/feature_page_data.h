#pragma once
// The Feature page as data: the flag registers read once when the page is made, and the 32 rows
// of the table chosen by its buttons.

#include <array>
#include <cstdint>
#include <string>

#include "info/feature_tables.h"
#include "info/page_view.h"
#include "probe/probe_object.h"

namespace velora {

struct FeatureRow {
  std::string name;
  std::string description;
  std::string answer;  // "YES" or "NO"
};

struct FeaturePageData {
  std::array<uint32_t, kFeatureRegisterCount> registers{};
  std::string vendorShortName;
  FeatureRegister shown = FeatureRegister::kStandardEdx;
  std::array<FeatureRow, 32> rows{};
};

FeaturePageData ReadFeaturePageData(ProbeObject& probe);
// Fills the rows for bit 0 to 31 of a register.
void ShowFeatureTable(FeaturePageData& page, FeatureRegister reg);

// One table per register, every row of each: what `velora info feature` prints.
PageView FeaturePageView(const FeaturePageData& page);

}  // namespace velora
