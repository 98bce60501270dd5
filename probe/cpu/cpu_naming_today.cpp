#include <cctype>

#include "probe/cpu/cpu_brand_clean.h"
#include "probe/cpu/cpu_era.h"
#include "probe/cpu/cpu_format.h"
#include "probe/cpu/cpu_naming.h"
#include "probe/cpu/cpu_today_lookup.h"

namespace velora {

namespace {

bool ContainsNoCase(std::string_view text, std::string_view word) {
  for (size_t i = 0; i + word.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < word.size() && std::tolower(static_cast<unsigned char>(text[i + k])) ==
                                  std::tolower(static_cast<unsigned char>(word[k]))) {
      ++k;
    }
    if (k == word.size()) return true;
  }
  return false;
}

// A model the table does not know still has the registers its family has always had.
int32_t MethodWithoutRow(int32_t vendorCode, int32_t family) {
  if ((vendorCode == kVendorAmd && family >= 0x10) || vendorCode == kVendorHygon) {
    return kAmdPState;
  }
  return kNoRatio;
}

}  // namespace

void NameProcessorOfToday(CpuFields& f) {
  int32_t family = DisplayFamily(f.leaf1Eax);
  int32_t model = DisplayModel(f.leaf1Eax);
  std::string name = CleanBrandString(f.brandString);
  // Without a brand string (or one of only generic words) the signature names the processor.
  if (name.empty()) {
    name = FormatText("Family %02Xh Model %02Xh", static_cast<unsigned>(family),
                      static_cast<unsigned>(model));
  }

  const TodayRow* row = FindTodayRow(TodayRowsFor(f.vendorCode), family, model, f.stepping, name);
  f.nameWithCodeName = name;
  f.platform.clear();
  f.process.clear();
  f.multiplierMethod = MethodWithoutRow(f.vendorCode, family);
  if (row != nullptr) {
    if (!row->codeName.empty()) f.nameWithCodeName += " (" + std::string(row->codeName) + ")";
    f.platform = std::string(row->platform);
    f.process = std::string(row->process);
    f.multiplierMethod = row->multiplierMethod;
  }

  // Centaur's vendor string is shared by VIA's and Zhaoxin's processors; the brand tells them
  // apart, as the classic table already says "VIA" from the C3 on.
  if (f.vendorCode == kVendorIdt) {
    f.vendorShortName = ContainsNoCase(f.brandString, "Zhaoxin") ? "Zhaoxin" : "VIA";
  }
}

}  // namespace velora
