#pragma once

#include "platform/processor_affinity.h"

namespace velora {

// sched_getaffinity / pthread_setaffinity_np on the calling thread, sched_getcpu.
class LinuxProcessorAffinity : public ProcessorAffinity {
 public:
  std::vector<int> AllowedProcessors() override;
  bool RestrictCurrentThread(const std::vector<int>& processors) override;
  int CurrentProcessor() override;
};

ProcessorAffinity& ProcessAffinity();

}  // namespace velora
