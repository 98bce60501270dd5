#pragma once
// The program's side of the start-up sequence: the main window run modally.

#include <memory>

#include "core/startup_sequence.h"

namespace velora {

class MainDialog;

class QtApplicationHost : public ApplicationHost {
 public:
  explicit QtApplicationHost(const MainWindowContext& context);
  ~QtApplicationHost() override;

  void RunMainWindow() override;
  void DestroyMainWindow() override;

 private:
  MainWindowContext context_;
  std::unique_ptr<MainDialog> window_;
};

}  // namespace velora
