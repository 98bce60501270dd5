#include "platform/linux/linux_processor_affinity.h"

#include <pthread.h>
#include <sched.h>

namespace velora {

std::vector<int> LinuxProcessorAffinity::AllowedProcessors() {
  std::vector<int> processors;
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof set, &set) != 0) return processors;
  for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
    if (CPU_ISSET(cpu, &set)) processors.push_back(cpu);
  return processors;
}

bool LinuxProcessorAffinity::RestrictCurrentThread(const std::vector<int>& processors) {
  cpu_set_t set;
  CPU_ZERO(&set);
  for (int cpu : processors) {
    if (cpu < 0 || cpu >= CPU_SETSIZE) return false;
    CPU_SET(cpu, &set);
  }
  if (CPU_COUNT(&set) == 0) return false;
  return pthread_setaffinity_np(pthread_self(), sizeof set, &set) == 0;
}

int LinuxProcessorAffinity::CurrentProcessor() { return sched_getcpu(); }

ProcessorAffinity& ProcessAffinity() {
  static LinuxProcessorAffinity affinity;
  return affinity;
}

}  // namespace velora
