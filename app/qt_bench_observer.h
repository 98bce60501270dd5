#pragma once
// Carries the runner's calls from the worker to the Mark page on the GUI thread. Every call is
// queued on this object, never run on the caller's thread, so they reach the page in the order
// they were made; deleting this object drops the calls still waiting.

#include <QObject>

#include "bench/bench_observer.h"

namespace velora {

class MarkPage;

class QtBenchObserver : public QObject, public BenchObserver {
  Q_OBJECT

 public:
  // Lives on the GUI thread; page must outlive it.
  explicit QtBenchObserver(MarkPage& page);

  void RunControlsEnabled(bool enable, bool includeStop) override;
  void OptionListsEnabled(bool scratchLists, bool maskList) override;
  void RunSettingsShown(const std::string& displayMode, const std::string& fontSmoothing) override;
  void BarColoursShown(BarColours colours) override;
  void BarValueShown(int test, int value) override;
  void SubTestListCleared() override;
  void ListTabSelected(int test) override;
  void SubTestStarted(int test, int subTest) override;
  void SubTestShown(int test, int subTest, int score, int value) override;
  void SubTestFailed(int test, int subTest, const std::string& text) override;
  void MessageShown(const std::string& text) override;
  void RunEnded() override;

 private:
  template <typename Call>
  void Post(Call call);

  MarkPage& page_;
};

}  // namespace velora
