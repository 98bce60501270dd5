#pragma once
// A machine with the processors a test names. Binding is remembered per thread, so a test can
// ask each worker where it was put; a thread that was never bound reports -1.

#include <atomic>
#include <utility>
#include <vector>

#include "platform/processor_affinity.h"

namespace velora {

class FakeProcessorAffinity : public ProcessorAffinity {
 public:
  explicit FakeProcessorAffinity(std::vector<int> processors) : processors_(std::move(processors)) {}

  // Refuses every binding when set, like a processor taken offline under the caller.
  std::atomic<bool> refuseBinding{false};
  std::atomic<int> bindings{0};

  std::vector<int> AllowedProcessors() override { return processors_; }
  bool RestrictCurrentThread(const std::vector<int>& processors) override;
  int CurrentProcessor() override;

 private:
  const std::vector<int> processors_;
};

}  // namespace velora
