#include "platform/fake/fake_processor_affinity.h"

#include <algorithm>

namespace velora {

namespace {
thread_local int tBoundProcessor = -1;
}  // namespace

bool FakeProcessorAffinity::RestrictCurrentThread(const std::vector<int>& processors) {
  if (refuseBinding || processors.empty()) return false;
  for (int cpu : processors)
    if (std::find(processors_.begin(), processors_.end(), cpu) == processors_.end()) return false;
  ++bindings;
  tBoundProcessor = processors.size() == 1 ? processors.front() : -1;
  return true;
}

int FakeProcessorAffinity::CurrentProcessor() { return tBoundProcessor; }

}  // namespace velora
