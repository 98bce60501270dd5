#pragma once
// The CPUID instruction as the identification sees it, and the pinning of the calling thread
// to the logical processors being identified. The Linux source executes the instruction;
// tests replay a recorded dump.

#include <cstdint>

namespace velora {

struct CpuidRegisters {
  uint32_t eax = 0;
  uint32_t ebx = 0;
  uint32_t ecx = 0;
  uint32_t edx = 0;
};

class CpuidSource {
 public:
  virtual ~CpuidSource() = default;

  // Whether the processor has the CPUID instruction at all.
  virtual bool Available() = 0;
  // Registers of one leaf and sub-leaf, executed on the calling thread.
  virtual CpuidRegisters Query(uint32_t leaf, uint32_t subLeaf) = 0;

  // Narrows the calling thread to the processors of mask until RestoreThread; false when the
  // mask cannot be applied (the thread then runs where it ran).
  virtual bool PinThread(uint32_t mask) = 0;
  virtual void RestoreThread() = 0;
};

}  // namespace velora
