#include "probe/cpu_naming.h"

namespace velora {

// Filled by the tables of today's processors.
void NameProcessorOfToday(CpuFields&) {}

}  // namespace velora
