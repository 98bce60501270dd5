#pragma once
// Which processors the calling thread may run on, and binding a thread to one of them.

#include <vector>

namespace velora {

class ProcessorAffinity {
 public:
  virtual ~ProcessorAffinity() = default;

  // Processor numbers of the calling thread's affinity mask, ascending; empty when unknown.
  virtual std::vector<int> AllowedProcessors() = 0;
  // Binds the calling thread to the given processors alone; false when refused.
  virtual bool RestrictCurrentThread(const std::vector<int>& processors) = 0;
  // The processor the calling thread runs on now, or -1 when unknown.
  virtual int CurrentProcessor() = 0;
};

}  // namespace velora
