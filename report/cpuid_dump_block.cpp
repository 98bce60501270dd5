#include "report/report_blocks.h"

namespace velora {

namespace {

// A processor (or hypervisor) answering nonsense for its highest leaf must not keep the report
// querying for minutes; no real processor has this many leaves in one range.
constexpr uint32_t kMostLeavesPerRange = 0x100;

void DumpRange(CpuidSource& cpuid, uint32_t first, uint32_t last, std::string& dump) {
  if (last - first >= kMostLeavesPerRange) last = first + kMostLeavesPerRange - 1;
  for (uint32_t leaf = first;; ++leaf) {
    const CpuidRegisters r = cpuid.Query(leaf, 0);
    dump += Printed("     0x%08X : EAX=0x%08X EBX=0x%08X ECX=0x%08X EDX=0x%08X\r\n", leaf, r.eax,
                    r.ebx, r.ecx, r.edx);
    if (leaf == last) break;
  }
}

}  // namespace

std::string CpuidDumpBlock(CpuidSource& cpuid, const std::string& vendorString) {
  std::string dump;
  if (!cpuid.Available()) return dump;
  DumpRange(cpuid, 0, cpuid.Query(0, 0).eax, dump);
  const uint32_t extended = cpuid.Query(0x80000000u, 0).eax;
  if (extended > 0x80000000u) DumpRange(cpuid, 0x80000000u, extended, dump);
  if (vendorString.find("TMx86") != std::string::npos) {
    const uint32_t transmeta = cpuid.Query(0x80860000u, 0).eax;
    DumpRange(cpuid, 0x80860000u, transmeta < 0x80860000u ? 0x80860000u : transmeta, dump);
  }
  TrimLineEnds(dump);
  return dump;
}

}  // namespace velora
