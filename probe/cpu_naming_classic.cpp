#include "probe/cpu_naming.h"

namespace velora {

// Filled by the classic naming tables.
void NameClassicProcessor(CpuFields&, SystemQueries&) {}

}  // namespace velora
