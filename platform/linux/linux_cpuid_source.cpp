#include "platform/linux/linux_cpuid_source.h"

#include <cpuid.h>
#include <pthread.h>

namespace velora {

namespace {

// The mask in force before PinThread, per thread: two threads may identify at once.
thread_local cpu_set_t savedMask;
thread_local bool haveSavedMask = false;

}  // namespace

bool LinuxCpuidSource::Available() {
#if defined(__x86_64__)
  // The ID flag (bit 21) can be toggled exactly when CPUID exists.
  uint64_t before = 0, after = 0;
  __asm__ volatile(
      "pushfq\n\t"
      "popq %0\n\t"
      "movq %0, %1\n\t"
      "xorq $0x200000, %1\n\t"
      "pushq %1\n\t"
      "popfq\n\t"
      "pushfq\n\t"
      "popq %1\n\t"
      "pushq %0\n\t"
      "popfq\n\t"
      : "=&r"(before), "=&r"(after)
      :
      : "cc");
  return ((before ^ after) & 0x200000u) != 0;
#else
  return __get_cpuid_max(0, nullptr) != 0;
#endif
}

CpuidRegisters LinuxCpuidSource::Query(uint32_t leaf, uint32_t subLeaf) {
  CpuidRegisters r;
  __cpuid_count(leaf, subLeaf, r.eax, r.ebx, r.ecx, r.edx);
  return r;
}

bool LinuxCpuidSource::PinThread(uint32_t mask) {
  haveSavedMask = pthread_getaffinity_np(pthread_self(), sizeof savedMask, &savedMask) == 0;
  cpu_set_t wanted;
  CPU_ZERO(&wanted);
  for (int cpu = 0; cpu < 32; ++cpu) {
    if (mask & (1u << cpu)) CPU_SET(cpu, &wanted);
  }
  // A mask naming no online processor is refused by the kernel; the thread stays where it is.
  return pthread_setaffinity_np(pthread_self(), sizeof wanted, &wanted) == 0;
}

void LinuxCpuidSource::RestoreThread() {
  if (!haveSavedMask) return;
  pthread_setaffinity_np(pthread_self(), sizeof savedMask, &savedMask);
  haveSavedMask = false;
}

CpuidSource& ProcessCpuidSource() {
  static LinuxCpuidSource source;
  return source;
}

}  // namespace velora
