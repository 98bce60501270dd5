#include "info/cpu_extensions.h"

#include "probe/probe_id_table.h"

namespace velora {

namespace {

struct ExtensionBit {
  uint32_t CpuFlagRegisters::*reg;
  int bit;
  const char* name;
};

// AVX-512 stands for its foundation (leaf 7 EBX bit 16), which every AVX-512 processor has.
constexpr ExtensionBit kExtensions[] = {
    {&CpuFlagRegisters::leaf1Ecx, 9, "SSSE3"},       {&CpuFlagRegisters::leaf1Ecx, 19, "SSE4.1"},
    {&CpuFlagRegisters::leaf1Ecx, 20, "SSE4.2"},     {&CpuFlagRegisters::extLeaf1Ecx, 6, "SSE4A"},
    {&CpuFlagRegisters::leaf1Ecx, 25, "AES"},        {&CpuFlagRegisters::leaf1Ecx, 28, "AVX"},
    {&CpuFlagRegisters::leaf1Ecx, 12, "FMA3"},       {&CpuFlagRegisters::extLeaf1Ecx, 16, "FMA4"},
    {&CpuFlagRegisters::leaf7Ebx, 5, "AVX2"},        {&CpuFlagRegisters::leaf7Ebx, 16, "AVX-512"},
    {&CpuFlagRegisters::leaf7Ebx, 29, "SHA"},        {&CpuFlagRegisters::leaf7Sub1Eax, 4, "AVX-VNNI"},
};

uint32_t Register(ProbeObject& probe, uint32_t id) {
  int32_t value = 0;
  return probe.GetInt(id, &value) == 0 ? static_cast<uint32_t>(value) : 0;
}

}  // namespace

std::vector<std::string> InstructionExtensions(const CpuFlagRegisters& flags) {
  std::vector<std::string> names;
  for (const ExtensionBit& e : kExtensions) {
    if ((flags.*e.reg >> e.bit) & 1u) names.emplace_back(e.name);
  }
  return names;
}

CpuFlagRegisters ReadCpuFlagRegisters(ProbeObject& probe) {
  namespace ids = probe_id;
  CpuFlagRegisters f;
  f.leaf1Ecx = Register(probe, ids::kCpuLeaf1Ecx);
  f.extLeaf1Ecx = Register(probe, ids::kCpuExtLeaf1Ecx);
  f.leaf7Ebx = Register(probe, ids::kCpuLeaf7Ebx);
  f.leaf7Sub1Eax = Register(probe, ids::kCpuLeaf7Sub1Eax);
  return f;
}

}  // namespace velora
