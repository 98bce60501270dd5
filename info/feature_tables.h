#pragma once
// The Feature page's tables: for each CPUID flag register, the short name and description of
// bits 0 to 31, as the page lists them.

#include <array>
#include <cstdint>
#include <string>

namespace velora {

struct FeatureBit {
  const char* name;  // empty for a bit without a name
  const char* description;
};

using FeatureTable = std::array<FeatureBit, 32>;

enum class FeatureRegister {
  kStandardEdx,    // leaf 1 EDX
  kStandardEcx,    // leaf 1 ECX
  kExtendedEdx,    // leaf 0x80000001 EDX
  kExtendedEcx,    // leaf 0x80000001 ECX
  kVia,            // leaf 0xC0000001 EDX
  kTransmeta,      // leaf 0x80860001 EDX
  kStructuredEbx,  // leaf 7 EBX
  kStructuredEcx,  // leaf 7 ECX
  kStructuredEdx,  // leaf 7 EDX
  kStructured1Eax, // leaf 7 sub-leaf 1 EAX
  kXsaveEax,       // leaf 0xD sub-leaf 1 EAX
  kPowerEax,       // leaf 6 EAX
  kAdvancedPowerEdx,  // leaf 0x80000007 EDX
  kExtendedEbx8,   // leaf 0x80000008 EBX
};
constexpr int kFeatureRegisterCount = 14;

// The button caption of a table: "Standard (EDX)", ..., "Leaf 7 (EDX)", "Leaf 7.1 (EAX)", ...
const char* FeatureTableCaption(FeatureRegister reg);

// The table of a register as the processor's vendor defines it ("Intel", "AMD", ... as the probe
// names the vendor): where Intel and AMD give a bit different meanings, the vendor's holds.
FeatureTable FeatureTableFor(FeatureRegister reg, const std::string& vendorShortName);

}  // namespace velora
