#include "probe/cpu/cpu_naming.h"
#include "probe/cpu/cpu_naming_rows.h"

namespace velora {

void NameClassicProcessor(CpuFields& f, SystemQueries& system) {
  switch (f.vendorCode) {
    case kVendorIntel: NameIntelProcessor(f); break;
    case kVendorAmd: NameAmdProcessor(f); break;
    case kVendorTransmeta: NameTransmetaProcessor(f); break;
    case kVendorCyrix:
    case kVendorIdt: NameCyrixIdtProcessor(f); break;
    default: NameGenericProcessor(f, SystemProcessorFromMachine(system.MachineName())); break;
  }
}

}  // namespace velora
