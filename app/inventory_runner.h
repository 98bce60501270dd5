#pragma once
// Runs the inventory collector once on its own thread while the window is shown. The collector
// never touches a widget: the run buttons and title are switched through their thread-safe
// calls, and each snapshot of fields is queued to the GUI thread, where the pages store it.

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "info/inventory_collector.h"
#include "info/inventory_sources.h"

namespace velora {

class InventoryRunner : public QObject, private InventoryHost {
  Q_OBJECT

 public:
  struct Hooks {
    std::function<void(bool enable)> setRunControls;         // any thread
    std::function<void(const std::string&)> setTitleSuffix;  // any thread
    std::function<void()> requestPageRefresh;                // any thread
    std::function<void(const InventoryFields&)> store;       // GUI thread
    std::function<void(const std::string&)> log;             // any thread
  };

  explicit InventoryRunner(Hooks hooks, QObject* parent = nullptr);
  // Stops the collector after its current section and waits for it.
  ~InventoryRunner() override;

  void Start(std::unique_ptr<InventorySources> sources, InventoryRequest request);
  bool finished() const { return finished_.load(); }
  // Blocks until the thread has ended (tests; the window never waits).
  void Join();

 private:
  void BeginCollecting(const std::string& titleSuffix) override;
  void Publish(const InventoryFields& fields) override;
  void EndCollecting() override;

  Hooks hooks_;
  std::unique_ptr<InventorySources> sources_;
  InventoryRequest request_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> finished_{false};
  std::thread thread_;
};

}  // namespace velora
