#pragma once
// The naming tables: name with code name, platform, process, and the facts the clock and power
// steps need (multiplier method, power-control type, cache defaults, flags).

#include "platform/system_queries.h"
#include "probe/cpu/cpu_fields.h"

namespace velora {

// The vendor tables for the processors up to about 2006 (IsProcessorOfToday false). The
// generic table asks the system for the architecture.
void NameClassicProcessor(CpuFields& f, SystemQueries& system);

// Our own tables for the processors after them (IsProcessorOfToday true).
void NameProcessorOfToday(CpuFields& f);

}  // namespace velora
