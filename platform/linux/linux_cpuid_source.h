#pragma once

#include <sched.h>

#include "platform/cpuid_source.h"

namespace velora {

// CPUID executed directly; pinning through sched_setaffinity of the calling thread.
class LinuxCpuidSource : public CpuidSource {
 public:
  bool Available() override;
  CpuidRegisters Query(uint32_t leaf, uint32_t subLeaf) override;
  bool PinThread(uint32_t mask) override;
  void RestoreThread() override;
};

CpuidSource& ProcessCpuidSource();

}  // namespace velora
