#pragma once
// Texts the identification derives from the operating system and from the processor name.

#include <string>
#include <string_view>

#include "probe/cpu/cpu_fields.h"

namespace velora {

// The platform architecture text for the kernel's machine name: "x64", "x86", ...; empty for
// a machine the table does not know.
std::string ArchitectureText(std::string_view machine);

// Splits "Name (Code)" into name and code name and forms the vendor plus name text.
void SplitProcessorName(CpuFields& f);

}  // namespace velora
