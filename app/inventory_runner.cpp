#include "app/inventory_runner.h"

#include "app/queued_call.h"

namespace velora {

InventoryRunner::InventoryRunner(Hooks hooks, QObject* parent)
    : QObject(parent), hooks_(std::move(hooks)) {}

InventoryRunner::~InventoryRunner() {
  stop_.store(true);
  Join();
}

void InventoryRunner::Start(std::unique_ptr<InventorySources> sources, InventoryRequest request) {
  if (thread_.joinable()) return;
  sources_ = std::move(sources);
  request_ = std::move(request);
  request_.stop = &stop_;
  thread_ = std::thread([this] { CollectInventory(*sources_, request_, *this, hooks_.log); });
}

void InventoryRunner::Join() {
  if (thread_.joinable()) thread_.join();
}

void InventoryRunner::BeginCollecting(const std::string& titleSuffix) {
  hooks_.setRunControls(false);
  hooks_.setTitleSuffix(titleSuffix);
}

void InventoryRunner::Publish(const InventoryFields& fields) {
  QueueCall(this, [this, fields] { hooks_.store(fields); });
}

void InventoryRunner::EndCollecting() {
  hooks_.setRunControls(true);
  hooks_.setTitleSuffix("");
  // After the last snapshot, so the refresh finds every field stored.
  QueueCall(this, [this] {
    finished_.store(true);
    hooks_.requestPageRefresh();
  });
}

}  // namespace velora
