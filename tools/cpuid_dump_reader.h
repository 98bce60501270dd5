#pragma once
// Reads a CPUID dump for replay, refusing what is not one: a folder, a device or pipe, an empty
// or oversized file, a malformed line or an implausible processor count.

#include <string>

#include "platform/fake/fake_cpuid_source.h"

namespace velora {

// Dumps are a few KB; anything past this is not a dump.
inline constexpr long kLargestCpuidDump = 4L << 20;
inline constexpr long kMostLogicalProcessors = 4096;

// Fills cpuid from the dump at path. False with error set ("is a folder", "line 7: ...").
bool ReadCpuidDump(const std::string& path, FakeCpuidSource& cpuid, std::string& error);

// A probe text for printing: quotes and backslashes escaped, bytes outside printable ASCII as
// \xNN, so a forged brand string cannot drive the terminal.
std::string QuotedProbeText(const char* text);

}  // namespace velora
