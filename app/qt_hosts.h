#pragma once
// The program's side of the start-up sequence: the main window run modally.

#include <memory>

#include "core/startup_sequence.h"
#include "session/machine_access.h"

namespace velora {

class MainDialog;

class QtApplicationHost : public ApplicationHost {
 public:
  // The window shows the machine access reads, which outlives the host.
  QtApplicationHost(const MainWindowContext& context, MachineAccess& machine);
  ~QtApplicationHost() override;

  void RunMainWindow() override;
  void DestroyMainWindow() override;

 private:
  MainWindowContext context_;
  MachineAccess& machine_;
  std::unique_ptr<MainDialog> window_;
};

}  // namespace velora
